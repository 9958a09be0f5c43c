// The demo command end to end: a year of gapless vouchers with consistent
// IDs, months 1 to 11 closed, December open, and balanced books.
#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include "tests/cli/clirunner.h"
#include "tests/support/envguard.h"

using namespace Qt::Literals::StringLiterals;
using tz::test::CliRun;
using tz::test::cli;

namespace {

class DemoCommandLine : public testing::Test
{
protected:
    QString query(const QString &set, const QString &select) const
    {
        const CliRun run =
            cli({u"--set"_s, set, u"--operator"_s, u"主管"_s, u"--password"_s, u"888"_s, u"sql"_s, select});
        EXPECT_EQ(run.status, 0) << run.err.toStdString();
        return run.out;
    }

    QTemporaryDir m_dir;
};

TEST_F(DemoCommandLine, MakesAYearOfBalancedGaplessVouchers)
{
    ASSERT_TRUE(m_dir.isValid());
    // Without --dir the set goes to the data folder's demo folder.
    const tz::test::EnvGuard data("TZ305_DATA_DIR", m_dir.path().toUtf8());
    const QString folder = m_dir.filePath(u"demo"_s);
    const QString set = QDir(folder).filePath(u"示例.Y24"_s);
    const CliRun made = cli({u"demo"_s, u"--vouchers-per-month"_s, u"5"_s});
    ASSERT_EQ(made.status, 0) << made.err.toStdString();
    EXPECT_TRUE(made.err.isEmpty()) << made.err.toStdString();
    EXPECT_TRUE(made.out.startsWith(set + u"\tvouchers 60\tlines "_s)) << made.out.toStdString();
    EXPECT_TRUE(made.out.endsWith(u"\tmonths closed 11\n"_s)) << made.out.toStdString();

    // Per month: numbers 1..k without gaps, closed or open.
    QString expected = u"月\tgapless\tclosed\n"_s;
    for (int month = 1; month <= 12; ++month)
        expected += u"%1\t1\t%2\n"_s.arg(month).arg(month <= 11 ? 1 : 0);
    EXPECT_EQ(query(set, u"SELECT 月, max(号码) = count(DISTINCT 号码) AND min(号码) = 1 AND count(DISTINCT 号码) >= 5 "
                         "AS gapless, max(结帐) IS NOT NULL AS closed FROM 分录表 WHERE ID >= 8010000000 "
                         "GROUP BY 月 ORDER BY 月"_s),
              expected);

    // IDs carry month and number; every line has a date in its month.
    EXPECT_EQ(query(set, u"SELECT count(*) AS bad FROM 分录表 WHERE ID >= 8010000000 AND (ID / 1000 % 10000 <> 号码 "
                         "OR ID / 10000000 % 100 <> 月 OR CAST(strftime('%m', 日期) AS INTEGER) <> 月)"_s),
              u"bad\n0\n"_s);

    // Opening lines balance to the cent (each voucher does too: the plain
    // journal test has ledger and hledger read demonstration books).
    EXPECT_EQ(query(set, u"SELECT round(sum(coalesce(借方金额, 0)) * 100) = round(sum(coalesce(贷方金额, 0)) * 100) "
                         "AS balanced, count(*) > 0 AS opening FROM 分录表 WHERE ID < 8010000000"_s),
              u"balanced\topening\n1\t1\n"_s);

    // Bank lines with a cash-flow item carry the line amount as 流金.
    EXPECT_EQ(query(set, u"SELECT count(*) AS bad FROM 分录表 WHERE 流代 IS NOT NULL AND 流代 <> '' AND "
                         "round(流金 * 100) <> round(coalesce(借方金额, 贷方金额) * 100)"_s),
              u"bad\n0\n"_s);

    // A second run into the same folder is refused like new.
    const CliRun again = cli({u"demo"_s, u"--dir"_s, folder, u"--vouchers-per-month"_s, u"1"_s});
    EXPECT_EQ(again.status, 1);
    EXPECT_FALSE(again.err.isEmpty());
}

} // namespace
