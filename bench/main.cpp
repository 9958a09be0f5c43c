// tz305-bench: measures pairs of ways to do the same work side by side in
// one run and prints their ratio, so the numbers mean the same on any
// machine. Each case uses a fresh account set made from the real template.
#include <cstdio>
#include <functional>
#include <tuple>

#include <QCoreApplication>
#include <QElapsedTimer>

#include "ledgers/ledgerquery.h"
#include "store/connection.h"
#include "store/session.h"
#include "store/transaction.h"
#include "tests/support/scripteddialogs.h"
#include "tests/support/testset.h"

using namespace Qt::Literals::StringLiterals;

namespace {

double millis(const std::function<void()> &work)
{
    QElapsedTimer timer;
    timer.start();
    work();
    return double(timer.nsecsElapsed()) / 1e6;
}

void report(const char *what, const char *a, double ma, const char *b, double mb)
{
    std::printf("%-44s %-24s %9.1f ms   %-24s %9.1f ms   ratio %.2f\n", what, a, ma, b, mb, ma / mb);
}

// Journal lines appended with the TZID counter emulation against the same
// rows in a plain table of the same shape: the cost of the counter.
void journalInsert(int lines)
{
    tz::test::TestSet set;
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
    report(qPrintable(u"append %1 journal lines"_s.arg(lines)), "with TZID counter", counted, "plain table",
           plain);
}

// One transaction around many statements against one transaction each.
void transactionBatching(int lines)
{
    tz::test::TestSet set;
    tz::Session &s = set.session();
    const QString sql = u"INSERT INTO 摘要 (名称) VALUES (?)"_s;
    const double single = millis([&] {
        for (int i = 0; i < lines; ++i)
            s.execSql(sql, {u"逐条%1"_s.arg(i)});
    });
    const double batched = millis([&] {
        tz::Transaction tx(s);
        for (int i = 0; i < lines; ++i)
            s.execSql(sql, {u"成批%1"_s.arg(i)});
        tx.commit();
    });
    report(qPrintable(u"insert %1 phrases"_s.arg(lines)), "one transaction each", single, "one transaction",
           batched);
}

} // namespace

// A year of `lines` journal lines, 40,000 a month in vouchers of five lines:
// line 1 on 1001 (a fifth of the journal), the others spread over stock,
// expenses, assets, payables, VAT, receivables and income.
void fillYear(tz::Session &s, int lines)
{
    tz::Transaction tx(s);
    s.execSql(u"WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < ? - 1) "
              "INSERT INTO 分录表 (ID, 日期, 月, 字号, 号码, 摘要说明, 科目代码, 数量, 借方金额, 贷方金额) "
              "SELECT 8000000000 + m * 10000000 + v * 1000 + l, printf('2024-%02d-15', m), m, '记', v, '业务', "
              "CASE l WHEN 1 THEN '1001' WHEN 2 THEN (CASE v % 4 WHEN 0 THEN '1405' WHEN 1 THEN '5602001' "
              "WHEN 2 THEN '5602002' ELSE '1601' END) WHEN 3 THEN (CASE v % 3 WHEN 0 THEN '2202' WHEN 1 THEN '1602' "
              "ELSE '2221001001' END) WHEN 4 THEN '1122' ELSE '5001' END, "
              "CASE WHEN l = 2 AND v % 4 = 0 THEN i % 7 + 1 END, CASE WHEN l % 2 = 1 THEN i % 9973 + 0.37 END, "
              "CASE WHEN l % 2 = 0 THEN i % 9973 + 0.37 END "
              "FROM (SELECT i, i / 40000 + 1 AS m, i % 40000 / 5 + 1 AS v, i % 5 + 1 AS l FROM n)"_s,
              {lines});
    tx.commit();
}

// Every ledger format built on a year of journal lines, and the running
// balance of one account by window function against the correlated
// subquery it replaces.
void ledgerBuilds(int lines)
{
    tz::test::TestSet set;
    tz::Session &s = set.session();
    fillYear(s, lines);
    tz::test::ScriptedDialogs dialogs;
    const QList<std::tuple<const char *, tz::LedgerFormat, QString, QString>> builds = {
        {"detail 1001 (a fifth of the lines)", tz::LedgerFormat::Detail, u"1001"_s, u"借"_s},
        {"detail 1122", tz::LedgerFormat::Detail, u"1122"_s, u"借"_s},
        {"general 2221", tz::LedgerFormat::General, u"2221"_s, u"贷"_s},
        {"quantity 1405", tz::LedgerFormat::Quantity, u"1405"_s, u"借"_s},
        {"multi-column 5602", tz::LedgerFormat::MultiIncrease, u"5602"_s, u"借"_s},
        {"multi-column 2221 (net)", tz::LedgerFormat::MultiNet, u"2221"_s, u"贷"_s},
        {"fixed asset 1601", tz::LedgerFormat::FixedAsset, u"1601"_s, u"借"_s},
    };
    for (const auto &[what, format, code, direction] : builds) {
        const double ms = millis([&] { tz::BuildLedger(s, format, {code, direction, 2}, dialogs); });
        std::printf("%-44s %9.1f ms  (%d journal lines)\n", what, ms, lines);
    }

    // The first 2,000 lines of 1001 alone, both ways.
    s.execSql(u"CREATE TABLE 样本 AS SELECT * FROM 分录表 WHERE 科目代码 = '1001' ORDER BY ID LIMIT 2000"_s);
    s.execSql(u"CREATE INDEX 样本_ID ON 样本 (科目代码, ID)"_s);
    const double window = millis([&] {
        s.RunSql(u"SELECT ID, round_half_up(sum(ifnull(借方金额, 0) - ifnull(贷方金额, 0)) OVER (ORDER BY ID), 2) "
                 "FROM 样本 WHERE 科目代码 = '1001'"_s);
    });
    const double correlated = millis([&] {
        s.RunSql(u"SELECT t.ID, round_half_up((SELECT sum(ifnull(借方金额, 0)) - sum(ifnull(贷方金额, 0)) FROM 样本 "
                 "WHERE ID <= t.ID AND 科目代码 = '1001'), 2) FROM 样本 t WHERE 科目代码 = '1001'"_s);
    });
    report("running balance of 2,000 lines", "window function", window, "correlated subquery", correlated);
}

// bench/tablebench.cpp
void balanceTableIndex(int vouchersPerMonth);

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const bool quick = app.arguments().contains(u"--quick"_s);
    journalInsert(quick ? 2000 : 50000);
    transactionBatching(quick ? 100 : 1000);
    ledgerBuilds(quick ? 40000 : 480000);
    balanceTableIndex(quick ? 100 : 8000);
    return 0;
}
