// The detail and general ledgers in 三总式: row kinds and keys, NULL
// amounts on opening and total rows (credit-side signs: the random ledger
// test), the '平' rule and the "结转下年" row, including an account that has nothing
// but opening lines.
#include <gtest/gtest.h>

#include "ledgers/multicolumnledger.h"
#include "ledgers/quantityledger.h"
#include "ledgers/threecolumnledger.h"
#include "store/transaction.h"
#include "tests/ledgers/ledgersupport.h"
#include "tests/support/scripteddialogs.h"
#include "tests/support/testset.h"

using namespace Qt::Literals::StringLiterals;
using tz::test::Line;
using tz::test::ScriptedDialogs;
using tz::test::table;

namespace {

const QString kRowsSql = u"SELECT ID, 日期, 字号, 摘要说明, 借方金额, 贷方金额, 方向, 余额 FROM 三总式 ORDER BY ID"_s;

class ThreeColumnLedger : public testing::Test
{
protected:
    QStringList detail(const QString &code, const QString &direction)
    {
        ScriptedDialogs dialogs;
        EXPECT_TRUE(tz::BuildDetailLedger(set.session(), code, direction, dialogs).isDone());
        EXPECT_TRUE(dialogs.messages.isEmpty());
        return table(set.session(), kRowsSql);
    }

    QStringList general(const QString &code, const QString &direction)
    {
        ScriptedDialogs dialogs;
        EXPECT_TRUE(tz::BuildGeneralLedger(set.session(), code, direction, dialogs).isDone());
        EXPECT_TRUE(dialogs.messages.isEmpty());
        return table(set.session(), kRowsSql);
    }

    tz::test::TestSet set;
};

TEST_F(ThreeColumnLedger, DetailLedgerOfADebitAccount)
{
    tz::test::postLines(set.session(), {
                                           {0, 0, 1, u"1001"_s, 1000.0, {}},
                                           {1, 1, 1, u"1001"_s, 200.0, {}},
                                           {1, 1, 2, u"1122"_s, {}, 200.0},
                                           {1, 2, 2, u"1001"_s, {}, 50.25, {}, u"付款"_s},
                                           {3, 1, 1, u"1001"_s, {}, 1149.75},
                                       });
    // Stale rows of an earlier query and of the pages go.
    set.session().execSql(u"INSERT INTO 三栏帐页 (ID) VALUES ('x')"_s);
    EXPECT_EQ(detail(u"1001"_s, u"借"_s), (QStringList{
                                              u"8000000001||-|年初余额|||借|1000"_s,
                                              u"8010001001|2024-01-15|记-1|业务|200||借|1200"_s,
                                              u"8010002002|2024-01-15|记-2|付款||50.25|借|1149.75"_s,
                                              u"8019999998||| 本月合计|200|50.25||"_s,
                                              u"8019999999||| 本年累计|200|50.25||"_s,
                                              u"8030001001|2024-03-15|记-1|业务||1149.75|平|0"_s,
                                              u"8039999998||| 本月合计||1149.75||"_s,
                                              u"8039999999||| 本年累计|200|1200||"_s,
                                          }));
    EXPECT_EQ(table(set.session(), u"SELECT count(*) FROM 三栏帐页"_s), QStringList{u"0"_s});
}

TEST_F(ThreeColumnLedger, DetailLedgerOfOpeningOnlyAndOfNothing)
{
    tz::test::postLines(set.session(), {{0, 0, 1, u"1122"_s, 300.0, {}}, {0, 0, 2, u"2202"_s, {}, 300.0}});
    EXPECT_EQ(detail(u"1122"_s, u"借"_s),
              (QStringList{u"8000000001||-|年初余额|||借|300"_s, u"813|||结转下年||||300"_s}));
    EXPECT_EQ(detail(u"1001"_s, u"借"_s), QStringList{});
    // A balance of zero is '平' and never carried forward (no "-0" either).
    tz::test::postLine(set.session(), {5, 1, 1, u"2202"_s, 300.0, {}});
    const QStringList rows = detail(u"2202"_s, u"贷"_s);
    EXPECT_EQ(rows.value(1), u"8050001001|2024-05-15|记-1|业务|300||平|0"_s);
    EXPECT_EQ(rows.size(), 4);
}

TEST_F(ThreeColumnLedger, GeneralLedgerAddsUpTheTopLevelAccount)
{
    tz::test::postLines(set.session(), {
                                           {0, 0, 1, u"1002001"_s, 1000.0, {}},
                                           {0, 0, 2, u"1002002"_s, 500.0, {}},
                                           {0, 0, 3, u"1122"_s, 77.0, {}},
                                           {1, 1, 1, u"1002001"_s, 100.0, {}},
                                           {1, 1, 2, u"1002002"_s, {}, 30.0},
                                           {1, 1, 3, u"1001"_s, {}, 70.0},
                                           {2, 1, 1, u"1002002"_s, 20.0, {}},
                                           {2, 1, 2, u"1122"_s, {}, 20.0},
                                       });
    // Asked for a sub-account: the whole of 1002, in the sub-account's direction.
    EXPECT_EQ(general(u"1002001"_s, u"借"_s), (QStringList{
                                                  u"8001||| 年初余额|||借|1500"_s,
                                                  u"8011|2024-01|汇-1| 本月合计|100|30|借|1570"_s,
                                                  u"8012||| 本年累计|100|30||"_s,
                                                  u"8021|2024-02|汇-1| 本月合计|20||借|1590"_s,
                                                  u"8022||| 本年累计|120|30||"_s,
                                                  u"813|||结转下年||||1590"_s,
                                              }));
    EXPECT_EQ(general(u"1002"_s, u"贷"_s).value(3), u"8021|2024-02|汇-1| 本月合计|20||贷|-1590"_s);
}

TEST_F(ThreeColumnLedger, GeneralLedgerOfOpeningLinesOnlyIsCarriedForward)
{
    tz::test::postLines(set.session(), {{0, 0, 1, u"1601"_s, 5000.0, {}}, {0, 0, 2, u"1602"_s, {}, 0.004}});
    EXPECT_EQ(general(u"1601"_s, u"借"_s),
              (QStringList{u"8001||| 年初余额|||借|5000"_s, u"813|||结转下年||||5000"_s}));
    // Below one cent: '平' and nothing carried forward.
    EXPECT_EQ(general(u"1602"_s, u"贷"_s), QStringList{u"8001||| 年初余额|||平|0"_s});
    EXPECT_EQ(general(u"1403"_s, u"借"_s), QStringList{});
}

// Each build writes its table anew beside the old rows and drops them
// after: the tables keep the definitions the set was made with, nothing set
// aside outlives the build, and repeated builds reuse the freed pages
// instead of growing the file.
TEST_F(ThreeColumnLedger, RebuiltWorkTablesKeepTheirDefinitionsAndTheFileItsSize)
{
    QList<Line> lines;
    for (int n = 1; n <= 400; ++n) {
        lines.append({1 + n % 12, n, 1, u"1405"_s, 10.0 * n, {}, 2.0, u"购入原材料一批,按合同分批入库"_s});
        lines.append({1 + n % 12, n, 2, n % 2 ? u"2221001"_s : u"2221004"_s, {}, 1.5 * n});
    }
    {
        tz::Transaction transaction(set.session());
        tz::test::postLines(set.session(), lines);
        transaction.commit();
    }
    const QString definitionsSql = u"SELECT name || ' ' || sql FROM sqlite_master WHERE type = 'table' "
                                   "AND name IN ('三总式', '数量式', '多栏式1') OR name LIKE '%旧' ORDER BY name"_s;
    const QStringList made = table(set.session(), definitionsSql);
    ASSERT_EQ(made.size(), 3);
    const auto buildAll = [&] {
        ScriptedDialogs dialogs;
        EXPECT_TRUE(tz::BuildDetailLedger(set.session(), u"1405"_s, u"借"_s, dialogs).isDone());
        EXPECT_TRUE(tz::BuildQuantityLedger(set.session(), u"1405"_s, u"借"_s, 2, dialogs).isDone());
        EXPECT_TRUE(tz::BuildMultiColumnLedger(set.session(), u"2221"_s, u"贷"_s, tz::MultiColumnVariant::Net, dialogs)
                        .isDone());
        EXPECT_TRUE(dialogs.messages.isEmpty());
        return set.session().RunSql(u"PRAGMA page_count"_s).value(0, 0).toLongLong();
    };
    buildAll();
    const qlonglong settled = buildAll();
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(buildAll(), settled);
    EXPECT_EQ(table(set.session(), definitionsSql), made);
    EXPECT_EQ(table(set.session(), u"SELECT count(*) FROM 三总式"_s), QStringList{u"425"_s});
}

} // namespace
