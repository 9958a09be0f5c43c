// Emptying work tables.
#include "store/worktables.h"

#include <QStringList>

#include "store/connection.h"
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

QString setAsideName(const QString &table)
{
    return quotedIdentifier(table + u"旧"_s);
}

} // namespace

void emptyWorkTables(Session &session, std::initializer_list<QString> tables)
{
    QStringList statements;
    for (const QString &table : tables)
        statements.append(u"DELETE FROM "_s + table);
    withoutSecureDelete(session, statements);
}

void setWorkTablesAside(Session &session, std::initializer_list<QString> tables, bool remake)
{
    QStringList left;
    for (const QString &table : tables)
        left.append(u"DROP TABLE IF EXISTS "_s + setAsideName(table));
    // A set-aside table never outlives its transaction; dropped all the same
    // should one be found.
    withoutSecureDelete(session, left);
    for (const QString &table : tables) {
        const ResultSet definition =
            session.RunSql(u"SELECT sql FROM sqlite_master WHERE type = 'table' AND name = ?"_s, {table});
        if (definition.recordCount() == 0 && !remake)
            continue; // the caller makes it
        // A table missing from the set fails here, as SQLite reports it.
        session.execSql(u"ALTER TABLE "_s + quotedIdentifier(table) + u" RENAME TO "_s + setAsideName(table));
        if (remake)
            session.execSql(definition.value(0, 0).toString());
    }
}

void dropSetAside(Session &session, std::initializer_list<QString> tables)
{
    QStringList statements;
    for (const QString &table : tables)
        statements.append(u"DROP TABLE IF EXISTS "_s + setAsideName(table));
    withoutSecureDelete(session, statements);
}

} // namespace tz
