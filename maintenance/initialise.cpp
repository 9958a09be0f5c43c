// System initialisation.
#include "maintenance/initialise.h"

#include "maintenance/backup.h"
#include "store/connection.h"
#include "store/changelog.h"
#include "store/dberror.h"
#include "store/dialogs.h"
#include "store/guard.h"
#include "store/keptbalances.h"
#include "store/session.h"
#include "store/transaction.h"

using namespace Qt::Literals::StringLiterals;

namespace tz {

OpResult InitialiseYear(Session &session, Dialogs &dialogs, QString *backup, const QDate &today)
{
    // A write-protected set is refused, as any write to it is, before
    // anything is asked or backed up.
    const OpResult writable = guarded(dialogs, [&] {
        session.OpenMainConnection();
        if (session.mainConnection().isReadOnly())
            throw DbError(DbError::Kind::ReadOnly, Connection::readOnlyText(session.dbPath()));
        return OpResult::done();
    });
    if (!writable.isDone())
        return writable;
    // No question is asked when the year could not be kept first.
    if (const OpResult folder = CheckBackupFolder(session, dialogs); !folder.isDone())
        return folder;
    const QString year = QString::number(session.fiscalYear());
    const QString title = u"TZ305提示（共三次提示）"_s;
    for (const QString &question : {u"是否清空 "_s + year + u" 年的所有数据?"_s,
                                    u"第二次提示,是否要清空 "_s + year + u" 年的所有数据?"_s,
                                    u"第三次提示，也是最后一次提示，是否要清空 "_s + year + u" 年的所有数据?"_s}) {
        if (!dialogs.ask(question, title))
            return OpResult::refused();
    }
    // The year's books are kept in a backup of their own before they go.
    if (const OpResult saved = MakeBackup(session, dialogs, backup, today, u"初始化前"_s); !saved.isDone())
        return saved;
    const OpResult wiped = guarded(dialogs, [&] {
        Transaction transaction(session);
        emptyJournal(session);
        session.execSql(u"UPDATE 科目表 SET 数量 = NULL, 借方金额 = NULL, 贷方金额 = NULL WHERE length(科目代码) > 0"_s);
        logAllVouchers(session, u"初始化"_s);
        transaction.commit();
        return OpResult::done();
    });
    if (!wiped.isDone())
        return wiped;
    dialogs.show(u"初始化完成"_s, u"TZ305提示"_s, Icon::Exclamation);
    return OpResult::done();
}

} // namespace tz
