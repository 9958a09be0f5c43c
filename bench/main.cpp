// tz305-bench: measures pairs of ways to do the same work side by side in
// one run and prints their ratio, so the numbers mean the same on any
// machine. Each case uses a fresh account set made from the real template.
#include <cstdio>
#include <functional>

#include <QCoreApplication>
#include <QElapsedTimer>

#include "store/connection.h"
#include "store/session.h"
#include "store/transaction.h"
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

// bench/tablebench.cpp
void balanceTableIndex(int vouchersPerMonth);

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const bool quick = app.arguments().contains(u"--quick"_s);
    journalInsert(quick ? 2000 : 50000);
    transactionBatching(quick ? 100 : 1000);
    balanceTableIndex(quick ? 100 : 8000);
    return 0;
}
