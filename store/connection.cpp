// The encrypted account-set connection.
#include "store/connection.h"

#include <cstdio>
#include <cstring>

#include <sys/stat.h>

#include <QDate>
#include <QDateTime>
#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>

#include <sqlite3.h>

#include "store/dberror.h"
#include "store/fileerror.h"
#include "store/money.h"
#include "store/setkeys.h"

using namespace Qt::Literals::StringLiterals;

namespace tz {

namespace {

constexpr int kStatementCacheLimit = 96;

// A file nobody may write: no write permission bit at all (so a set made
// read-only is left alone even by root), or one the process cannot write.
bool isWriteProtected(const QFileInfo &info)
{
    // WriteUser is what the effective user may do (always for root), so
    // only the file's own mode bits are looked at here.
    constexpr QFile::Permissions anyWrite = QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther;
    return !(info.permissions() & anyWrite) || !info.isWritable()
        || !QFileInfo(info.absolutePath()).isWritable();
}

QString dbMessage(sqlite3 *db)
{
    return QString::fromUtf8(sqlite3_errmsg(db));
}

// SQL function round_half_up(x, n): rounds half away from zero on the
// decimal digits of x (SQLite's round(2.675, 2) gives 2.67 because of the
// binary double; amounts typed as 2.675 must become 2.68).
void roundHalfUpFunction(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    const int decimals = argc > 1 ? sqlite3_value_int(argv[1]) : 0;
    sqlite3_result_double(ctx, roundHalfUp(sqlite3_value_double(argv[0]), decimals));
}

// Authorizer in force while a read-only query is prepared: only reading is
// allowed. SQLCipher runs its key pragmas (rekey, cipher_*) while preparing,
// so refusing them after sqlite3_prepare would be too late.
//
// The operators' passwords are no one's to read through a typed query: a
// read of 信息表.密码 is denied and noted, so the refusal can say why.
int readOnlyAuthorizer(void *secretTouched, int action, const char *table, const char *column, const char *,
                       const char *)
{
    switch (action) {
    case SQLITE_READ:
        if (table && column && std::strcmp(table, "信息表") == 0 && std::strcmp(column, "密码") == 0) {
            *static_cast<bool *>(secretTouched) = true;
            return SQLITE_DENY;
        }
        return SQLITE_OK;
    case SQLITE_SELECT:
    case SQLITE_FUNCTION:
    case SQLITE_RECURSIVE:
        return SQLITE_OK;
    default:
        return SQLITE_DENY;
    }
}

bool hasPlainSqliteHeader(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    return file.read(16) == QByteArray("SQLite format 3\0", 16);
}

} // namespace

QByteArray databasePassword()
{
    return QByteArrayLiteral("KD530927416");
}

Connection::~Connection()
{
    close();
}

void Connection::openHandle(const QString &path, int flags, const QByteArray &key)
{
    close();
    sqlite3 *db = nullptr;
    const int rc = sqlite3_open_v2(QFile::encodeName(path).constData(), &db, flags, nullptr);
    if (rc != SQLITE_OK) {
        const QString why = db ? dbMessage(db) : QString::fromUtf8(sqlite3_errstr(rc));
        sqlite3_close_v2(db);
        throw DbError(DbError::Kind::NotADatabase, u"无法打开帐套文件: %1 (%2)"_s.arg(path, why));
    }
    if (!key.isEmpty())
        sqlite3_key(db, key.constData(), int(key.size()));
    // SQLCipher would otherwise log every failed page decryption to stderr;
    // failures reach the user as DbError messages instead. Keying resets
    // the level, so this comes after the key.
    sqlite3_exec(db, "PRAGMA cipher_log_level = NONE", nullptr, nullptr, nullptr);
    // Every page read is decrypted and every page written encrypted, so the
    // page cache is what keeps pages read again cheap. The queries of a
    // window read kept balances and the rows on screen, not the year's
    // journal, so 64 MiB (the size is given in KiB when negative; the cache
    // grows only as pages are used) holds what any of them reads at the
    // voucher limit: the code index of the journal (18 MiB), the table
    // pages of the lines of one account and its companion (the fixed-asset
    // ledger's, some 32 MiB), most of the table pages a ledger printed for
    // the year reads. A larger cache kept the whole year's pages in memory
    // for reads that no window makes; a work table filled whole for
    // printing spills to the file before its commit. Sorts and temporary
    // b-trees stay in memory, so no unencrypted temporary file is written
    // beside the set.
    sqlite3_exec(db, "PRAGMA cache_size = -65536", nullptr, nullptr, nullptr);
    sqlite3_exec(db, "PRAGMA temp_store = MEMORY", nullptr, nullptr, nullptr);
    // A second program working on the same set (another window, the
    // command line) holds the write lock for the length of one operation;
    // wait for it rather than fail at once. Past the wait the operation is
    // refused with the Busy message and nothing is written.
    sqlite3_busy_timeout(db, m_busyTimeoutMs);
    m_db = db;
    m_path = path;
    registerFunctions();
}

namespace {

bool fileIdentity(const QByteArray &nativePath, quint64 &device, quint64 &inode)
{
    struct stat info {};
    if (::stat(nativePath.constData(), &info) != 0)
        return false;
    device = quint64(info.st_dev);
    inode = quint64(info.st_ino);
    return true;
}

} // namespace

QString quotedIdentifier(const QString &name)
{
    return u'"' + QString(name).replace(u'"', u"\"\""_s) + u'"';
}

void Connection::open(const QString &path, const QByteArray &key)
{
    // The file is named once before and once after opening; were it
    // replaced in between (compacting), the opened file could be either,
    // so it is opened again.
    const QByteArray nativePath = QFile::encodeName(path);
    // The shared key first, then every set passphrase given to the process.
    const QList<QByteArray> keys = key == databasePassword() ? setKeys() : QList<QByteArray>{key};
    for (int attempt = 0;; ++attempt) {
        quint64 device = 0, inode = 0, deviceAfter = 0, inodeAfter = 0;
        const bool named = fileIdentity(nativePath, device, inode);
        QByteArray opened;
        for (const QByteArray &candidate : keys) {
            try {
                openChecked(path, candidate);
                opened = candidate;
                break;
            } catch (const DbError &error) {
                if (error.kind() != DbError::Kind::WrongKey)
                    throw;
            }
        }
        if (opened.isNull())
            throw DbError(DbError::Kind::WrongKey, keys.size() > 1 || key == databasePassword()
                                                       ? lockedSetText(path)
                                                       : u"帐套文件的密码不符,无法打开: %1"_s.arg(path));
        if (named && fileIdentity(nativePath, deviceAfter, inodeAfter) && device == deviceAfter
            && inode == inodeAfter) {
            m_nativePath = nativePath;
            m_key = opened;
            m_device = device;
            m_inode = inode;
            return;
        }
        if (attempt == 3)
            throw DbError(DbError::Kind::Busy, busyText());
    }
}

bool Connection::fileReplaced() const
{
    quint64 device = 0, inode = 0;
    if (m_nativePath.isEmpty())
        return false;
    return !fileIdentity(m_nativePath, device, inode) || device != m_device || inode != m_inode;
}

void Connection::reopenIfReplaced()
{
    if (m_depth == 0 && m_db && fileReplaced()) {
        // The new file may carry another key (a passphrase set or removed):
        // then every key the process knows is tried.
        const QString path = m_path;
        const QByteArray key = m_key;
        try {
            open(path, key);
        } catch (const DbError &error) {
            if (error.kind() != DbError::Kind::WrongKey)
                throw;
            open(path);
        }
    }
}

void Connection::openChecked(const QString &path, const QByteArray &key)
{
    const QFileInfo info(path);
    if (!info.exists())
        throw DbError(DbError::Kind::FileMissing, u"帐套文件不存在: %1"_s.arg(path));
    if (!info.isFile() || info.size() == 0)
        throw DbError(DbError::Kind::NotADatabase, u"此文件不是帐套数据库: %1"_s.arg(path));
    {
        QFile probe(path);
        if (!probe.open(QIODevice::ReadOnly))
            throw DbError(DbError::Kind::NotADatabase, u"无法读取帐套文件: %1"_s.arg(path));
    }

    // READWRITE without CREATE: sqlite would otherwise make an empty file.
    // A write-protected set is opened for reading only, so whatever only
    // reads still works and every write is told why it cannot be done.
    const bool writeProtected = isWriteProtected(info);
    openHandle(path, (writeProtected ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE) | SQLITE_OPEN_NOMUTEX, key);
    m_readOnly = writeProtected;

    // A wrong key shows only at the first statement that reads a page.
    char *err = nullptr;
    const int rc = sqlite3_exec(m_db, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, &err);
    sqlite3_free(err);
    if (rc != SQLITE_OK) {
        close();
        // Another program holding the set locked (an exclusive transaction,
        // a commit under way) past the wait: the set is in use, not foreign.
        if ((rc & 0xff) == SQLITE_BUSY || (rc & 0xff) == SQLITE_LOCKED)
            throw DbError(DbError::Kind::Busy, busyText());
        if (rc == SQLITE_NOTADB && !hasPlainSqliteHeader(path) && info.size() >= 1024
            && info.size() % 512 == 0) {
            throw DbError(DbError::Kind::WrongKey,
                          u"帐套文件的密码不符,无法打开: %1"_s.arg(path));
        }
        throw DbError(DbError::Kind::NotADatabase, u"此文件不是帐套数据库: %1"_s.arg(path));
    }
    const ResultSet tables = query(u"SELECT name FROM sqlite_master WHERE type='table' AND name=?"_s,
                                   {u"信息表"_s});
    if (tables.recordCount() == 0) {
        close();
        throw DbError(DbError::Kind::NotAnAccountSet, u"此数据库不是帐套文件(缺少信息表): %1"_s.arg(path));
    }
}

void Connection::create(const QString &path, const QByteArray &key)
{
    if (QFileInfo::exists(path))
        throw DbError(DbError::Kind::Statement, u"文件已存在: %1"_s.arg(path));
    openHandle(path, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX, key);
    executeScript(u"SELECT count(*) FROM sqlite_master"_s);
}

void Connection::close()
{
    if (!m_db)
        return;
    if (m_depth > 0)
        sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
    m_depth = 0;
    m_doomed = false;
    m_readOnly = false;
    m_temporaryWrites = false;
    m_integrity = Integrity::Unknown;
    clearStatementCache();
    sqlite3_close_v2(m_db);
    m_db = nullptr;
    m_path.clear();
    m_nativePath.clear();
}

void Connection::clearStatementCache()
{
    for (sqlite3_stmt *stmt : std::as_const(m_statements))
        sqlite3_finalize(stmt);
    m_statements.clear();
}

namespace {

// TZ305_PROFILE_SQL=1 prints every finished statement with its time to
// standard error: the tool for finding where a slow operation spends it.
int profileStatement(unsigned, void *, void *stmt, void *nanoseconds)
{
    char *sql = sqlite3_expanded_sql(static_cast<sqlite3_stmt *>(stmt));
    std::fprintf(stderr, "%9.2f ms  %.300s\n", double(*static_cast<sqlite3_int64 *>(nanoseconds)) / 1e6,
                 sql ? sql : "");
    sqlite3_free(sql);
    return 0;
}

} // namespace

void Connection::registerFunctions()
{
    static const bool profile = qEnvironmentVariableIntValue("TZ305_PROFILE_SQL") == 1;
    if (profile)
        sqlite3_trace_v2(m_db, SQLITE_TRACE_PROFILE, profileStatement, nullptr);
    const int flags = SQLITE_UTF8 | SQLITE_DETERMINISTIC;
    sqlite3_create_function_v2(m_db, "round_half_up", 2, flags, nullptr, roundHalfUpFunction,
                               nullptr, nullptr, nullptr);
    sqlite3_create_function_v2(m_db, "round_half_up", 1, flags, nullptr, roundHalfUpFunction,
                               nullptr, nullptr, nullptr);
}

void Connection::throwStatementError(const QString &sql, int code)
{
    Q_UNUSED(sql);
    const int primary = (m_db ? sqlite3_extended_errcode(m_db) : code) & 0xff;
    switch (primary) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        throw DbError(DbError::Kind::Busy, busyText());
    case SQLITE_READONLY:
        throw DbError(DbError::Kind::ReadOnly, readOnlyText(m_path));
    case SQLITE_CANTOPEN:
        throw DbError(DbError::Kind::Statement, u"无法打开或建立文件(请检查文件夹是否存在、能否写入): %1"_s.arg(m_path));
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
        m_integrity = Integrity::Damaged;
        throw DbError(DbError::Kind::Damaged, damagedText(m_path));
    case SQLITE_FULL:
    case SQLITE_IOERR:
        // The statement and its transaction are rolled back (at the latest
        // from the journal when the file is next opened).
        throw DbError(DbError::Kind::Statement,
                      sqliteFileErrorText(m_path, m_db ? sqlite3_extended_errcode(m_db) : code,
                                          m_db ? sqlite3_system_errno(m_db) : 0)
                          + u"(此次操作没有写入任何数据)"_s);
    case SQLITE_INTERRUPT:
        throw DbError(DbError::Kind::TooLong, u"查询已被停止"_s);
    default:
        break;
    }
    const QString why = m_db ? dbMessage(m_db) : QString::fromUtf8(sqlite3_errstr(code));
    throw DbError(DbError::Kind::Statement, u"数据库操作失败: %1"_s.arg(why));
}

QString Connection::busyText()
{
    return u"帐套正被另一个程序使用,请稍后再试(此次操作没有写入任何数据)"_s;
}

QString Connection::readOnlyText(const QString &path)
{
    return u"帐套文件是只读的,只能查询,不能修改: %1"_s.arg(path);
}

QString Connection::damagedText(const QString &path)
{
    return u"帐套文件已损坏,不能再写入数据。请先在[系统设置]中点[压缩修复数据库]修复帐套: %1"_s.arg(path);
}

void Connection::setBusyTimeout(int ms)
{
    m_busyTimeoutMs = ms;
    if (m_db)
        sqlite3_busy_timeout(m_db, ms);
}

void Connection::ensureWritable()
{
    if (!m_db)
        throw DbError(DbError::Kind::Statement, u"帐套文件没有打开"_s);
    if (m_readOnly || sqlite3_db_readonly(m_db, "main") == 1)
        throw DbError(DbError::Kind::ReadOnly, readOnlyText(m_path));
    if (m_integrity == Integrity::Unknown) {
        // Once per connection, before its first write: a set with a damaged
        // page must not take postings that a repair would then lose or that
        // land beside unreadable books. quick_check reads every page once.
        QString verdict;
        char *err = nullptr;
        const int rc = sqlite3_exec(
            m_db, "PRAGMA quick_check(1)",
            [](void *out, int, char **values, char **) {
                *static_cast<QString *>(out) = QString::fromUtf8(values[0] ? values[0] : "");
                return 0;
            },
            &verdict, &err);
        sqlite3_free(err);
        const int primary = rc & 0xff;
        if (primary == SQLITE_BUSY || primary == SQLITE_LOCKED)
            throw DbError(DbError::Kind::Busy, busyText());
        m_integrity = rc == SQLITE_OK && verdict == u"ok"_s ? Integrity::Sound : Integrity::Damaged;
    }
    if (m_integrity == Integrity::Damaged)
        throw DbError(DbError::Kind::Damaged, damagedText(m_path));
}

sqlite3_stmt *Connection::prepare(const QString &sql, bool *cached)
{
    if (!m_db)
        throw DbError(DbError::Kind::Statement, u"帐套文件没有打开"_s);
    if (sqlite3_stmt *stmt = m_statements.value(sql)) {
        *cached = true;
        return stmt;
    }
    const QByteArray text = sql.toUtf8();
    sqlite3_stmt *stmt = nullptr;
    const char *tail = nullptr;
    const int rc = sqlite3_prepare_v3(m_db, text.constData(), int(text.size()), SQLITE_PREPARE_PERSISTENT,
                                      &stmt, &tail);
    if (rc != SQLITE_OK)
        throwStatementError(sql, rc);
    if (!stmt)
        throw DbError(DbError::Kind::Statement, u"空语句"_s);
    const QByteArray rest = QByteArray(tail).trimmed();
    if (!rest.isEmpty() && rest != ";") {
        sqlite3_finalize(stmt);
        throw DbError(DbError::Kind::Statement, u"一次只能执行一条语句"_s);
    }
    if (m_statements.size() >= kStatementCacheLimit)
        clearStatementCache();
    m_statements.insert(sql, stmt);
    *cached = false;
    return stmt;
}

void Connection::bind(sqlite3_stmt *stmt, const QVariantList &params)
{
    const int expected = sqlite3_bind_parameter_count(stmt);
    if (expected != params.size()) {
        throw DbError(DbError::Kind::Statement,
                      u"语句需要 %1 个参数,给出了 %2 个"_s.arg(expected).arg(params.size()));
    }
    for (int i = 0; i < params.size(); ++i) {
        const QVariant &v = params.at(i);
        const int index = i + 1;
        int rc = SQLITE_OK;
        if (v.isNull()) {
            rc = sqlite3_bind_null(stmt, index);
        } else {
            switch (v.typeId()) {
            case QMetaType::Bool:
            case QMetaType::Int:
            case QMetaType::UInt:
            case QMetaType::Long:
            case QMetaType::LongLong:
            case QMetaType::Short:
            case QMetaType::UShort:
                rc = sqlite3_bind_int64(stmt, index, v.toLongLong());
                break;
            case QMetaType::ULongLong:
            case QMetaType::ULong:
                rc = sqlite3_bind_int64(stmt, index, qint64(v.toULongLong()));
                break;
            case QMetaType::Double:
            case QMetaType::Float:
                rc = sqlite3_bind_double(stmt, index, v.toDouble());
                break;
            case QMetaType::QByteArray: {
                const QByteArray blob = v.toByteArray();
                rc = sqlite3_bind_blob64(stmt, index, blob.constData(), sqlite3_uint64(blob.size()),
                                         SQLITE_TRANSIENT);
                break;
            }
            case QMetaType::QDate: {
                const QByteArray text = v.toDate().toString(u"yyyy-MM-dd"_s).toUtf8();
                rc = sqlite3_bind_text64(stmt, index, text.constData(), sqlite3_uint64(text.size()),
                                         SQLITE_TRANSIENT, SQLITE_UTF8);
                break;
            }
            case QMetaType::QDateTime: {
                const QByteArray text = v.toDateTime().toString(u"yyyy-MM-dd HH:mm:ss"_s).toUtf8();
                rc = sqlite3_bind_text64(stmt, index, text.constData(), sqlite3_uint64(text.size()),
                                         SQLITE_TRANSIENT, SQLITE_UTF8);
                break;
            }
            default: {
                const QByteArray text = v.toString().toUtf8();
                rc = sqlite3_bind_text64(stmt, index, text.constData(), sqlite3_uint64(text.size()),
                                         SQLITE_TRANSIENT, SQLITE_UTF8);
                break;
            }
            }
        }
        if (rc != SQLITE_OK)
            throwStatementError(QString(), rc);
    }
}

ResultSet Connection::step(sqlite3_stmt *stmt, const QString &sql, qint64 rowLimit)
{
    // The columns are read after the first step: a cached statement whose
    // table was dropped and made anew (多栏式) is prepared again inside
    // sqlite3_step, and only then names the table's present columns.
    int columns = 0;
    QStringList names;
    QList<ResultSet::Row> rows;
    for (bool first = true;; first = false) {
        const int rc = sqlite3_step(stmt);
        if (first) {
            columns = sqlite3_column_count(stmt);
            names.reserve(columns);
            for (int c = 0; c < columns; ++c)
                names.append(QString::fromUtf8(sqlite3_column_name(stmt, c)));
        }
        if (rc == SQLITE_DONE)
            break;
        if (rc != SQLITE_ROW) {
            sqlite3_reset(stmt);
            throwStatementError(sql, rc);
        }
        ResultSet::Row row;
        row.reserve(columns);
        for (int c = 0; c < columns; ++c) {
            switch (sqlite3_column_type(stmt, c)) {
            case SQLITE_INTEGER:
                row.append(QVariant(qlonglong(sqlite3_column_int64(stmt, c))));
                break;
            case SQLITE_FLOAT:
                row.append(QVariant(sqlite3_column_double(stmt, c)));
                break;
            case SQLITE_TEXT:
                row.append(QVariant(QString::fromUtf8(
                    reinterpret_cast<const char *>(sqlite3_column_text(stmt, c)), sqlite3_column_bytes(stmt, c))));
                break;
            case SQLITE_BLOB:
                row.append(QVariant(QByteArray(static_cast<const char *>(sqlite3_column_blob(stmt, c)),
                                               sqlite3_column_bytes(stmt, c))));
                break;
            default:
                row.append(QVariant());
                break;
            }
        }
        rows.append(std::move(row));
        if (rowLimit >= 0 && rows.size() > rowLimit) {
            sqlite3_reset(stmt);
            throw DbError(DbError::Kind::TooLong, u"查询结果超过%1行,已停止。请缩小查询范围"_s.arg(rowLimit));
        }
    }
    sqlite3_reset(stmt);
    return ResultSet(std::move(names), std::move(rows));
}

ResultSet Connection::query(const QString &sql, const QVariantList &params)
{
    if (m_depth == 0 && m_db) {
        reopenIfReplaced();
        bool cached = false;
        if (!sqlite3_stmt_readonly(prepare(sql, &cached))) {
            begin(true);
            try {
                ResultSet result = run(sql, params);
                commit();
                return result;
            } catch (...) {
                rollback();
                throw;
            }
        }
    }
    return run(sql, params);
}

ResultSet Connection::run(const QString &sql, const QVariantList &params)
{
    bool cached = false;
    sqlite3_stmt *stmt = prepare(sql, &cached);
    if (!sqlite3_stmt_readonly(stmt) && !(m_depth > 0 && m_temporaryWrites))
        ensureWritable();
    sqlite3_reset(stmt);
    sqlite3_clear_bindings(stmt);
    bind(stmt, params);
    return step(stmt, sql);
}

QList<qint64> Connection::queryIntegers(const QString &sql, const QVariantList &params)
{
    if (m_depth == 0 && m_db)
        reopenIfReplaced();
    bool cached = false;
    sqlite3_stmt *stmt = prepare(sql, &cached);
    sqlite3_reset(stmt);
    sqlite3_clear_bindings(stmt);
    bind(stmt, params);
    QList<qint64> values;
    for (;;) {
        const int rc = sqlite3_step(stmt);
        if (rc == SQLITE_DONE)
            break;
        if (rc != SQLITE_ROW) {
            sqlite3_reset(stmt);
            throwStatementError(sql, rc);
        }
        values.append(sqlite3_column_int64(stmt, 0));
    }
    sqlite3_reset(stmt);
    return values;
}

qint64 Connection::execute(const QString &sql, const QVariantList &params)
{
    query(sql, params);
    return sqlite3_changes64(m_db);
}

ResultSet Connection::queryReadOnly(const QString &sql, int timeLimitMs, qint64 rowLimit)
{
    if (!m_db)
        throw DbError(DbError::Kind::Statement, u"帐套文件没有打开"_s);
    const QByteArray text = sql.trimmed().toUtf8();
    sqlite3_stmt *stmt = nullptr;
    const char *tail = nullptr;
    bool secretTouched = false;
    sqlite3_set_authorizer(m_db, readOnlyAuthorizer, &secretTouched);
    const int rc = sqlite3_prepare_v2(m_db, text.constData(), int(text.size()), &stmt, &tail);
    sqlite3_set_authorizer(m_db, nullptr, nullptr);
    if (rc == SQLITE_AUTH && secretTouched)
        throw DbError(DbError::Kind::ReadOnlyQuery, u"不能查询操作员的密码(信息表.密码)"_s);
    if (rc == SQLITE_AUTH)
        throw DbError(DbError::Kind::ReadOnlyQuery, u"只能执行一条只读的 SELECT 查询"_s);
    if (rc != SQLITE_OK)
        throwStatementError(sql, rc);
    const QByteArray rest = QByteArray(tail).trimmed();
    const bool single = stmt && (rest.isEmpty() || rest == ";");
    // Only a statement that reads: sqlite knows, whatever the text looks like.
    if (!single || !sqlite3_stmt_readonly(stmt) || sqlite3_column_count(stmt) == 0) {
        sqlite3_finalize(stmt);
        throw DbError(DbError::Kind::ReadOnlyQuery, u"只能执行一条只读的 SELECT 查询"_s);
    }
    // A typed query may never end (a recursive one without a bound) or
    // return more rows than memory holds: past the time limit the progress
    // handler interrupts it, past the row limit the rows stop.
    QDeadlineTimer deadline(timeLimitMs);
    sqlite3_progress_handler(
        m_db, 10000, [](void *timer) { return static_cast<QDeadlineTimer *>(timer)->hasExpired() ? 1 : 0; },
        &deadline);
    try {
        ResultSet result = step(stmt, sql, rowLimit);
        sqlite3_progress_handler(m_db, 0, nullptr, nullptr);
        sqlite3_finalize(stmt);
        return result;
    } catch (const DbError &error) {
        sqlite3_progress_handler(m_db, 0, nullptr, nullptr);
        sqlite3_finalize(stmt);
        if (error.kind() == DbError::Kind::TooLong && deadline.hasExpired())
            throw DbError(DbError::Kind::TooLong,
                          u"查询超过%1秒,已停止。请缩小查询范围"_s.arg(double(timeLimitMs) / 1000.0));
        throw;
    }
}

void Connection::executeScript(const QString &sql)
{
    if (!m_db)
        throw DbError(DbError::Kind::Statement, u"帐套文件没有打开"_s);
    char *err = nullptr;
    const int rc = sqlite3_exec(m_db, sql.toUtf8().constData(), nullptr, nullptr, &err);
    if (rc != SQLITE_OK) {
        const QString why = err ? QString::fromUtf8(err) : QString::fromUtf8(sqlite3_errstr(rc));
        sqlite3_free(err);
        const int primary = rc & 0xff;
        if (primary == SQLITE_BUSY || primary == SQLITE_LOCKED || primary == SQLITE_READONLY
            || primary == SQLITE_CANTOPEN || primary == SQLITE_CORRUPT || primary == SQLITE_NOTADB
            || primary == SQLITE_FULL || primary == SQLITE_IOERR)
            throwStatementError(sql, rc);
        throw DbError(DbError::Kind::Statement, u"数据库操作失败: %1"_s.arg(why));
    }
}

void Connection::setTriggersEnabled(bool enabled)
{
    if (!m_db)
        throw DbError(DbError::Kind::Statement, u"帐套文件没有打开"_s);
    int now = -1;
    if (sqlite3_db_config(m_db, SQLITE_DBCONFIG_ENABLE_TRIGGER, enabled ? 1 : 0, &now) != SQLITE_OK
        || now != (enabled ? 1 : 0))
        throw DbError(DbError::Kind::Statement, u"数据库操作失败: 无法切换触发器"_s);
}

bool Connection::triggersEnabled() const
{
    int now = 1;
    if (m_db)
        sqlite3_db_config(m_db, SQLITE_DBCONFIG_ENABLE_TRIGGER, -1, &now);
    return now != 0;
}

qint64 Connection::lastInsertRowId() const
{
    return m_db ? sqlite3_last_insert_rowid(m_db) : 0;
}

void Connection::begin(bool write, bool workTables)
{
    if (m_depth == 0) {
        // IMMEDIATE takes the write lock now, so every read that decides a
        // write inside the transaction sees what no other program can change
        // before the commit.
        reopenIfReplaced();
        m_temporaryWrites = write && workTables && m_readOnly;
        if (m_temporaryWrites)
            write = false;
        if (write)
            ensureWritable();
        executeScript(write ? u"BEGIN IMMEDIATE"_s : u"BEGIN"_s);
        // The lock is on the file this connection opened: if that file has
        // lost the set's name meanwhile, the new file takes the write.
        for (int attempt = 0; write && fileReplaced(); ++attempt) {
            sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
            if (attempt == 3)
                throw DbError(DbError::Kind::Busy, busyText());
            reopenIfReplaced();
            ensureWritable();
            executeScript(u"BEGIN IMMEDIATE"_s);
        }
        m_doomed = false;
    }
    ++m_depth;
}

void Connection::commit()
{
    if (m_depth <= 0)
        throw DbError(DbError::Kind::Statement, u"没有进行中的事务"_s);
    if (m_depth > 1) {
        --m_depth;
        return;
    }
    m_depth = 0;
    if (m_doomed) {
        m_doomed = false;
        sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
        throw DbError(DbError::Kind::Statement, u"操作未完成,所有修改已撤消"_s);
    }
    try {
        executeScript(u"COMMIT"_s);
    } catch (...) {
        sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
        throw;
    }
}

void Connection::rollback()
{
    if (m_depth <= 0)
        return;
    if (--m_depth > 0) {
        m_doomed = true;
        return;
    }
    m_doomed = false;
    sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
}

} // namespace tz
