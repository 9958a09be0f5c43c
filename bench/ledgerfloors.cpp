// Beside the ledgers that write the most rows, their work tables built as
// printing, the workbooks and the command line have them (what the query
// window did before it computed the rows on screen), and what any build
// of them must do whatever its SQL: write the rows it leaves in its work
// tables and read the journal lines it shows. The build's time above the
// two together is its own computing (running sums, prices, headings, the
// grid's order).
#include <algorithm>

#include "bench/bench.h"
#include "ledgers/ledgerquery.h"
#include "store/scripteddialogs.h"
#include "store/session.h"
#include "store/transaction.h"

using namespace Qt::Literals::StringLiterals;

namespace bench {

namespace {

// The tables a format's build leaves rows in.
QStringList tablesOf(tz::LedgerFormat format)
{
    QStringList tables{tz::ledgerTable(format)};
    if (format == tz::LedgerFormat::MultiIncrease || format == tz::LedgerFormat::MultiNet)
        tables.append(u"多栏式1"_s);
    return tables;
}

// The rows of the tables copied into new tables in one transaction and
// committed, as a build writes them; the copies dropped afterwards.
double writeRows(tz::Session &s, const QStringList &tables, qint64 &rows)
{
    rows = 0;
    const double ms = millis([&] {
        tz::Transaction transaction(s);
        for (const QString &table : tables)
            s.execSql(u"CREATE TABLE "_s + table + u"副 AS SELECT * FROM "_s + table + u" ORDER BY rowid"_s);
        transaction.commit();
    });
    for (const QString &table : tables) {
        rows += s.RunSql(u"SELECT count(*) FROM "_s + table + u"副"_s).value(0, 0).toLongLong();
        s.execSql(u"DROP TABLE "_s + table + u"副"_s);
    }
    return ms;
}

// Every journal line of the account (or of its descendants) found by the
// code index and read by its rowid, the columns a ledger shows summed.
double readLines(tz::Session &s, const LedgerFloor &ledger, qint64 &lines)
{
    const QString where = ledger.descendants ? u"科目代码 > ?1 AND 科目代码 < ?1 || char(65535)"_s
                                             : u"科目代码 = ?1"_s;
    double ms = millis([&] {
        lines = s.RunSql(u"SELECT count(*), sum(length(a.日期) + length(a.字号) + length(a.摘要说明) + a.号码) "
                         "FROM (SELECT rowid AS r FROM 分录表 WHERE "_s
                             + where + u") l CROSS JOIN 分录表 a ON a.rowid = l.r"_s,
                         {ledger.code})
                    .value(0, 0)
                    .toLongLong();
    });
    return ms;
}

} // namespace

void AddLedgerFloors(tz::Session &s, const Options &options, const std::vector<LedgerFloor> &ledgers,
                     std::vector<Figure> &figures)
{
    for (const LedgerFloor &ledger : ledgers) {
        const auto at = std::find_if(figures.begin(), figures.end(),
                                     [&](const Figure &f) { return f.label == ledger.label; });
        if (at == figures.end())
            continue;
        tz::ScriptedDialogs d;
        qint64 rows = 0;
        qint64 lines = 0;
        bool built = true;
        std::vector<double> builds, writes, reads, floors;
        for (int run = 0; run < options.runs; ++run) {
            floors.push_back(millis([&] { s.RunSql(kFloorSql); }));
            builds.push_back(millis([&] {
                built = built && tz::BuildLedger(s, ledger.format, {ledger.code, ledger.direction, 2}, d).isDone();
            }));
            writes.push_back(writeRows(s, tablesOf(ledger.format), rows));
            reads.push_back(readLines(s, ledger, lines));
        }
        if (!built)
            continue;
        for (auto *v : {&builds, &writes, &reads, &floors})
            std::sort(v->begin(), v->end());
        const double floor = floors[floors.size() / 2];
        const double build = builds[builds.size() / 2];
        const double write = writes[writes.size() / 2];
        const double read = reads[reads.size() / 2];
        Figure whole{u"  its work table built (to print)"_s, build, rows, build / floor};
        whole.comparison = u"%1x the first screen"_s.arg(build / at->ms, 0, 'f', 1);
        Figure written{u"  its rows written alone"_s, write, rows, write / floor};
        Figure readAlone{u"  its lines read alone"_s, read, lines, read / floor};
        readAlone.comparison = u"both %1 of the build"_s.arg(
            QString::number(100 * (write + read) / build, 'f', 0) + u" %"_s);
        figures.insert(figures.insert(figures.insert(at + 1, whole) + 1, written) + 1, readAlone);
    }
}

} // namespace bench
