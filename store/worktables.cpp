// Emptying work tables.
#include "store/worktables.h"

#include <QRegularExpression>
#include <QStringList>

#include "store/connection.h"
#include "store/dberror.h"
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

// The table's own definition, from the schema that holds it (the
// temporary one first, as an unqualified name finds it), made to create
// it in that schema again.
QString definitionOf(Session &session, const QString &table)
{
    const ResultSet temp =
        session.RunSql(u"SELECT sql FROM sqlite_temp_master WHERE type = 'table' AND name = ?"_s, {table});
    if (temp.recordCount() > 0) {
        static const QRegularExpression create(u"^\\s*CREATE\\s+TABLE\\s+"_s, QRegularExpression::CaseInsensitiveOption);
        return temp.value(0, 0).toString().replace(create, u"CREATE TEMP TABLE "_s);
    }
    return session.RunSql(u"SELECT sql FROM sqlite_master WHERE type = 'table' AND name = ?"_s, {table})
        .value(0, 0)
        .toString();
}

} // namespace

const QStringList &workTableNames()
{
    static const QStringList names = {
        u"分录始表"_s, u"TZID计数"_s, u"调汇"_s, u"报表数据"_s, u"资产表07"_s, u"资产表13"_s, u"利润表07"_s,
        u"利润表13"_s, u"现流表"_s, u"三总式"_s, u"三栏帐页"_s, u"数量式"_s, u"数量帐页"_s, u"多栏式1"_s,
        u"多栏式"_s, u"固累式"_s, u"固累帐页"_s, u"数量式余额表"_s, u"凭证汇总表"_s,
    };
    return names;
}

void shadowWorkTables(Connection &connection)
{
    static const QRegularExpression table(u"^\\s*CREATE\\s+TABLE\\s+"_s, QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression index(u"^(\\s*CREATE\\s+(UNIQUE\\s+)?INDEX\\s+)"_s,
                                          QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression trigger(u"^\\s*CREATE\\s+TRIGGER\\s+"_s,
                                            QRegularExpression::CaseInsensitiveOption);
    // The statements change only the temporary schema, which a read-only
    // connection may write; they run as a script, outside the guard that
    // refuses writes to the set.
    for (const QString &name : workTableNames()) {
        const ResultSet schema = connection.query(
            u"SELECT type, sql FROM main.sqlite_master WHERE tbl_name = ? AND sql IS NOT NULL "
            "ORDER BY CASE type WHEN 'table' THEN 0 WHEN 'index' THEN 1 ELSE 2 END"_s,
            {name});
        if (schema.recordCount() == 0 || schema.value(0, 0).toString() != u"table"_s)
            continue;
        const QString quoted = quotedIdentifier(name);
        connection.executeScript(u"DROP TABLE IF EXISTS temp."_s + quoted);
        for (const ResultSet::Row &row : schema.rows()) {
            QString sql = row.at(1).toString();
            if (row.at(0).toString() == u"table"_s)
                sql.replace(table, u"CREATE TEMP TABLE "_s);
            else if (row.at(0).toString() == u"index"_s)
                sql.replace(index, u"\\1temp."_s);
            else if (row.at(0).toString() == u"trigger"_s)
                sql.replace(trigger, u"CREATE TEMP TRIGGER "_s);
            else
                continue;
            connection.executeScript(sql);
            if (row.at(0).toString() != u"table"_s)
                continue;
            try {
                connection.executeScript(u"INSERT INTO temp.%1 SELECT * FROM main.%1"_s.arg(quoted));
            } catch (const DbError &) {
                connection.executeScript(u"DELETE FROM temp."_s + quoted); // unreadable rows: start empty
            }
        }
    }
}

QString createWorkTableText(Session &session)
{
    session.OpenMainConnection();
    return session.mainConnection().isReadOnly() ? u"CREATE TEMP TABLE "_s : u"CREATE TABLE "_s;
}

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
        const QString definition = definitionOf(session, table);
        if (definition.isEmpty() && !remake)
            continue; // the caller makes it
        // A table missing from the set fails here, as SQLite reports it.
        session.execSql(u"ALTER TABLE "_s + quotedIdentifier(table) + u" RENAME TO "_s + setAsideName(table));
        if (remake)
            session.execSql(definition);
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
