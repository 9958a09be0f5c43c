// Backup of the open account set.
#include "maintenance/backup.h"

#include <QDir>

#include "store/setexport.h"
#include "store/dialogs.h"
#include "store/guard.h"
#include "store/makepath.h"
#include "store/session.h"

using namespace Qt::Literals::StringLiterals;

namespace tz {

QString backupFileName(const QString &shortName, const QDate &day, int fiscalYear)
{
    return shortName + day.toString(u"yyyy-MM-dd"_s) + u".QSBF"_s + QString::number(fiscalYear % 100).rightJustified(2, u'0');
}

OpResult BackupAccountSet(Session &session, Dialogs &dialogs, QString *written, const QDate &today)
{
    if (!dialogs.ask(u"是否备份 %1 年度的数据?"_s.arg(session.fiscalYear()), applicationTitle()))
        return OpResult::refused();
    return MakeBackup(session, dialogs, written, today);
}

OpResult MakeBackup(Session &session, Dialogs &dialogs, QString *written, const QDate &today)
{
    QString folder;
    const OpResult read = guarded(dialogs, [&] {
        folder = session.RunSql(u"SELECT 备份路径 FROM 信息表 WHERE 代号 = 'TZ'"_s).value(0, 0).toString().trimmed();
        return OpResult::done();
    });
    if (!read.isDone())
        return read;
    if (folder.isEmpty() || !MakePath(folder))
        return refuse(dialogs, u"路径不对,请检查备份路径是否正确!"_s, applicationTitle(), Icon::None);

    const QString target = QDir(folder).filePath(backupFileName(session.setShortName(), today, session.fiscalYear()));
    QString problem;
    const OpResult copied = guarded(dialogs, [&] {
        ProgressSteps progress(dialogs, u"数据备份"_s);
        progress.step(u"正在备份帐套,请稍候…"_s);
        problem = writeVerifiedCopy(session, target, true);
        return OpResult::done();
    });
    if (!copied.isDone())
        return copied;
    if (!problem.isEmpty())
        return fail(dialogs, u"备份没有完成: "_s + problem);
    if (written)
        *written = target;
    dialogs.show(u"数据成功备份到: "_s + folder + u"  文件夹中"_s, applicationTitle(), Icon::None);
    return OpResult::done();
}

} // namespace tz
