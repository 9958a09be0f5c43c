// Salvage of a damaged account set: whatever can still be read, copied into
// a new set beside it. The damaged file is never written.
#pragma once

#include <QString>
#include <QStringList>

namespace tz {

// What one table gave up: its name, the rows copied, and whether a part
// of it could not be read (then `unreadable` is an upper bound of the rows
// lost, by the gaps in their row numbers).
struct SalvagedTable
{
    QString table;
    qint64 copied = 0;
    bool damaged = false;
    qint64 unreadable = 0;
};

// The name the salvaged set takes in the damaged set's folder: short name +
// "修复" (then "修复2" ... while such a file exists) + ".Y" + the year's
// digits ("华新.Y24" -> "华新修复.Y24").
QString salvageTargetFor(const QString &setPath);

// Copies every readable row of every table of the damaged set at `path`
// into a fresh set made from the program's template (the set's chart,
// journal, settings and templates replace the template's rows), checks
// the copy opens with the key and passes the integrity check, and gives
// it `target`'s name (never over an existing file). The rows are read in
// row-number order through the tables' own pages, never an index; a
// damaged stretch is skipped by probing ever further ahead. A table of
// which nothing reads keeps the template's rows. When the set's schema
// itself does not read, its tables are read through a copy of it whose
// first page is a schema made anew: the template's definitions of the
// tables that never move (the books, settings and statement templates,
// made before any work table that the queries make anew), at the pages
// where the template has them. `report` gets one entry per table. Returns an empty string on
// success, otherwise what went wrong (no file is left behind).
QString salvageAccountSet(const QString &path, const QString &target, QList<SalvagedTable> &report);

// True when `path` opens with the account-set key but a page of it does
// not read: its schema (so no statement runs at all), or any page the
// integrity check reads. Such a set is salvaged, never written.
bool isDamagedAccountSet(const QString &path);

// The report as lines for the user: the damaged tables first, then a
// summary of the sound ones.
QStringList salvageReportLines(const QList<SalvagedTable> &report);

} // namespace tz
