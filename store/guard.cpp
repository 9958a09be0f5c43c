// Operation boundary.
#include "store/guard.h"

#include <exception>

#include "store/dberror.h"

using namespace Qt::Literals::StringLiterals;

namespace tz {

OpResult guarded(Dialogs &dialogs, const std::function<OpResult()> &body)
{
    QString message;
    try {
        return body();
    } catch (const DbError &error) {
        message = error.message();
    } catch (const std::exception &error) {
        message = QString::fromUtf8(error.what());
    }
    dialogs.show(message, u"TZ305提示"_s, Icon::Critical);
    return OpResult::failed(message);
}

OpResult refuse(Dialogs &dialogs, const QString &text, const QString &title, Icon icon)
{
    dialogs.show(text, title, icon);
    return OpResult::refused(text);
}

OpResult refuse(Dialogs &dialogs, const PendingRefusal &refusal)
{
    return refuse(dialogs, refusal.text, refusal.title, refusal.icon);
}

OpResult fail(Dialogs &dialogs, const QString &text)
{
    dialogs.show(text, u"TZ305提示"_s, Icon::Critical);
    return OpResult::failed(text);
}

} // namespace tz
