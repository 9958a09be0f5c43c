// Pairs of ways to do the same work, measured side by side: what a design
// choice of the store and the ledgers buys.
#include <cstdio>

#include "bench/bench.h"
#include "ledgers/balancetable.h"
#include "store/scripteddialogs.h"
#include "store/session.h"
#include "store/temporaryset.h"
#include "store/transaction.h"

using namespace Qt::Literals::StringLiterals;

namespace bench {

namespace {

void report(const QString &what, const char *a, double ma, const char *b, double mb)
{
    std::printf("  %-40s %-26s %9.1f ms   %-26s %9.1f ms   ratio %.2f\n", qPrintable(what), a, ma, b, mb, ma / mb);
}

} // namespace

// Journal lines appended with the TZID counter emulation against the same
// rows in a plain table of the same shape: the cost of the counter.
void CompareCounter(const Options &options)
{
    const int lines = options.quick ? 2000 : 50000;
    tz::TemporarySet set;
    tz::Session &s = set.session();
    s.execSql(u"CREATE TABLE 对照表 AS SELECT * FROM 分录表 WHERE 0"_s);
    const auto fill = [&](const QString &table) {
        tz::Transaction tx(s);
        const QString sql = u"INSERT INTO %1 (ID, 日期, 月, 字号, 号码, 摘要说明, 科目代码, 借方金额) "
                            "VALUES (?, '2024-01-05', 1, '记', ?, '测试', '1001', 12.5)"_s.arg(table);
        for (int i = 0; i < lines; ++i)
            s.execSql(sql, {8010000001LL + i * 1000LL, i + 1});
        tx.commit();
    };
    const double counted = millis([&] { fill(u"分录表"_s); });
    const double plain = millis([&] { fill(u"对照表"_s); });
    report(u"append %1 journal lines"_s.arg(grouped(lines)), "with TZID counter", counted, "plain table", plain);
}

// The running balance of the bank account's first 2,000 lines by window
// function, as the ledgers compute it, against the correlated subquery it
// replaces.
void CompareRunningBalance(tz::Session &s, const Options &options)
{
    const int lines = options.quick ? 500 : 2000;
    s.execSql(u"CREATE TABLE 样本 AS SELECT * FROM 分录表 WHERE 科目代码 = '1002001' ORDER BY ID LIMIT ?"_s, {lines});
    s.execSql(u"CREATE INDEX 样本_ID ON 样本 (科目代码, ID)"_s);
    const double window = medianMillis(options.runs, [&] {
        s.RunSql(u"SELECT ID, round_half_up(sum(ifnull(借方金额, 0) - ifnull(贷方金额, 0)) OVER (ORDER BY ID), 2) "
                 "FROM 样本 WHERE 科目代码 = '1002001'"_s);
    });
    const double correlated = medianMillis(options.runs, [&] {
        s.RunSql(u"SELECT t.ID, round_half_up((SELECT sum(ifnull(借方金额, 0)) - sum(ifnull(贷方金额, 0)) FROM 样本 "
                 "WHERE ID <= t.ID AND 科目代码 = '1002001'), 2) FROM 样本 t WHERE 科目代码 = '1002001'"_s);
    });
    s.execSql(u"DROP TABLE 样本"_s);
    report(u"running balance of %1 bank lines"_s.arg(grouped(lines)), "window function", window,
           "correlated subquery", correlated);
}

// The balance table built with the journal's code index carrying the
// amounts (as the template has it) and with a code index of (科目代码, ID)
// only, which makes every line a separate page fetch from the encrypted
// table. Leaves the narrow index in place: run it last.
void CompareCoveringIndex(tz::Session &s, const Options &options)
{
    tz::ScriptedDialogs dialogs;
    const auto build = [&] { tz::BuildBalanceTable(s, u"12"_s, u"4"_s, dialogs); };
    const double covering = medianMillis(options.runs, build);
    s.execSql(u"DROP INDEX 分录表_科目代码"_s);
    s.execSql(u"CREATE INDEX 分录表_科目代码 ON 分录表 (科目代码, ID)"_s);
    const double narrow = medianMillis(options.runs, build);
    report(u"balance table, depth 4"_s, "code index + amounts", covering, "code index (科目代码, ID)", narrow);
}

} // namespace bench
