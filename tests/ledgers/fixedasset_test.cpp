// The fixed-asset cumulative ledger: the companion account formed on the
// text, the refusal outside 1601/1701/1621, and the rows of an asset with
// its depreciation: opening row, interleaved lines with running values,
// totals of months with depreciation only, disposal, carry forward.
#include <gtest/gtest.h>

#include "ledgers/fixedassetledger.h"
#include "tests/ledgers/ledgersupport.h"
#include "tests/support/scripteddialogs.h"
#include "tests/support/testset.h"

using namespace Qt::Literals::StringLiterals;
using tz::Icon;
using tz::test::Message;
using tz::test::ScriptedDialogs;
using tz::test::table;

namespace {

const QString kRowsSql = u"SELECT ID, 科目代码, 字号, 号码, 摘要说明, 借方金额, 贷方金额, 原值, 借方金额1, 贷方金额1, "
                         "累计折旧, 净值 FROM 固累式 ORDER BY ID"_s;

TEST(FixedAssetLedger, CompanionRaisesTheFourthDigitOnTheText)
{
    const QList<std::pair<QString, QString>> cases = {
        {u"1601"_s, u"1602"_s},
        {u"1701"_s, u"1702"_s},
        {u"1621"_s, u"1622"_s},
        {u"1601003"_s, u"1602003"_s},
        {u"1701001002"_s, u"1702001002"_s},
        {u"1621001002003"_s, u"1622001002003"_s},
        // Beyond what a 32-bit number holds once raised.
        {u"1601999999999"_s, u"1602999999999"_s},
        {u"160"_s, QString()},
        {u"16010"_s, QString()},
        {u""_s, QString()},
    };
    for (const auto &[code, companion] : cases)
        EXPECT_EQ(tz::fixedAssetCompanion(code), companion) << code.toStdString();
}

TEST(FixedAssetLedger, OnlyAssetClassesAreTaken)
{
    tz::test::TestSet set;
    set.session().execSql(u"INSERT INTO 固累式 (ID) VALUES ('x')"_s);
    set.session().execSql(u"INSERT INTO 固累帐页 (ID) VALUES ('x')"_s);
    tz::test::postLine(set.session(), {1, 1, 1, u"1602"_s, {}, 10.0});
    for (const QString &code : {u"1602"_s, u"1001"_s, u""_s}) {
        ScriptedDialogs dialogs;
        EXPECT_TRUE(tz::BuildFixedAssetLedger(set.session(), code, dialogs).isRefused());
        const Message refused{u"只有固定资产(1601)或无形资产(1701)或生产性生物资产(1621)科目才能生成固累式帐页"_s,
                              u"TZ305"_s, Icon::Critical};
        EXPECT_EQ(dialogs.messages, QList<Message>{refused});
        EXPECT_TRUE(table(set.session(), u"SELECT ID FROM 固累式 UNION ALL SELECT ID FROM 固累帐页"_s).isEmpty());
    }
    // An asset account without opening and lines has no rows at all.
    ScriptedDialogs dialogs;
    EXPECT_TRUE(tz::BuildFixedAssetLedger(set.session(), u"1701"_s, dialogs).isDone());
    EXPECT_TRUE(dialogs.messages.isEmpty());
    EXPECT_TRUE(table(set.session(), kRowsSql).isEmpty());
}

TEST(FixedAssetLedger, AssetWithDepreciationOverAYear)
{
    tz::test::TestSet set;
    tz::test::postLines(set.session(), {
                                           {0, 0, 1, u"1601"_s, 10000.0, {}},
                                           {0, 0, 2, u"1602"_s, {}, 2000.0},
                                           {0, 0, 3, u"1001"_s, 1.0, {}},
                                           {1, 1, 1, u"1601"_s, 5000.0, {}, {}, u"购入"_s},
                                           {1, 2, 2, u"1602"_s, {}, 100.0, {}, u"计提折旧"_s},
                                           {2, 1, 2, u"1602"_s, {}, 150.0, {}, u"计提折旧"_s},
                                           {3, 1, 1, u"1602"_s, 1000.0, {}, {}, u"处置"_s},
                                           {3, 1, 2, u"1601"_s, {}, 3000.0, {}, u"处置"_s},
                                       });
    ScriptedDialogs dialogs;
    ASSERT_TRUE(tz::BuildFixedAssetLedger(set.session(), u"1601"_s, dialogs).isDone());
    EXPECT_EQ(table(set.session(), kRowsSql), (QStringList{
                                                  u"8000000000||||年初余额|||10000|||2000|8000"_s,
                                                  u"8010001001|1601|记-1|1|购入|5000||15000|||2000|13000"_s,
                                                  u"8010002002|1602|记-2|2|计提折旧|||15000||100|2100|12900"_s,
                                                  u"8019999998|||| 本月合计|5000||||100||"_s,
                                                  u"8019999999|||| 本年累计|5000||||100||"_s,
                                                  u"8020001002|1602|记-1|1|计提折旧|||15000||150|2250|12750"_s,
                                                  u"8029999998|||| 本月合计|||||150||"_s,
                                                  u"8029999999|||| 本年累计|5000||||250||"_s,
                                                  u"8030001001|1602|记-1|1|处置|||15000|1000||1250|13750"_s,
                                                  u"8030001002|1601|记-1|1|处置||3000|12000|||1250|10750"_s,
                                                  u"8039999998|||| 本月合计||3000||1000|||"_s,
                                                  u"8039999999|||| 本年累计|5000|3000||1000|250||"_s,
                                                  u"813||||结转下年|||12000|||1250|10750"_s,
                                              }));
}

TEST(FixedAssetLedger, SubAccountPairsWithTheCompanionSubAccount)
{
    tz::test::TestSet set;
    tz::test::postLines(set.session(), {
                                           {1, 1, 1, u"1601003"_s, 800.0, {}},
                                           {1, 1, 2, u"1602003"_s, {}, 30.0},
                                           {1, 1, 3, u"1602001"_s, {}, 99.0},
                                       });
    ScriptedDialogs dialogs;
    ASSERT_TRUE(tz::BuildFixedAssetLedger(set.session(), u"1601003"_s, dialogs).isDone());
    EXPECT_EQ(table(set.session(), u"SELECT ID, 原值, 累计折旧, 净值 FROM 固累式 ORDER BY ID"_s),
              (QStringList{u"8010001001|800|0|800"_s, u"8010001002|800|30|770"_s, u"8019999998|||"_s,
                           u"8019999999|||"_s, u"813|800|30|770"_s}));
}

} // namespace
