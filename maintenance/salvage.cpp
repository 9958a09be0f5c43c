// Salvage of a damaged set into a new one.
#include "maintenance/salvage.h"

#include <limits>
#include <utility>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <QTemporaryDir>

#include <sqlite3.h>

#include "store/connection.h"
#include "store/dberror.h"
#include "store/keptbalances.h"
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
    if (columns.isEmpty())
        return result;
    // The template's rows go when the first row of the set is read: a
    // table of which nothing reads keeps them (the operators of 信息表 above
    // all, so the salvaged set can be logged in to).
    bool emptied = false;
    QStringList quotedColumns;
    for (const QString &column : std::as_const(columns))
        quotedColumns.append(quotedIdentifier(column));
    const QString list = quotedColumns.join(u", "_s);
    // NOT INDEXED: the rows are found through the table's own pages only,
    // so a damaged index page loses nothing.
    const QString chunkSql =
        u"SELECT rowid, %1 FROM %2 NOT INDEXED WHERE rowid > ? ORDER BY rowid LIMIT %3"_s.arg(list, quotedIdentifier(table));
    const QString insertSql = u"INSERT INTO %1 (%2) VALUES (%3)"_s.arg(
        quotedIdentifier(table), list, QStringList(columns.size(), u"?"_s).join(u", "_s));

    qint64 last = std::numeric_limits<qint64>::min();
    int limit = kChunkRows;
    for (;;) {
        ResultSet rows;
        if (readAfter(in, chunkSql.arg(limit), last, rows)) {
            if (rows.recordCount() == 0)
                break;
            if (!std::exchange(emptied, true))
                out.execute(u"DELETE FROM "_s + quotedIdentifier(table));
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
    if (!emptied && !result.damaged)
        out.execute(u"DELETE FROM "_s + quotedIdentifier(table)); // empty in the set too
    return result;
}

// A plain handle on a file keyed with the account-set key, for what a
// Connection refuses to open (a set whose schema does not read).
class KeyedHandle
{
public:
    KeyedHandle(const QString &path, int flags)
    {
        if (sqlite3_open_v2(QFile::encodeName(path).constData(), &m_db, flags | SQLITE_OPEN_NOMUTEX, nullptr)
            != SQLITE_OK)
            return;
        const QByteArray key = databasePassword();
        sqlite3_key(m_db, key.constData(), int(key.size()));
        sqlite3_exec(m_db, "PRAGMA cipher_log_level = NONE", nullptr, nullptr, nullptr);
    }
    ~KeyedHandle() { sqlite3_close_v2(m_db); }
    KeyedHandle(const KeyedHandle &) = delete;
    KeyedHandle &operator=(const KeyedHandle &) = delete;

    // The statement's primary result code.
    int exec(const QString &sql) const
    {
        if (!m_db)
            return SQLITE_CANTOPEN;
        return sqlite3_exec(m_db, sql.toUtf8().constData(), nullptr, nullptr, nullptr) & 0xff;
    }
    qint64 integer(const char *sql) const
    {
        sqlite3_stmt *stmt = nullptr;
        qint64 value = -1;
        if (m_db && sqlite3_prepare_v2(m_db, sql, -1, &stmt, nullptr) == SQLITE_OK && sqlite3_step(stmt) == SQLITE_ROW)
            value = sqlite3_column_int64(stmt, 0);
        sqlite3_finalize(stmt);
        return value;
    }

private:
    sqlite3 *m_db = nullptr;
};

constexpr qint64 kPageSize = 4096; // SQLCipher 4's, which every set has

QString sqlText(const QString &text)
{
    return u'\'' + QString(text).replace(u'\'', u"''"_s) + u'\'';
}

// Writes to `copy` the damaged set at `path` with a new first page whose
// schema names the template's tables that never move at the template's
// pages. The page is made in a file of its own under the set's salt (so
// it decrypts in the copy): a filler as large as the set first, so that
// the new schema's own pages come after the set's last page and are
// appended to the copy. `donor` is a scratch name for that file.
QString rebuildSchema(const QString &path, const QString &copy, const QString &donor)
{
    QFile damaged(path);
    if (!damaged.open(QIODevice::ReadOnly))
        return u"无法读取文件 %1: %2"_s.arg(path, damaged.errorString());
    const QByteArray salt = damaged.read(16);
    const qint64 pages = damaged.size() / kPageSize;
    damaged.close();

    QList<std::pair<QString, qint64>> roots;
    QStringList definitions;
    try {
        Connection shipped;
        shipped.open(templatePath());
        // Tables made before the first work table that queries make anew
        // keep their pages, in a copy of the template and in a compacted
        // set alike.
        const ResultSet rows = shipped.query(
            u"SELECT name, rootpage, sql FROM sqlite_master WHERE type = 'table' AND name NOT LIKE 'sqlite\\_%' ESCAPE '\\' "
            "AND rootpage < (SELECT min(rootpage) FROM sqlite_master WHERE name IN ('三总式', '数量式', '多栏式1', '多栏式')) "
            "ORDER BY rootpage"_s);
        for (const ResultSet::Row &row : rows.rows()) {
            roots.append({row.at(0).toString(), row.at(1).toLongLong()});
            definitions.append(row.at(2).toString());
        }
    } catch (const DbError &error) {
        return error.message();
    }
    {
        const KeyedHandle made(donor, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
        bool ok = made.exec(u"PRAGMA cipher_salt = \"x'%1'\""_s.arg(QString::fromLatin1(salt.toHex()))) == SQLITE_OK
                  && made.exec(u"CREATE TABLE 填充 (x BLOB)"_s) == SQLITE_OK;
        while (ok && made.integer("PRAGMA page_count") <= pages)
            ok = made.exec(u"INSERT INTO 填充 VALUES (zeroblob(%1))"_s.arg(qMin<qint64>(pages * kPageSize, 1 << 26)))
                 == SQLITE_OK;
        for (const QString &definition : std::as_const(definitions))
            ok = ok && made.exec(definition) == SQLITE_OK;
        ok = ok && made.exec(u"PRAGMA writable_schema = ON"_s) == SQLITE_OK;
        for (const auto &[name, root] : std::as_const(roots))
            ok = ok
                 && made.exec(u"UPDATE sqlite_master SET rootpage = %1 WHERE type = 'table' AND name = %2"_s.arg(root).arg(
                        sqlText(name)))
                        == SQLITE_OK;
        ok = ok && made.exec(u"DELETE FROM sqlite_master WHERE name = '填充'"_s) == SQLITE_OK
             && made.exec(u"PRAGMA writable_schema = OFF"_s) == SQLITE_OK;
        if (!ok) {
            QFile::remove(donor);
            return u"无法重建帐套的结构: "_s + path;
        }
    }
    if (const QString problem = copyToScratch(path, copy); !problem.isEmpty()) {
        QFile::remove(donor);
        return problem;
    }
    QFile schema(donor);
    QFile out(copy);
    const bool spliced = schema.open(QIODevice::ReadOnly) && out.open(QIODevice::ReadWrite) && out.resize(pages * kPageSize)
                         && out.write(schema.read(kPageSize)) == kPageSize && schema.seek(pages * kPageSize)
                         && out.seek(pages * kPageSize) && out.write(schema.readAll()) > 0 && out.flush();
    out.close();
    schema.close();
    QFile::remove(donor);
    if (!spliced) {
        QFile::remove(copy);
        return u"无法重建帐套的结构: "_s + path;
    }
    return {};
}

// The set's schema does not read with the key: a page of it is damaged
// (SQLite says so), or its first page is (the file then looks like one of
// another key; a copy with a first page made anew tells them apart, since
// the set's own 信息表 reads through it).
bool schemaDamaged(const QString &path)
{
    const int result = KeyedHandle(path, SQLITE_OPEN_READONLY).exec(u"SELECT count(*) FROM sqlite_master"_s);
    if (result == SQLITE_CORRUPT)
        return true;
    const qint64 size = QFileInfo(path).size();
    if (result != SQLITE_NOTADB || size < 2 * kPageSize || size % kPageSize != 0)
        return false;
    const QTemporaryDir scratch;
    const QString copy = scratch.filePath(u"副本"_s);
    if (!scratch.isValid() || !rebuildSchema(path, copy, scratch.filePath(u"结构"_s)).isEmpty())
        return false;
    try {
        Connection rebuilt;
        rebuilt.open(copy);
        return rebuilt.query(u"SELECT count(*) FROM 信息表 NOT INDEXED"_s).value(0, 0).toLongLong() > 0;
    } catch (const DbError &) {
        return false;
    }
}

} // namespace

bool isDamagedAccountSet(const QString &path)
{
    Connection set;
    try {
        set.open(path);
    } catch (const DbError &error) {
        return error.kind() != DbError::Kind::Busy && schemaDamaged(path);
    }
    // Another program's lock is no damage.
    try {
        useSmallCache(set);
        const ResultSet verdict = set.query(u"PRAGMA quick_check(1)"_s);
        return verdict.recordCount() != 1 || verdict.value(0, 0).toString() != u"ok"_s;
    } catch (const DbError &error) {
        return error.kind() != DbError::Kind::Busy;
    }
}

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
    // A set whose schema does not read is read through a copy with a new one.
    QString source = path;
    if (schemaDamaged(path)) {
        source = scratchPathFor(target);
        if (const QString problem = rebuildSchema(path, source, scratchPathFor(target)); !problem.isEmpty()) {
            QFile::remove(scratch);
            return problem;
        }
    }
    const auto removeSource = qScopeGuard([&] {
        if (source != path)
            QFile::remove(source);
    });
    try {
        Connection in;
        in.open(source);
        Connection out;
        out.open(scratch);
        QStringList tables = tableNames(out);
        const QStringList readable = tableNames(in);
        // The ID counters first: the journal's insert triggers raise them
        // to every salvaged ID.
        tables.removeAll(u"TZID计数"_s);
        tables.prepend(u"TZID计数"_s);
        // The kept balances are not copied: they are summed again from the
        // journal that was salvaged, whatever the damaged set's rows held.
        tables.removeAll(u"科目月计"_s);
        tables.removeAll(u"流量月计"_s);
        out.begin(true);
        for (const QString &table : std::as_const(tables)) {
            if (readable.contains(table))
                report.append(salvageTable(in, out, table));
            else if (source == path) // a schema made anew names no work table: nothing to report
                report.append({table, 0, true, 0});
        }
        rebuildKeptBalances(out);
        out.commit();
        // The salvaged set keeps the damaged one's key (its passphrase):
        // the scratch file, no one's set yet, is re-encrypted in place.
        if (in.key() != databasePassword()
            && sqlite3_rekey(out.handle(), in.key().constData(), int(in.key().size())) != SQLITE_OK)
            throw DbError(DbError::Kind::Statement, u"无法给抢救的帐套加密"_s);
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
