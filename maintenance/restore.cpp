// Restoring a backup as a new account set.
#include "maintenance/restore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include "store/accountset.h"
#include "store/dialogs.h"
#include "store/guard.h"
#include "store/safefile.h"
#include "store/setkeys.h"

using namespace Qt::Literals::StringLiterals;

namespace tz {

namespace {

const QString kTitle = u"TZ305提示"_s;

bool endsInTwoDigits(const QString &name)
{
    const auto digit = [](QChar c) { return c >= u'0' && c <= u'9'; };
    return name.size() >= 2 && digit(name.at(name.size() - 1)) && digit(name.at(name.size() - 2));
}

// A short name becomes a file name in the folder and is shown in messages:
// it holds the characters a new set's short name may hold.
bool usableShortName(const QString &name)
{
    return !name.trimmed().isEmpty() && isShortNameText(name);
}

// The folders of `folder` that do not exist yet, the deepest first.
QStringList missingFolders(const QString &folder)
{
    QStringList missing;
    for (QString f = QDir::cleanPath(folder); !QFileInfo::exists(f) && !QFileInfo(f).isSymLink();
         f = QFileInfo(f).path())
        missing.append(f);
    return missing;
}

// Removes the folders a failed restore made, deepest first, as long as
// each is empty, so the failure leaves the disk as it found it.
void removeMadeFolders(const QStringList &made)
{
    for (const QString &f : made) {
        if (!QDir().rmdir(f))
            return;
    }
}

} // namespace

QString restoredSetName(const QString &backupFileName)
{
    // The backup's name is short name + yyyy-MM-dd (+ a note) + ".QSBF" + YY.
    // A short name may hold "-" and digits itself, so it ends where the last
    // yyyy-MM-dd starts; a name without one ends four characters before its
    // first "-".
    static const QRegularExpression date(u"[0-9]{4}-[0-9]{2}-[0-9]{2}"_s);
    qsizetype end = -1;
    for (QRegularExpressionMatchIterator it = date.globalMatch(backupFileName); it.hasNext();)
        end = it.next().capturedStart();
    if (end < 0)
        end = backupFileName.indexOf(u'-') - 4;
    const QString shortName = end > 0 ? backupFileName.left(end) : QString();
    if (!usableShortName(shortName) || !endsInTwoDigits(backupFileName))
        return {};
    return shortName + u".Y"_s + backupFileName.right(2);
}

OpResult RestoreBackup(Dialogs &dialogs, const std::function<QString()> &chooseBackup, const QString &folder,
                       const QString &shortName, QString *restored)
{
    // A typed name that can never be a short name is refused before anything is asked.
    if (!shortName.isEmpty() && !usableShortName(shortName.trimmed()))
        return refuse(dialogs, u"帐套名错误!"_s, kTitle, Icon::Exclamation);
    if (!dialogs.ask(u"帐套恢复是指帐套损坏或已丢失，你可以从备份中恢复过来。\n\n你是否要进行帐套数据的恢复?"_s,
                     u"提示信息"_s)
        || !dialogs.ask(u"最后一次提示:你是否要进行帐套数据的恢复?"_s, u"最后一次提示"_s))
        return OpResult::refused();
    const QString backup = chooseBackup();
    if (backup.isEmpty())
        return OpResult::refused();

    const QString title = QFileInfo(backup).fileName();
    QString name = restoredSetName(title);
    if (!shortName.isEmpty()) {
        const QString typed = shortName.trimmed();
        name = usableShortName(typed) && endsInTwoDigits(title) ? typed + u".Y"_s + title.right(2) : QString();
    }
    if (name.isEmpty())
        return refuse(dialogs, u"帐套名错误!"_s, kTitle, Icon::Exclamation);
    if (!QFileInfo(backup).isFile())
        return refuse(dialogs, u"备份文件不存在: "_s + backup, kTitle, Icon::Exclamation);
    const QString target = QDir(folder).filePath(name);
    const auto sameName = [&] {
        return refuse(dialogs, u"帐套名相同,不能恢复,请拷走帐套直接使用.\n帐套路径: "_s + target, kTitle, Icon::Exclamation);
    };
    if (QFileInfo::exists(target) || QFileInfo(target).isSymLink())
        return sameName();
    const QStringList made = missingFolders(folder);
    if (!QDir().mkpath(folder)) {
        removeMadeFolders(made);
        return fail(dialogs, u"恢复没有完成: 无法建立文件夹 "_s + folder);
    }

    // The backup is checked as the copy that will become the set, so a
    // damaged or foreign file never takes a set's name.
    removeStaleScratch(target);
    const QString scratch = scratchPathFor(target);
    QString problem;
    bool locked = false;
    {
        ProgressSteps progress(dialogs, u"帐套恢复"_s);
        progress.step(u"正在检查备份文件…"_s);
        problem = verifyAccountSet(backup);
        // A backup under a passphrase not given is refused as the set
        // itself would be at login: the user has the passphrase to give.
        locked = !problem.isEmpty() && needsSetPassphrase(backup);
        if (problem.isEmpty()) {
            progress.step(u"正在复制备份文件…"_s);
            problem = copyToScratch(backup, scratch);
        }
        if (problem.isEmpty() && !verifyAccountSet(scratch).isEmpty()) {
            QFile::remove(scratch);
            problem = u"复制的文件没有通过检查: "_s + target;
        }
        if (problem.isEmpty()) {
            problem = installScratch(scratch, target, false);
            if (!problem.isEmpty() && QFileInfo::exists(target))
                return sameName();
        }
    }
    if (!problem.isEmpty()) {
        removeMadeFolders(made);
        if (locked)
            return refuse(dialogs, u"恢复没有完成: "_s + problem, u"TZ305提示"_s, Icon::Critical);
        return fail(dialogs, u"恢复没有完成: "_s + problem);
    }
    if (restored)
        *restored = target;
    dialogs.show(u"1.恢复成功,帐套路径:"_s + target + u"\n\n2.请记住路径,请带走帐套,自动退出系统,请重新进入"_s, kTitle,
                 Icon::Exclamation);
    return OpResult::done();
}

} // namespace tz
