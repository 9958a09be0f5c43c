// The ledger command end to end: each format prints its work table with a
// header row in stored column order, the direction comes from the chart,
// refusals give their message and exit status 1, bad options status 2.
#include <gtest/gtest.h>

#include "store/session.h"
#include "tests/cli/clirunner.h"

using namespace Qt::Literals::StringLiterals;
using tz::test::CliRun;
using tz::test::cli;

namespace {

class LedgerCommandLine : public tz::test::CliSet
{
protected:
    void SetUp() override
    {
        CliSet::SetUp();
        if (HasFatalFailure())
            return;
        tz::Session session;
        session.setDbPath(m_set);
        const QList<QVariantList> lines = {
            {8000000001LL, QVariant(), QVariant(), u"2202"_s, QVariant(), 500.0, QVariant()},
            {8020001001LL, u"2024-02-10"_s, 1, u"2202"_s, 200.0, QVariant(), QVariant()},
            {8020001002LL, u"2024-02-10"_s, 1, u"1405"_s, QVariant(), 200.0, 4.0},
            {8020002001LL, u"2024-02-12"_s, 2, u"5602001"_s, 60.0, QVariant(), QVariant()},
            {8020002002LL, u"2024-02-12"_s, 2, u"1601"_s, QVariant(), 60.0, QVariant()},
        };
        for (const QVariantList &l : lines) {
            session.execSql(u"INSERT INTO 分录表 (ID, 日期, 号码, 字号, 摘要说明, 科目代码, 借方金额, 贷方金额, 数量) "
                            "VALUES (?, ?, ?, CASE WHEN ? IS NULL THEN NULL ELSE '记' END, '摘要', ?, ?, ?, ?)"_s,
                            {l.at(0), l.at(1), l.at(2), l.at(2), l.at(3), l.at(4), l.at(5), l.at(6)});
        }
        session.CloseMainConnection();
    }

    CliRun ledger(const QString &account, const QString &format)
    {
        return cli(login() << u"ledger"_s << u"--account"_s << account << u"--format"_s << format);
    }
};

TEST_F(LedgerCommandLine, PrintsEachFormatsWorkTable)
{
    const CliRun three = ledger(u"2202"_s, u"three"_s);
    ASSERT_EQ(three.status, 0) << three.err.toStdString();
    EXPECT_TRUE(three.err.isEmpty());
    EXPECT_EQ(three.out, u"ID\t日期\t字号\t备注\t摘要说明\t借方金额\t贷方金额\t方向\t余额\n"
                         "8000000001\t\t-\t\t摘要\t\t\t贷\t500\n"
                         "8020001001\t2024-02-10\t记-1\t\t摘要\t200\t\t贷\t300\n"
                         "8029999998\t\t\t\t 本月合计\t200\t\t\t\n"
                         "8029999999\t\t\t\t 本年累计\t200\t\t\t\n"
                         "813\t\t\t\t结转下年\t\t\t\t300\n"_s);

    const CliRun general = ledger(u"  2202 "_s, u"general"_s);
    ASSERT_EQ(general.status, 0);
    EXPECT_TRUE(general.out.contains(u"\n8021\t2024-02\t汇-1\t\t 本月合计\t200\t\t贷\t300\n"_s)) << general.out.toStdString();

    const CliRun quantity = ledger(u"1405"_s, u"quantity"_s);
    ASSERT_EQ(quantity.status, 0);
    EXPECT_TRUE(quantity.out.startsWith(u"ID\t日期\t字号\t备注\t摘要说明\t借数\t借单\t借金\t贷数\t贷单\t贷金\t方向\t余数\t余单\t余额\n"
                                        "8020001002\t2024-02-10\t记-1\t\t摘要\t\t\t\t4\t50\t200\t借\t-4\t50\t-200\n"_s))
        << quantity.out.toStdString();

    const CliRun multi = ledger(u"5602"_s, u"multi1"_s);
    ASSERT_EQ(multi.status, 0);
    EXPECT_TRUE(multi.out.startsWith(u"ID\t日期\t字号\t备注\t摘要说明\t借方金额1\t贷方金额1\t方向\t余额\t5602001 办公费\n"
                                     "8020002001\t2024-02-12\t记-2\t\t摘要\t60\t\t借\t60\t60\n"_s))
        << multi.out.toStdString();

    const CliRun fixed = ledger(u"1601"_s, u"fixed"_s);
    ASSERT_EQ(fixed.status, 0);
    EXPECT_TRUE(fixed.out.startsWith(u"科目代码\tID\t日期\t字号\t号码\t摘要说明\t借方金额\t贷方金额\t原值\t借方金额1\t贷方金额1\t累计折旧\t净值\n"
                                     "1601\t8020002002\t2024-02-12\t记-2\t2\t摘要\t\t60\t-60\t\t\t0\t-60\n"_s))
        << fixed.out.toStdString();
}

TEST_F(LedgerCommandLine, RefusalsAndUsage)
{
    const CliRun fixed = ledger(u"1001"_s, u"fixed"_s);
    EXPECT_EQ(fixed.status, 1);
    EXPECT_EQ(fixed.err, u"[TZ305] 只有固定资产(1601)或无形资产(1701)或生产性生物资产(1621)科目才能生成固累式帐页\n"_s);
    EXPECT_TRUE(fixed.out.isEmpty());

    EXPECT_EQ(ledger(u"1001"_s, u"daybook"_s).status, 2);
    EXPECT_EQ(cli(login() << u"ledger"_s << u"--format"_s << u"three"_s).status, 2);
    EXPECT_EQ(cli(login() << u"ledger"_s << u"--account"_s << u"1405"_s << u"--format"_s << u"quantity"_s
                          << u"--price-digits"_s << u"9"_s)
                  .status,
              2);
}

} // namespace
