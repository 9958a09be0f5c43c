// Write-verify-rename of whole files.
#include "store/safefile.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>

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
#include "store/fileerror.h"
#include "store/guard.h"
#include "store/scratchfile.h"
#include "store/setkeys.h"

using namespace Qt::Literals::StringLiterals;

namespace tz {

QString scratchPathFor(const QString &target)
{
    const QFileInfo info(target);
    return info.absolutePath() + u"/.tz305-"_s + info.fileName() + u'-' + QString::number(::getpid()) + u'-'
           + QString::number(QRandomGenerator::global()->generate64(), 36) + u".tmp"_s;
}

int removeStaleScratch(const QString &target)
{
    const QDir folder(QFileInfo(target).absolutePath());
    int removed = 0;
    // Every writer's scratch file in the folder, and the rollback journal
    // SQLite kept beside a scratch set: ".tz305-" name "-" pid "-" tag ".tmp".
    const QStringList names = folder.entryList({u".tz305-*.tmp"_s, u".tz305-*.tmp-journal"_s},
                                               QDir::Files | QDir::Hidden | QDir::System);
    for (const QString &name : names) {
        // The writer's process number is the last but one part of the name
        // (the file name before it may hold dashes of its own); a scratch
        // file whose writer still runs is in use (or waits for its rename).
        const QString stem = name.left(name.lastIndexOf(u".tmp"_s));
        bool ok = false;
        const qint64 pid = stem.section(u'-', -2, -2).toLongLong(&ok);
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
    const QString folder = QFileInfo(scratch).absolutePath();
    ScratchFile out(scratch);
    if (!out.create())
        return writeFailureText(folder, out.systemError());
    QByteArray chunk;
    qint64 copied = 0;
    while (!(chunk = in.read(1 << 20)).isEmpty() && out.write(chunk) == chunk.size())
        copied += chunk.size();
    const bool written = out.finish();
    if (!written || copied != in.size() || in.error() != QFile::NoError) {
        QFile::remove(scratch);
        return written ? u"无法完整读取文件: "_s + source : writeFailureText(folder, out.systemError());
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

void releaseCachedPages(Connection &connection)
{
    if (connection.isOpen())
        sqlite3_db_release_memory(connection.handle());
}

namespace {

// True for a whole PDF or workbook (zip) as this program writes them: the
// format's opening bytes and, at the end, its trailer or end record. An
// account set's file begins with 16 random bytes of salt, so a set reading
// as both ends of such a file is beyond chance; the test spares the key
// derivation that trying the key costs (a rerun replaces many such files).
bool isWholeDocument(QFile &file)
{
    const qint64 size = file.size();
    if (size < 64)
        return false;
    const QByteArray head = file.read(5);
    if (!file.seek(std::max<qint64>(0, size - 1024)))
        return false;
    const QByteArray tail = file.readAll();
    if (head == "%PDF-")
        return tail.trimmed().endsWith("%%EOF");
    // A zip archive without comment ends with its 22-byte end record.
    return head.startsWith("PK\x03\x04") && tail.size() >= 22 && tail.mid(tail.size() - 22, 4) == "PK\x05\x06";
}

} // namespace

namespace {

// Whole 4 KiB pages (SQLCipher's), at least two, and no plain database
// header: what an account set under a key we do not know looks like.
bool looksLikeLockedSet(const QString &path)
{
    QFile file(path);
    const qint64 size = file.size();
    if (size < 8192 || size % 4096 != 0 || !file.open(QIODevice::ReadOnly))
        return false;
    return file.read(16) != QByteArray("SQLite format 3\0", 16);
}

} // namespace

bool isKeyedFile(const QString &path)
{
    const QFileInfo info(path);
    if (!info.isFile())
        return false;
    // A rollback journal or write-ahead log beside the file belongs to a
    // database whose writer is at work or was killed mid-transaction; the
    // journal may be all that can bring its books back.
    const QString absolute = info.absoluteFilePath();
    if (QFileInfo::exists(absolute + u"-journal"_s) || QFileInfo::exists(absolute + u"-wal"_s))
        return true;
    if (info.size() == 0)
        return false;
    if (QFile file(absolute); file.open(QIODevice::ReadOnly) && isWholeDocument(file))
        return false;
    const QByteArray name = QFile::encodeName(absolute);
    int rc = SQLITE_NOTADB;
    qint64 tables = -1;
    // The shared key, then every set passphrase the process was given.
    for (const QByteArray &key : setKeys()) {
        sqlite3 *db = nullptr;
        rc = sqlite3_open_v2(name.constData(), &db, SQLITE_OPEN_READONLY, nullptr);
        if (rc == SQLITE_OK) {
            sqlite3_key(db, key.constData(), int(key.size()));
            sqlite3_exec(db, "PRAGMA cipher_log_level = NONE", nullptr, nullptr, nullptr);
            sqlite3_stmt *count = nullptr;
            rc = sqlite3_prepare_v2(db, "SELECT count(*) FROM sqlite_master", -1, &count, nullptr);
            if (rc == SQLITE_OK && (rc = sqlite3_step(count)) == SQLITE_ROW) {
                tables = sqlite3_column_int64(count, 0);
                rc = SQLITE_OK;
            }
            sqlite3_finalize(count);
        }
        sqlite3_close_v2(db);
        if ((rc & 0xff) != SQLITE_NOTADB)
            break;
    }
    // Only a clear answer lets the file go: not a database (or not one our
    // keys open), or one without a single table (a file too short to be a
    // database reads as an empty one). A busy or locked set, an I/O error or
    // a file that cannot be read may hold books, and so may a file of whole
    // encrypted pages none of our keys opens: a set under a passphrase
    // this process was not given.
    if (rc == SQLITE_OK)
        return tables != 0;
    return (rc & 0xff) != SQLITE_NOTADB || looksLikeLockedSet(absolute);
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
            const int error = errno;
            QFile::remove(scratch);
            return writeFailureText(target, error);
        }
        return {};
    }
    // link() refuses an existing target, so nothing made meanwhile is overwritten.
    if (::link(from.constData(), to.constData()) != 0) {
        const int error = errno;
        QFile::remove(scratch);
        return writeFailureText(target, error);
    }
    QFile::remove(scratch);
    return {};
}

OpResult writeUserFile(const QString &path, Dialogs &dialogs, const std::function<FileWrite(ScratchFile &scratch)> &write,
                       const std::function<bool(const QString &file)> &isWhole)
{
    if (path.trimmed().isEmpty())
        return refuse(dialogs, u"请输入文件名"_s, u"TZ305提示"_s, Icon::Critical);
    removeStaleScratch(path);
    bool replace = false;
    if (const OpResult target = confirmTarget(path, dialogs, replace); !target.isDone())
        return target;
    ScratchFile scratch(scratchPathFor(path));
    if (!scratch.create())
        return fail(dialogs, writeFailureText(path, scratch.systemError()));
    const FileWrite written = write(scratch);
    // The file is installed only when every write, the flush to disk and the
    // writer's own check of what the file must hold all passed.
    const bool whole = written == FileWrite::Written && scratch.finish() && QFileInfo(scratch.path()).size() > 0
                       && isWhole(scratch.path());
    if (!whole) {
        int error = scratch.systemError();
        if (error == 0 && written != FileWrite::Cancelled)
            error = likelyWriteError(scratch.path());
        scratch.close();
        QFile::remove(scratch.path());
        if (written == FileWrite::Cancelled)
            return OpResult::refused();
        return fail(dialogs, writeFailureText(path, error));
    }
    const QString installed = installUserFile(scratch.path(), path, replace);
    if (!installed.isEmpty()) {
        QFile::remove(scratch.path());
        return fail(dialogs, installed);
    }
    return OpResult::done();
}

} // namespace tz
