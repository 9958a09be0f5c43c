// Emptying the work and staging tables (分录始表 and the ledgers' tables),
// which hold copies of the books that are rebuilt on every query.
#pragma once

#include <initializer_list>

#include <QString>

namespace tz {

class Session;

// Empties work tables inside the caller's transaction. A DELETE without
// WHERE frees a table's pages whole; with SQLCipher's default secure_delete
// every freed page would first be zeroed, encrypted and written, which for
// a copy of a year's journal costs more than filling it again. The file is
// encrypted, free pages included, and these tables hold only copies of the
// books and scratch rows, so their pages are freed as they are;
// secure_delete is back at its previous setting afterwards (the books' own deletions keep it).
void emptyWorkTables(Session &session, std::initializer_list<QString> tables);
// Drops a work table that is made anew on every query (多栏式), its pages
// freed the same way.
void dropWorkTable(Session &session, const QString &table);

} // namespace tz
