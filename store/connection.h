// The connection to one encrypted account-set file (SQLCipher 4). Opening
// never creates a file; a missing file, a file that is no account-set
// database and a wrong key are told apart. Every value reaches SQL as a bound
// parameter; prepared statements are cached by their text.
#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QVariant>

#include "store/resultset.h"

struct sqlite3;
struct sqlite3_stmt;

namespace tz {

// The password every account-set file, the template and the compacting
// scratch file are keyed with.
QByteArray databasePassword();

// `name` as an SQL identifier in double quotes (inner quotes doubled), for
// table and column names that come from the schema or the data.
QString quotedIdentifier(const QString &name);

class Connection
{
public:
    Connection() = default;
    ~Connection();
    Connection(const Connection &) = delete;
    Connection &operator=(const Connection &) = delete;

    // Opens an existing account-set file read-write with the key and checks
    // that the key opens it. With the shared key (the default) the set
    // passphrases this process was given (setkeys.h) are tried after it.
    // Throws DbError (FileMissing, NotADatabase, WrongKey, NotAnAccountSet,
    // Busy when another program holds the set locked past the busy wait);
    // on failure the connection stays closed.
    void open(const QString &path, const QByteArray &key = databasePassword());

    // Creates a new, empty encrypted database file; refuses an existing path.
    // Used by the tool that builds the template.
    void create(const QString &path, const QByteArray &key = databasePassword());

    void close();
    bool isOpen() const { return m_db != nullptr; }
    const QString &path() const { return m_path; }
    // The key that opened the file (copies of the set are made with it).
    const QByteArray &key() const { return m_key; }

    // Runs one statement with bound parameters and returns its rows (none for
    // an action statement). A second statement in the text is refused.
    ResultSet query(const QString &sql, const QVariantList &params = {});

    // Runs one read-only query of a single integer column (rowids) and
    // returns its values, eight bytes a row instead of a row of variants.
    QList<qint64> queryIntegers(const QString &sql, const QVariantList &params = {});

    // Runs one action statement and returns the number of rows it changed.
    qint64 execute(const QString &sql, const QVariantList &params = {});

    // Runs one typed statement that must be a single read-only query and
    // must not read the operators' passwords. Stopped (TooLong) after
    // timeLimitMs or when it returns more than rowLimit rows.
    static constexpr int kTypedQueryTimeLimitMs = 10000;
    static constexpr qint64 kTypedQueryRowLimit = 1'000'000;
    ResultSet queryReadOnly(const QString &sql, int timeLimitMs = kTypedQueryTimeLimitMs,
                            qint64 rowLimit = kTypedQueryRowLimit);

    // Runs a script of several statements without parameters (schema, data).
    void executeScript(const QString &sql);

    qint64 lastInsertRowId() const;

    // Switches the triggers of this connection off or on (they are on after
    // opening). Statements prepared before are prepared again at their next
    // run. Only for a statement that does the triggers' work itself; see
    // TriggersOff.
    void setTriggersEnabled(bool enabled);
    bool triggersEnabled() const;

    // Transactions nest: only the outermost begin/commit reach the database;
    // an inner rollback dooms the whole transaction.
    // `write` takes the write lock at once (BEGIN IMMEDIATE) after
    // ensureWritable(); a read transaction (BEGIN) only reads. Nested
    // guards join the outermost whatever they ask for. A connection whose
    // file was replaced under its name (compacting, by this or another
    // program) opens the new file first; a write makes that test again
    // once it holds the lock, so no write lands in a file that has lost
    // its name. An action statement outside a transaction runs in one.
    // `workTables` marks a write transaction that writes only work tables:
    // on a read-only set (whose work tables live in the temporary schema,
    // see shadowWorkTables) it begins as a read transaction whose writes
    // reach SQLite, which refuses any write to the set itself; on any
    // other set it is a write transaction like the others.
    void begin(bool write = true, bool workTables = false);
    void commit();
    void rollback();
    int transactionDepth() const { return m_depth; }

    sqlite3 *handle() const { return m_db; }

    // How long opening and each statement wait for another program's lock
    // (30 s unless set); set before opening, it holds for the opening too.
    void setBusyTimeout(int ms);

    // True when the set was opened for reading only (a write-protected file).
    bool isReadOnly() const { return m_readOnly; }

    // Refuses a write: ReadOnly for a write-protected set, Damaged for a set
    // whose integrity check (run once per connection, before the first
    // write) failed. Every action statement and every transaction passes here.
    void ensureWritable();

    // The messages of the Busy, ReadOnly and Damaged errors.
    static QString busyText();
    static QString readOnlyText(const QString &path);
    static QString damagedText(const QString &path);

private:
    sqlite3_stmt *prepare(const QString &sql, bool *cached);
    void bind(sqlite3_stmt *stmt, const QVariantList &params);
    ResultSet step(sqlite3_stmt *stmt, const QString &sql, qint64 rowLimit = -1);
    void openHandle(const QString &path, int flags, const QByteArray &key);
    void openChecked(const QString &path, const QByteArray &key);
    ResultSet run(const QString &sql, const QVariantList &params);
    bool fileReplaced() const;
    void reopenIfReplaced();
    void registerFunctions();
    void clearStatementCache();
    [[noreturn]] void throwStatementError(const QString &sql, int code);

    sqlite3 *m_db = nullptr;
    int m_busyTimeoutMs = 30000;
    QString m_path;
    // The file this connection reads (device and inode as found at
    // opening): compacting gives the set's name to a new file, and a
    // connection still on the old one must not write into it.
    QByteArray m_nativePath;
    QByteArray m_key;
    quint64 m_device = 0;
    quint64 m_inode = 0;
    QHash<QString, sqlite3_stmt *> m_statements;
    int m_depth = 0;
    bool m_doomed = false;
    bool m_readOnly = false;
    // The outermost transaction writes work tables in the temporary schema
    // of a read-only set.
    bool m_temporaryWrites = false;
    enum class Integrity {
        Unknown,
        Sound,
        Damaged,
    };
    Integrity m_integrity = Integrity::Unknown;
};

// Keeps the triggers of a connection off while it lives and switches them
// back on however the scope is left.
class TriggersOff
{
public:
    explicit TriggersOff(Connection &connection) : m_connection(connection) { m_connection.setTriggersEnabled(false); }
    ~TriggersOff()
    {
        try {
            m_connection.setTriggersEnabled(true);
        } catch (...) {
            // The connection was closed inside the scope: a new one starts with triggers on.
        }
    }
    TriggersOff(const TriggersOff &) = delete;
    TriggersOff &operator=(const TriggersOff &) = delete;

private:
    Connection &m_connection;
};

} // namespace tz
