// Backup of the open account set.
#include "maintenance/backup.h"

#include <QDir>
#include <QFile>

#include "maintenance/setexport.h"
#include "store/connection.h"
#include "store/dberror.h"
#include "store/dialogs.h"
#include "store/guard.h"
#include "store/makepath.h"
#include "store/safefile.h"
#include "store/session.h"

using namespace Qt::Literals::StringLiterals;

namespace tz {

namespace {

const QString kLinesSql = u"SELECT count(*) FROM 分录表"_s;

} // namespace

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
    const QString scratch = scratchPathFor(target);
    QString problem;
    const OpResult copied = guarded(dialogs, [&] {
        const qint64 lines = exportOpenSet(session, scratch);
        problem = verifyAccountSet(scratch);
        if (problem.isEmpty()) {
            Connection check;
            check.open(scratch);
            if (check.query(kLinesSql).value(0, 0).toLongLong() != lines)
                problem = u"备份文件的分录数与帐套不符"_s;
        }
        return OpResult::done();
    });
    if (!copied.isDone() || !problem.isEmpty()) {
        QFile::remove(scratch);
        return problem.isEmpty() ? copied : fail(dialogs, u"备份没有完成: "_s + problem);
    }
    if (const QString installed = installScratch(scratch, target, true); !installed.isEmpty())
        return fail(dialogs, u"备份没有完成: "_s + installed);
    if (written)
        *written = target;
    dialogs.show(u"数据成功备份到: "_s + folder + u"  文件夹中"_s, applicationTitle(), Icon::None);
    return OpResult::done();
}

} // namespace tz
