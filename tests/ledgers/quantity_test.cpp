// The quantity ledger in 数量式: receipts and issues split by the side of
// the amount, unit prices only where the quantity is not zero, running
// quantity and amount, credit-side negation, and the "结转下年" row when
// either balance remains.
#include <gtest/gtest.h>

#include "ledgers/quantityledger.h"
#include "tests/ledgers/ledgersupport.h"
#include "tests/support/scripteddialogs.h"
#include "tests/support/testset.h"

using namespace Qt::Literals::StringLiterals;
using tz::test::ScriptedDialogs;
using tz::test::table;

namespace {

const QString kRowsSql = u"SELECT ID, 字号, 摘要说明, 借数, 借单, 借金, 贷数, 贷单, 贷金, 方向, 余数, 余单, 余额 "
                         "FROM 数量式 ORDER BY ID"_s;

QStringList build(tz::test::TestSet &set, const QString &code, const QString &direction, int priceDigits)
{
    ScriptedDialogs dialogs;
    EXPECT_TRUE(tz::BuildQuantityLedger(set.session(), code, direction, priceDigits, dialogs).isDone());
    EXPECT_TRUE(dialogs.messages.isEmpty());
    return table(set.session(), kRowsSql);
}

TEST(QuantityLedger, ReceiptsIssuesPricesAndBalances)
{
    tz::test::TestSet set;
    tz::test::postLines(set.session(), {
                                           {0, 0, 1, u"1405"_s, 1000.0, {}, 10.0},
                                           {1, 1, 1, u"1405"_s, 100.0, {}, 3.0},
                                           {1, 2, 1, u"1405"_s, {}, 50.0, 5.0},
                                           {2, 1, 1, u"1405"_s, {}, 1050.0, 8.0},
                                           {2, 2, 1, u"1405"_s, 10.0, {}},
                                       });
    EXPECT_EQ(build(set, u"1405"_s, u"借"_s, 3), (QStringList{
                                                      u"8000000001|-|年初余额|||||||借|10|100|1000"_s,
                                                      u"8010001001|记-1|业务|3|33.333|100||||借|13|84.615|1100"_s,
                                                      u"8010002001|记-2|业务||||5|10|50|借|8|131.25|1050"_s,
                                                      u"8019999998|| 本月合计|3||100|5||50||||"_s,
                                                      u"8019999999|| 本年累计|3||100|5||50||||"_s,
                                                      u"8020001001|记-1|业务||||8|131.25|1050|平|0||0"_s,
                                                      u"8020002001|记-2|业务|||10||||借|0||10"_s,
                                                      u"8029999998|| 本月合计|||10|8||1050||||"_s,
                                                      u"8029999999|| 本年累计|3||110|13||1100||||"_s,
                                                      u"813||结转下年||||||||0||10"_s,
                                                  }));
    // Price digits outside 0..3 give four decimals.
    EXPECT_EQ(build(set, u"1405"_s, u"借"_s, 7).value(1), u"8010001001|记-1|业务|3|33.3333|100||||借|13|84.6154|1100"_s);
}

TEST(QuantityLedger, CreditAccountNegatesBothBalancesAndKeepsPrices)
{
    tz::test::TestSet set;
    tz::test::postLines(set.session(), {
                                           {0, 0, 1, u"2202"_s, {}, 500.0, 50.0},
                                           {1, 1, 1, u"2202"_s, 500.0, {}, 40.0},
                                       });
    // The amount balance is nil ('平') but ten units remain: carried forward.
    EXPECT_EQ(build(set, u"2202"_s, u"贷"_s, 2), (QStringList{
                                                      u"8000000001|-|年初余额|||||||贷|50|10|500"_s,
                                                      u"8010001001|记-1|业务|40|12.5|500||||平|10|0|0"_s,
                                                      u"8019999998|| 本月合计|40||500|||||||"_s,
                                                      u"8019999999|| 本年累计|40||500|||||||"_s,
                                                      u"813||结转下年||||||||10||0"_s,
                                                  }));
    EXPECT_EQ(build(set, u"1001"_s, u"借"_s, 2), QStringList{});
}

TEST(QuantityLedger, QuantitySumsLeaveNoBinaryNoise)
{
    tz::test::TestSet set;
    tz::test::postLines(set.session(), {
                                           {1, 1, 1, u"1405"_s, 1.0, {}, 0.1},
                                           {1, 2, 1, u"1405"_s, 2.0, {}, 0.2},
                                           {1, 3, 1, u"1405"_s, {}, 3.0, 0.3},
                                       });
    const QStringList rows = build(set, u"1405"_s, u"借"_s, 2);
    EXPECT_EQ(rows.value(1), u"8010002001|记-2|业务|0.2|10|2||||借|0.3|10|3"_s);
    EXPECT_EQ(rows.value(3), u"8019999998|| 本月合计|0.3||3|0.3||3||||"_s);
    // Nothing remains, so nothing is carried forward.
    EXPECT_EQ(rows.size(), 5);
}

} // namespace
