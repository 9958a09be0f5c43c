// Emptying work tables.
#include "store/worktables.h"

#include <QStringList>

#include "store/session.h"

using namespace Qt::Literals::StringLiterals;

namespace tz {

namespace {

// Runs the statements with secure_delete off, then sets it back.
void withoutSecureDelete(Session &session, const QStringList &statements)
{
    // The setting is a small number read from the connection itself.
    const QString previous = QString::number(session.RunSql(u"PRAGMA secure_delete"_s).value(0, 0).toLongLong());
    session.execSql(u"PRAGMA secure_delete = 0"_s);
    try {
        for (const QString &statement : statements)
            session.execSql(statement);
    } catch (...) {
        session.execSql(u"PRAGMA secure_delete = "_s + previous);
        throw;
    }
    session.execSql(u"PRAGMA secure_delete = "_s + previous);
}

} // namespace

void emptyWorkTables(Session &session, std::initializer_list<QString> tables)
{
    QStringList statements;
    for (const QString &table : tables)
        statements.append(u"DELETE FROM "_s + table);
    withoutSecureDelete(session, statements);
}

void dropWorkTable(Session &session, const QString &table)
{
    withoutSecureDelete(session, {u"DROP TABLE IF EXISTS "_s + table});
}

} // namespace tz
