// Login values and the shared connection.
#include "store/session.h"

#include "store/keptbalances.h"
#include "store/worktables.h"

namespace tz {

void Session::setDbPath(const QString &path)
{
    if (path != m_dbPath || (m_connection.isOpen() && m_connection.path() != path))
        m_connection.close();
    m_dbPath = path;
}

bool Session::OpenMainConnection()
{
    if (!m_connection.isOpen()) {
        m_connection.open(m_dbPath);
        // A write-protected set still answers every query: its work tables
        // are made in the connection's temporary schema (and the kept
        // balances, when it is older than them).
        if (m_connection.isReadOnly()) {
            shadowWorkTables(m_connection);
            shadowKeptBalances(m_connection);
        }
    }
    return true;
}

ResultSet Session::RunSql(const QString &sql, const QVariantList &params)
{
    OpenMainConnection();
    return m_connection.query(sql.trimmed(), params);
}

qint64 Session::execSql(const QString &sql, const QVariantList &params)
{
    OpenMainConnection();
    return m_connection.execute(sql.trimmed(), params);
}

void Session::CloseMainConnection()
{
    m_connection.close();
}

} // namespace tz
