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

} // namespace tz
