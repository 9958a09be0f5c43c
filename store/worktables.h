// Emptying the work and staging tables (分录始表 and the ledgers' tables),
// which hold copies of the books that are rebuilt on every query.
#pragma once

#include <initializer_list>

#include <QString>
#include <QStringList>

namespace tz {

class Connection;
class Session;

// The tables that hold copies of the books and scratch rows: the staging
// table, its counter, the ledgers' and tables' work tables, the statement
// templates with their figures and the revaluation table.
const QStringList &workTableNames();

// On a write-protected set, opened for reading only, every work table is
// made again in the connection's temporary schema, with its rows, indexes
// and triggers: an unqualified name finds the temporary table first, so
// every query fills and reads its work tables there while the set itself
// stays unwritten (SQLite refuses any write to it). A table whose rows
// cannot be read (a damaged page) starts empty.
void shadowWorkTables(Connection &connection);

// "CREATE TABLE ", or "CREATE TEMP TABLE " where the work tables live in
// the temporary schema: for a build that makes a work table itself.
QString createWorkTableText(Session &session);

// Empties work tables inside the caller's transaction. A DELETE without
// WHERE frees a table's pages whole; with SQLCipher's default secure_delete
// every freed page would first be zeroed, encrypted and written, which for
// a copy of a year's journal costs more than filling it again. The file is
// encrypted, free pages included, and these tables hold only copies of the
// books and scratch rows, so their pages are freed as they are;
// secure_delete is back at its previous setting afterwards (the books' own deletions keep it).
void emptyWorkTables(Session &session, std::initializer_list<QString> tables);
// For a build that fills work tables anew with many rows, inside the
// caller's transaction: each table is renamed "<table>旧" and, when
// `remake`, made again, empty, from its own stored definition (a caller
// passing false makes the table itself; a table it finds missing is
// skipped). dropSetAside drops the renamed tables once the new rows are
// written.
//
// Why: a table emptied and refilled in one transaction writes its new rows
// onto the pages it has just freed, and each of those pages had content when
// the transaction began, so its old content is first encrypted and written
// to the rollback journal. Written while the old rows still hold their
// pages, the new rows go onto pages that were free when the transaction
// began or past the end of the file, which need no journal; the old pages,
// freed last with secure_delete off, need none either. A year's ledger is
// then written about a quarter faster. The file keeps the freed pages for
// the next build, about the size of the largest table rebuilt.
void setWorkTablesAside(Session &session, std::initializer_list<QString> tables, bool remake = true);
void dropSetAside(Session &session, std::initializer_list<QString> tables);

} // namespace tz
