// Salvage of a damaged set into a new one.
#include "maintenance/salvage.h"

#include <limits>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "store/connection.h"
#include "store/dberror.h"
#include "store/paths.h"
#include "store/safefile.h"

using namespace Qt::Literals::StringLiterals;

namespace tz {

namespace {

// Rows read at a time while the table reads cleanly.
constexpr int kChunkRows = 2000;
// How far ahead a damaged stretch is probed before the rest is given up.
constexpr qint64 kFarthestProbe = qint64(1) << 40;

QStringList tableNames(Connection &db)
{
    QStringList names;
    const ResultSet rows =
        db.query(u"SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT LIKE 'sqlite\\_%' ESCAPE '\\'"_s);
    for (const ResultSet::Row &row : rows.rows())
        names.append(row.at(0).toString());
    return names;
}

QStringList columnNames(Connection &db, const QString &table)
{
    QStringList names;
    const ResultSet rows = db.query(u"SELECT name FROM pragma_table_info(?)"_s, {table});
    for (const ResultSet::Row &row : rows.rows())
        names.append(row.at(0).toString());
    return names;
}

// Reads up to `limit` rows after row number `after`; false when the read
// touched a page that cannot be read.
bool readAfter(Connection &in, const QString &sql, qint64 after, ResultSet &rows)
{
    try {
        rows = in.query(sql, {after});
        return true;
    } catch (const DbError &) {
        return false;
    }
}

// Copies one table row by row number, stepping over what cannot be read.
SalvagedTable salvageTable(Connection &in, Connection &out, const QString &table)
{
    SalvagedTable result{table};
    QStringList columns;
    const QStringList readable = columnNames(in, table);
    for (const QString &column : columnNames(out, table)) {
        if (readable.contains(column))
            columns.append(column);
    }
    out.execute(u"DELETE FROM "_s + quotedIdentifier(table));
    if (columns.isEmpty())
        return result;
    QStringList quotedColumns;
    for (const QString &column : std::as_const(columns))
        quotedColumns.append(quotedIdentifier(column));
    const QString list = quotedColumns.join(u", "_s);
    const QString chunkSql = u"SELECT rowid, %1 FROM %2 WHERE rowid > ? ORDER BY rowid LIMIT %3"_s.arg(list, quotedIdentifier(table));
    const QString insertSql = u"INSERT INTO %1 (%2) VALUES (%3)"_s.arg(
        quotedIdentifier(table), list, QStringList(columns.size(), u"?"_s).join(u", "_s));

    qint64 last = std::numeric_limits<qint64>::min();
    int limit = kChunkRows;
    for (;;) {
        ResultSet rows;
        if (readAfter(in, chunkSql.arg(limit), last, rows)) {
            if (rows.recordCount() == 0)
                break;
            for (const ResultSet::Row &row : rows.rows()) {
                out.execute(insertSql, row.mid(1));
                last = row.at(0).toLongLong();
            }
            result.copied += rows.recordCount();
            limit = kChunkRows;
            continue;
        }
        if (limit > 1) { // narrow down to the first row that cannot be read
            limit = 1;
            continue;
        }
        // The row after `last` cannot be read: probe ever further ahead for
        // the next one that can, counting the skipped row numbers as lost.
        result.damaged = true;
        bool resumed = false;
        for (qint64 step = 1; step <= kFarthestProbe && last <= std::numeric_limits<qint64>::max() - step; step *= 2) {
            if (!readAfter(in, chunkSql.arg(1), last + step, rows))
                continue;
            resumed = rows.recordCount() > 0;
            if (resumed)
                result.unreadable += rows.value(0, 0).toLongLong() - last - 1;
            last = resumed ? rows.value(0, 0).toLongLong() - 1 : last;
            break;
        }
        if (!resumed)
            break;
    }
    return result;
}

} // namespace

QString salvageTargetFor(const QString &setPath)
{
    const QFileInfo info(setPath);
    const QString name = info.fileName();
    const qsizetype dot = name.lastIndexOf(u".Y"_s);
    const QString stem = dot > 0 ? name.left(dot) : name;
    const QString suffix = dot > 0 ? name.mid(dot) : u".Y00"_s;
    for (int n = 1;; ++n) {
        const QString candidate =
            info.dir().filePath(stem + u"修复"_s + (n == 1 ? QString() : QString::number(n)) + suffix);
        if (!QFileInfo::exists(candidate) && !QFileInfo(candidate).isSymLink())
            return candidate;
    }
}

QString salvageAccountSet(const QString &path, const QString &target, QList<SalvagedTable> &report)
{
    report.clear();
    removeStaleScratch(target);
    const QString scratch = scratchPathFor(target);
    if (const QString problem = copyToScratch(templatePath(), scratch); !problem.isEmpty())
        return problem;
    try {
        Connection in;
        in.open(path);
        Connection out;
        out.open(scratch);
        QStringList tables = tableNames(out);
        const QStringList readable = tableNames(in);
        // The ID counters first: the journal's insert triggers raise them
        // to every salvaged ID.
        tables.removeAll(u"TZID计数"_s);
        tables.prepend(u"TZID计数"_s);
        out.begin(true);
        for (const QString &table : std::as_const(tables)) {
            if (readable.contains(table))
                report.append(salvageTable(in, out, table));
            else
                report.append({table, 0, true, 0});
        }
        out.commit();
    } catch (const DbError &error) {
        QFile::remove(scratch);
        return u"帐套损坏严重,无法读出: "_s + error.message();
    }
    if (QString problem = verifyAccountSet(scratch); !problem.isEmpty()) {
        QFile::remove(scratch);
        return problem;
    }
    return installScratch(scratch, target, false);
}

QStringList salvageReportLines(const QList<SalvagedTable> &report)
{
    QStringList lines;
    int soundTables = 0;
    qint64 soundRows = 0;
    for (const SalvagedTable &t : report) {
        if (!t.damaged) {
            ++soundTables;
            soundRows += t.copied;
        } else if (t.unreadable > 0) {
            lines.append(u"%1: 读出 %2 行,损坏的部分无法读出(至多 %3 行)"_s.arg(t.table).arg(t.copied).arg(t.unreadable));
        } else {
            lines.append(u"%1: 读出 %2 行,其后损坏的部分无法读出"_s.arg(t.table).arg(t.copied));
        }
    }
    lines.append(u"其余 %1 个表完整读出,共 %2 行"_s.arg(soundTables).arg(soundRows));
    return lines;
}

} // namespace tz
