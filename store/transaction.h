// RAII transaction guard: every operation that writes more than one
// statement runs inside one, so a failure or a crash leaves all or nothing.
// Guards nest; only the outermost one reaches the database.
#pragma once

namespace tz {

class Session;

class Transaction
{
public:
    enum class Mode {
        Write, // BEGIN IMMEDIATE: the write lock is taken at once
        Read,  // BEGIN: one consistent view for reads that write nothing
        // Writes only work tables (a query's, a print's): Write on a set
        // that can be written; on a write-protected set a read transaction
        // that fills the work tables in the temporary schema.
        WorkTables,
    };

    // Opens the session's connection if needed and begins (or joins) a
    // transaction. A write transaction refuses a read-only or damaged set
    // (Connection::ensureWritable) and waits for another program's lock.
    explicit Transaction(Session &session, Mode mode = Mode::Write);
    // Rolls back unless commit() was called.
    ~Transaction();
    Transaction(const Transaction &) = delete;
    Transaction &operator=(const Transaction &) = delete;

    // Commits (the outermost guard) or hands over to the outer guard.
    // Throws DbError when the database refuses, after rolling back.
    void commit();

private:
    Session &m_session;
    bool m_finished = false;
};

} // namespace tz
