// Copying the open set.
#include "store/setexport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sqlite3.h>

#include "store/connection.h"
#include "store/dberror.h"
#include "store/fileerror.h"
#include "store/safefile.h"
#include "store/session.h"
#include "store/transaction.h"

using namespace Qt::Literals::StringLiterals;

namespace tz {

namespace {

// Why a copy could not be written, in the words of the folder it goes to
// rather than of the set it comes from. sqlcipher_export reports a full
// disk as a plain error with no system error number, so the file it left
// and its disk are looked at too.
QString copyFailureText(const QString &path, int code, int systemError)
{
    int error = systemError != 0 ? systemError : systemErrorOfSqlite(code, 0);
    if (error == 0)
        error = likelyWriteError(path);
    const QString folder = QFileInfo(path).absolutePath();
    if (error != 0)
        return writeFailureText(folder, error);
    return u"无法写入 %1: %2"_s.arg(folder, QString::fromUtf8(sqlite3_errstr(code)));
}

// True when the pages of the set attached as `schema` all read: a copy
// that failed for no reason of its own failed on a damaged set.
bool readsWhole(Connection &db, const QString &schema)
{
    try {
        const ResultSet result = db.query(u"PRAGMA %1.quick_check(1)"_s.arg(schema));
        return result.recordCount() == 1 && result.value(0, 0).toString() == u"ok"_s;
    } catch (const DbError &) {
        return false;
    }
}

// A write-protected set's connection is read-only, and so would be a copy
// attached to it: the copy's own connection attaches the set instead and
// only reads it. Nobody writes a write-protected set, so the read
// transaction there is the whole consistency needed.
qint64 exportReadOnlySet(const QString &setPath, const QByteArray &setKey, Connection &copy, const QString &path)
{
    copy.query(u"ATTACH DATABASE ? AS src KEY ?"_s, {setPath, QString::fromUtf8(setKey)});
    qint64 lines = 0;
    try {
        copy.executeScript(u"BEGIN"_s);
        lines = copy.query(u"SELECT count(*) FROM src.分录表"_s).value(0, 0).toLongLong();
        const int version = copy.query(u"PRAGMA src.user_version"_s).value(0, 0).toInt();
        copy.query(u"SELECT sqlcipher_export('main', 'src')"_s);
        copy.executeScript(u"PRAGMA main.user_version = %1; COMMIT"_s.arg(version));
    } catch (const DbError &error) {
        const int code = sqlite3_extended_errcode(copy.handle());
        const int systemError = sqlite3_system_errno(copy.handle());
        sqlite3_exec(copy.handle(), "ROLLBACK", nullptr, nullptr, nullptr);
        // sqlcipher_export tells a page of the set that does not read as a
        // plain error: not the folder's fault.
        const bool damaged = error.kind() == DbError::Kind::Damaged
                             || (error.kind() != DbError::Kind::Busy && systemErrorOfSqlite(code, systemError) == 0
                                 && systemError == 0 && likelyWriteError(path) == 0 && !readsWhole(copy, u"src"_s));
        copy.query(u"DETACH DATABASE src"_s);
        if (damaged)
            throw DbError(DbError::Kind::Damaged, Connection::damagedText(setPath));
        if (error.kind() == DbError::Kind::Busy)
            throw;
        throw DbError(DbError::Kind::Statement, copyFailureText(path, code, systemError));
    }
    copy.query(u"DETACH DATABASE src"_s);
    return lines;
}

} // namespace

qint64 exportOpenSet(Session &session, const QString &path)
{
    session.OpenMainConnection();
    return exportOpenSet(session, path, session.mainConnection().key());
}

qint64 exportOpenSet(Session &session, const QString &path, const QByteArray &key)
{
    // The set's connection never creates files, so the empty keyed copy is
    // made first and then attached.
    session.OpenMainConnection();
    Connection &db = session.mainConnection();
    {
        Connection created;
        try {
            created.create(path, key);
        } catch (const DbError &) {
            throw DbError(DbError::Kind::Statement, copyFailureText(path, SQLITE_CANTOPEN, 0));
        }
        if (db.isReadOnly())
            return exportReadOnlySet(session.dbPath(), db.key(), created, path);
    }
    db.query(u"ATTACH DATABASE ? AS copy KEY ?"_s, {path, QString::fromUtf8(key)});
    qint64 lines = 0;
    // The failure of the copy itself: sqlcipher_export reports it as a
    // plain error, so the system's error number says what happened.
    int code = SQLITE_OK;
    int systemError = 0;
    try {
        Transaction snapshot(session, Transaction::Mode::Read);
        lines = session.RunSql(u"SELECT count(*) FROM 分录表"_s).value(0, 0).toLongLong();
        const int version = session.RunSql(u"PRAGMA main.user_version"_s).value(0, 0).toInt();
        try {
            db.query(u"SELECT sqlcipher_export('copy')"_s);
            db.executeScript(u"PRAGMA copy.user_version = %1"_s.arg(version));
            snapshot.commit();
        } catch (const DbError &) {
            code = sqlite3_extended_errcode(db.handle());
            systemError = sqlite3_system_errno(db.handle());
            throw;
        }
    } catch (const DbError &error) {
        db.query(u"DETACH DATABASE copy"_s);
        // A busy or damaged set is the set's own problem; anything else
        // failed writing the copy (a full disk, a file size limit).
        if (error.kind() == DbError::Kind::Busy || error.kind() == DbError::Kind::Damaged || code == SQLITE_OK)
            throw;
        // sqlcipher_export tells a page of the set that does not read as a
        // plain error too: not the folder's fault.
        if (systemErrorOfSqlite(code, systemError) == 0 && systemError == 0 && likelyWriteError(path) == 0
            && !readsWhole(db, u"main"_s))
            throw DbError(DbError::Kind::Damaged, Connection::damagedText(session.dbPath()));
        throw DbError(DbError::Kind::Statement, copyFailureText(path, code, systemError));
    } catch (...) {
        db.query(u"DETACH DATABASE copy"_s);
        throw;
    }
    db.query(u"DETACH DATABASE copy"_s);
    return lines;
}

QString verifyCopy(const QString &path, qint64 journalLines)
{
    if (QString problem = verifyAccountSet(path); !problem.isEmpty())
        return problem;
    try {
        Connection check;
        check.open(path);
        useSmallCache(check);
        if (check.query(u"SELECT count(*) FROM 分录表"_s).value(0, 0).toLongLong() != journalLines)
            return u"复制的分录数与帐套不符: "_s + path;
    } catch (const DbError &error) {
        return error.message();
    }
    return {};
}

QString writeVerifiedCopy(Session &session, const QString &target, bool replace)
{
    removeStaleScratch(target);
    const QString scratch = scratchPathFor(target);
    QString problem;
    try {
        problem = verifyCopy(scratch, exportOpenSet(session, scratch));
    } catch (const DbError &error) {
        QFile::remove(scratch);
        // A copy that could not be written is this operation's failure; a
        // busy or damaged set is the set's, told as such by the caller.
        if (error.kind() != DbError::Kind::Statement)
            throw;
        return error.message();
    } catch (...) {
        QFile::remove(scratch);
        throw;
    }
    if (!problem.isEmpty()) {
        QFile::remove(scratch);
        return problem;
    }
    return installScratch(scratch, target, replace);
}

QString writeKeptCopy(Session &session, const QString &folder, const QString &stem, const QString &suffix,
                      QString *written)
{
    const QDir dir(folder);
    QString problem;
    for (int n = 1; n < 10000; ++n) {
        const QString target = dir.filePath(stem + (n == 1 ? QString() : QString::number(n)) + suffix);
        const QFileInfo info(target);
        if (info.exists() || info.isSymLink())
            continue;
        problem = writeVerifiedCopy(session, target, false);
        // A file that took the name meanwhile is kept too: the next name.
        if (!problem.isEmpty() && (QFileInfo::exists(target) || QFileInfo(target).isSymLink()))
            continue;
        if (problem.isEmpty() && written)
            *written = target;
        return problem;
    }
    return problem.isEmpty() ? u"无法为备份取得新的文件名: "_s + dir.filePath(stem + suffix) : problem;
}

} // namespace tz
