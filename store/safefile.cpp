// Write-verify-rename of whole files.
#include "store/safefile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <sqlite3.h>

#include "store/connection.h"
#include "store/dberror.h"
#include "store/guard.h"

using namespace Qt::Literals::StringLiterals;

namespace tz {

namespace {

QString systemError()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

} // namespace

QString scratchPathFor(const QString &target)
{
    const QFileInfo info(target);
    return info.absolutePath() + u"/.tz305-"_s + info.fileName() + u'-' + QString::number(::getpid()) + u'-'
           + QString::number(QRandomGenerator::global()->generate64(), 36) + u".tmp"_s;
}

int removeStaleScratch(const QString &target)
{
    const QFileInfo info(target);
    const QString prefix = u".tz305-"_s + info.fileName() + u'-';
    int removed = 0;
    const QDir folder(info.absolutePath());
    // The scratch file and the rollback journal SQLite kept beside it.
    const QStringList names = folder.entryList({prefix + u"*.tmp"_s, prefix + u"*.tmp-journal"_s},
                                               QDir::Files | QDir::Hidden | QDir::System);
    for (const QString &name : names) {
        // The writer's process number follows the prefix; a scratch file
        // whose writer still runs is in use (or waits for its rename).
        bool ok = false;
        const qint64 pid = name.mid(prefix.size()).section(u'-', 0, 0).toLongLong(&ok);
        if (ok && pid > 0 && (::kill(pid_t(pid), 0) == 0 || errno == EPERM))
            continue;
        if (QFile::remove(folder.filePath(name)))
            ++removed;
    }
    return removed;
}

QString copyToScratch(const QString &source, const QString &scratch)
{
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        return u"无法读取文件 %1: %2"_s.arg(source, in.errorString());
    QFile out(scratch);
    if (!out.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        return u"无法写入文件 %1: %2"_s.arg(scratch, out.errorString());
    QByteArray chunk;
    qint64 copied = 0;
    while (!(chunk = in.read(1 << 20)).isEmpty()) {
        if (out.write(chunk) != chunk.size()) {
            const QString why = out.errorString();
            out.close();
            QFile::remove(scratch);
            return u"写入文件失败 %1: %2"_s.arg(scratch, why);
        }
        copied += chunk.size();
    }
    const bool complete = copied == in.size() && in.error() == QFile::NoError && out.flush()
                          && ::fsync(out.handle()) == 0;
    out.close();
    if (!complete) {
        QFile::remove(scratch);
        return u"复制文件不完整: %1"_s.arg(source);
    }
    return {};
}

QString verifyAccountSet(const QString &path)
{
    try {
        Connection check;
        check.open(path);
        useSmallCache(check); // the check reads every page once
        const ResultSet result = check.query(u"PRAGMA quick_check"_s);
        if (result.recordCount() != 1 || result.value(0, 0).toString() != u"ok"_s)
            return u"帐套文件已损坏: %1"_s.arg(path);
    } catch (const DbError &error) {
        return error.message();
    }
    return {};
}

void useSmallCache(Connection &connection)
{
    sqlite3_exec(connection.handle(), "PRAGMA cache_size = -8192", nullptr, nullptr, nullptr);
}

bool isKeyedFile(const QString &path)
{
    const QFileInfo info(path);
    if (!info.isFile() || info.size() == 0)
        return false;
    sqlite3 *db = nullptr;
    const QByteArray name = QFile::encodeName(info.absoluteFilePath());
    bool keyed = false;
    if (sqlite3_open_v2(name.constData(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
        const QByteArray key = databasePassword();
        sqlite3_key(db, key.constData(), int(key.size()));
        sqlite3_exec(db, "PRAGMA cipher_log_level = NONE", nullptr, nullptr, nullptr);
        keyed = sqlite3_exec(db, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr) == SQLITE_OK;
    }
    sqlite3_close_v2(db);
    return keyed;
}

QString installUserFile(const QString &scratch, const QString &target, bool replace)
{
    if (isKeyedFile(target)) {
        QFile::remove(scratch);
        return u"不能覆盖帐套文件: "_s + target;
    }
    return installScratch(scratch, target, replace);
}

OpResult confirmTarget(const QString &path, Dialogs &dialogs, bool &replace)
{
    replace = false;
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return OpResult::done();
    if (info.isDir())
        return refuse(dialogs, u"这是一个文件夹,不能写入: "_s + path, u"TZ305提示"_s, Icon::Critical);
    if (isKeyedFile(path))
        return refuse(dialogs, u"不能覆盖帐套文件: "_s + path, u"TZ305提示"_s, Icon::Critical);
    if (!dialogs.ask(u"文件已存在,是否覆盖?\n"_s + path, u"TZ305提示"_s))
        return OpResult::refused();
    replace = true;
    return OpResult::done();
}

QString installScratch(const QString &scratch, const QString &target, bool replace)
{
    const QByteArray from = QFile::encodeName(scratch);
    const QByteArray to = QFile::encodeName(target);
    if (replace) {
        if (::rename(from.constData(), to.constData()) != 0) {
            const QString why = systemError();
            QFile::remove(scratch);
            return u"无法替换文件 %1: %2"_s.arg(target, why);
        }
        return {};
    }
    // link() refuses an existing target, so nothing made meanwhile is overwritten.
    if (::link(from.constData(), to.constData()) != 0) {
        const QString why = systemError();
        QFile::remove(scratch);
        return u"无法建立文件 %1: %2"_s.arg(target, why);
    }
    QFile::remove(scratch);
    return {};
}

OpResult writeUserFile(const QString &path, Dialogs &dialogs,
                       const std::function<FileWrite(const QString &scratch)> &write)
{
    if (path.trimmed().isEmpty())
        return refuse(dialogs, u"请输入文件名"_s, u"TZ305提示"_s, Icon::Critical);
    bool replace = false;
    if (const OpResult target = confirmTarget(path, dialogs, replace); !target.isDone())
        return target;
    const QString scratch = scratchPathFor(path);
    const FileWrite written = write(scratch);
    if (written != FileWrite::Written || QFileInfo(scratch).size() == 0) {
        QFile::remove(scratch);
        if (written == FileWrite::Cancelled)
            return OpResult::refused();
        return fail(dialogs, u"无法写入文件: "_s + path);
    }
    const QString installed = installUserFile(scratch, path, replace);
    if (!installed.isEmpty()) {
        QFile::remove(scratch);
        return fail(dialogs, installed);
    }
    return OpResult::done();
}

} // namespace tz
