// Backup of the open account set.
#include "maintenance/backup.h"

#include <QDir>
#include <QFileInfo>

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

namespace {

const QString kFolderText = u"路径不对,请检查备份路径是否正确!"_s;

// 信息表.备份路径, read at the operation boundary.
OpResult readBackupFolder(Session &session, Dialogs &dialogs, QString &folder)
{
    return guarded(dialogs, [&] {
        folder = session.RunSql(u"SELECT 备份路径 FROM 信息表 WHERE 代号 = 'TZ'"_s).value(0, 0).toString().trimmed();
        return OpResult::done();
    });
}

} // namespace

OpResult CheckBackupFolder(Session &session, Dialogs &dialogs)
{
    QString folder;
    if (const OpResult read = readBackupFolder(session, dialogs, folder); !read.isDone())
        return read;
    QFileInfo nearest(folder);
    while (!folder.isEmpty() && QDir::isAbsolutePath(folder) && !nearest.exists() && !nearest.isRoot())
        nearest = QFileInfo(nearest.absolutePath());
    // The folder itself, or the folder it would be made in, must take files.
    const bool usable = !folder.isEmpty() && QDir::isAbsolutePath(folder) && nearest.isDir() && nearest.isWritable();
    if (!usable)
        return refuse(dialogs, kFolderText, applicationTitle(), Icon::None);
    return OpResult::done();
}

OpResult MakeBackup(Session &session, Dialogs &dialogs, QString *written, const QDate &today,
                    const QString &beforeStep)
{
    QString folder;
    if (const OpResult read = readBackupFolder(session, dialogs, folder); !read.isDone())
        return read;
    if (folder.isEmpty() || !MakePath(folder))
        return refuse(dialogs, kFolderText, applicationTitle(), Icon::None);

    QString target = QDir(folder).filePath(backupFileName(session.setShortName(), today, session.fiscalYear()));
    QString problem;
    const OpResult copied = guarded(dialogs, [&] {
        ProgressSteps progress(dialogs, u"数据备份"_s);
        progress.step(u"正在备份帐套,请稍候…"_s);
        if (beforeStep.isEmpty()) {
            problem = writeVerifiedCopy(session, target, true);
        } else {
            const QString name = QFileInfo(target).fileName();
            const qsizetype dot = name.lastIndexOf(u".QSBF"_s);
            problem = writeKeptCopy(session, folder, name.left(dot) + beforeStep, name.mid(dot), &target);
        }
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
