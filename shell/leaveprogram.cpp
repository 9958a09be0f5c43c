// Leaving the program.
#include "shell/leaveprogram.h"

#include "store/dialogs.h"
#include "store/guard.h"
#include "store/session.h"
#include "store/transaction.h"

using namespace Qt::Literals::StringLiterals;

namespace tz {

OpResult LeaveProgram(Session &session, bool childWindowOpen, Dialogs &dialogs)
{
    const QString title = u"TZ305提示"_s;
    if (childWindowOpen) {
        const QString text = u"请先关闭子窗口"_s;
        dialogs.show(text, title, Icon::None);
        return OpResult::refused(text);
    }
    if (!dialogs.ask(u"是否退出系统?"_s, title))
        return OpResult::refused();
    return guarded(dialogs, [&] {
        Transaction transaction(session, Transaction::Mode::WorkTables);
        session.execSql(u"DELETE FROM 分录始表"_s);
        session.execSql(u"DELETE FROM 三总式"_s);
        session.execSql(u"DELETE FROM 三栏帐页"_s);
        session.execSql(u"DELETE FROM 多栏式1"_s);
        session.execSql(u"DELETE FROM 数量式"_s);
        transaction.commit();
        return OpResult::done();
    });
}

} // namespace tz
