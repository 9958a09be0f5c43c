// The multi-column ledger: the pivot's columns (one per sub-account one
// level below the parent, deeper accounts rolled up), both variants' row
// totals and column amounts, the VAT case, the opening row, the
// opening-only parent, and the refusals with the 245-account limit.
#include <gtest/gtest.h>

#include "ledgers/multicolumnledger.h"
#include "tests/ledgers/ledgersupport.h"
#include "tests/support/scripteddialogs.h"
#include "tests/support/testset.h"

using namespace Qt::Literals::StringLiterals;
using tz::Icon;
using tz::MultiColumnVariant;
using tz::test::Message;
using tz::test::ScriptedDialogs;
using tz::test::table;

namespace {

class MultiColumnLedger : public testing::Test
{
protected:
    void addAccount(const QString &code, const QString &name, const QString &direction)
    {
        set.session().execSql(u"UPDATE 科目表 SET 明细 = '' WHERE 科目代码 = ?"_s, {code.left(code.size() - 3)});
        set.session().execSql(u"INSERT INTO 科目表 (科目代码, 科目名称, 科目级数, 方向, 明细) VALUES (?, ?, ?, ?, 'Y')"_s,
                              {code, name, (code.size() - 1) / 3, direction});
    }

    QStringList build(const QString &code, const QString &direction, MultiColumnVariant variant)
    {
        ScriptedDialogs dialogs;
        EXPECT_TRUE(tz::BuildMultiColumnLedger(set.session(), code, direction, variant, dialogs).isDone());
        EXPECT_TRUE(dialogs.messages.isEmpty());
        return table(set.session(), u"SELECT * FROM 多栏式 ORDER BY ID"_s);
    }

    QStringList columns()
    {
        return set.session().RunSql(u"SELECT * FROM 多栏式"_s).columnNames();
    }

    // Expense lines of 5602: two levels under 办公费, one opposite-side line.
    void postExpenses()
    {
        addAccount(u"5602001001"_s, u"纸张"_s, u"借"_s);
        addAccount(u"5602001002"_s, u"文具"_s, u"借"_s);
        tz::test::postLines(set.session(), {
                                               {1, 1, 1, u"5602001001"_s, 100.0, {}},
                                               {1, 1, 2, u"5602002"_s, 50.0, {}},
                                               {1, 2, 1, u"5602002"_s, {}, 20.0},
                                               {2, 1, 1, u"5602001002"_s, 30.0, {}},
                                               {2, 1, 2, u"1001"_s, {}, 30.0},
                                           });
    }

    tz::test::TestSet set;
};

const QStringList kLeading = {u"ID"_s,        u"日期"_s,      u"字号"_s, u"备注"_s, u"摘要说明"_s,
                              u"借方金额1"_s, u"贷方金额1"_s, u"方向"_s, u"余额"_s};

TEST_F(MultiColumnLedger, IncreaseVariantOfADebitParent)
{
    postExpenses();
    EXPECT_EQ(build(u"5602"_s, u"借"_s, MultiColumnVariant::Increase),
              (QStringList{
                  u"8010001001|2024-01-15|记-1||业务|100||借|100|100|"_s,
                  u"8010001002|2024-01-15|记-1||业务|50||借|150||50"_s,
                  u"8010002001|2024-01-15|记-2||业务||20|借|130||"_s,
                  u"8019999996|||| 本月合计|150|20|||100|50"_s,
                  u"8019999997|||| 本年累计|150|20|||100|50"_s,
                  u"8019999998|||| 余额|130||||100|30"_s,
                  u"8020001001|2024-02-15|记-1||业务|30||借|160|30|"_s,
                  u"8029999996|||| 本月合计|30||||30|"_s,
                  u"8029999997|||| 本年累计|180|20|||130|50"_s,
                  u"8029999998|||| 余额|160||||130|30"_s,
                  u"8029999999||||结转下年|160||||130|30"_s,
              }));
    EXPECT_EQ(columns(), (kLeading + QStringList{u"5602001 办公费"_s, u"5602002 差旅费"_s}));
    // The prepared rows keep the rolled-up code and the heading.
    EXPECT_EQ(table(set.session(), u"SELECT DISTINCT 科目代码, 科目名称 FROM 多栏式1 ORDER BY 1"_s),
              (QStringList{u"5602001|5602001 办公费"_s, u"5602002|5602002 差旅费"_s}));
}

// Month lines are written one row each; a line of voucher 9999, whose ID
// shares its digits with the synthetic rows', is grouped with them and
// still keeps its own row.
TEST_F(MultiColumnLedger, LineOfVoucher9999KeepsItsOwnRow)
{
    tz::test::postLines(set.session(), {{1, 9999, 1, u"5602002"_s, 40.0, {}}, {1, 9999, 2, u"1001"_s, {}, 40.0}});
    EXPECT_EQ(build(u"5602"_s, u"借"_s, MultiColumnVariant::Increase),
              (QStringList{
                  u"8019999001|2024-01-15|记-9999||业务|40||借|40|40"_s,
                  u"8019999996|||| 本月合计|40||||40"_s,
                  u"8019999997|||| 本年累计|40||||40"_s,
                  u"8019999998|||| 余额|40||||40"_s,
                  u"8019999999||||结转下年|40||||40"_s,
              }));
}

// A line whose ID lies past month 12 (written by no operation, but a set
// may hold one) is summed under its own period, as the months are.
TEST_F(MultiColumnLedger, LineOutsideTheMonthsKeepsItsPeriod)
{
    tz::test::postLines(set.session(), {{1, 1, 1, u"5602002"_s, 40.0, {}}, {13, 1, 1, u"5602002"_s, 10.0, {}}});
    const QStringList rows = build(u"5602"_s, u"借"_s, MultiColumnVariant::Increase);
    EXPECT_TRUE(rows.contains(u"8139999996|||| 本月合计|10||||10"_s)) << rows.join(u'\n').toStdString();
    EXPECT_TRUE(rows.contains(u"8139999998|||| 余额|50||||50"_s)) << rows.join(u'\n').toStdString();
}

TEST_F(MultiColumnLedger, NetVariantListsOppositeLinesNegativeWithGrossTotals)
{
    postExpenses();
    EXPECT_EQ(build(u"5602"_s, u"借"_s, MultiColumnVariant::Net),
              (QStringList{
                  u"8010001001|2024-01-15|记-1||业务|100||借|100|100|"_s,
                  u"8010001002|2024-01-15|记-1||业务|50||借|150||50"_s,
                  u"8010002001|2024-01-15|记-2||业务||20|借|130||-20"_s,
                  u"8019999996|||| 本月合计|150|20|||100|30"_s,
                  u"8019999997|||| 本年累计|150|20|||100|30"_s,
                  u"8019999998|||| 余额|130||||100|30"_s,
                  u"8020001001|2024-02-15|记-1||业务|30||借|160|30|"_s,
                  u"8029999996|||| 本月合计|30||||30|"_s,
                  u"8029999997|||| 本年累计|180|20|||130|30"_s,
                  u"8029999998|||| 余额|160||||130|30"_s,
                  u"8029999999||||结转下年|160||||130|30"_s,
              }));
}

TEST_F(MultiColumnLedger, VatParentKeepsBothSidesAndOpensWithCreditMinusDebit)
{
    tz::test::postLines(set.session(), {
                                           {0, 0, 1, u"2221001002"_s, {}, 100.0},
                                           {0, 0, 2, u"2221002"_s, {}, 40.0},
                                           {1, 1, 1, u"2221001001"_s, 30.0, {}},
                                           {1, 2, 1, u"2221001002"_s, {}, 50.0},
                                       });
    EXPECT_EQ(build(u"2221"_s, u"贷"_s, MultiColumnVariant::Increase),
              (QStringList{
                  u"8009999996||||年初余额|||贷|140|100|40"_s,
                  u"8010001001|2024-01-15|记-1||业务|30||贷|110|-30|"_s,
                  u"8010002001|2024-01-15|记-2||业务||50|贷|160|50|"_s,
                  u"8019999996|||| 本月合计|30|50|||20|"_s,
                  u"8019999997|||| 本年累计|30|50|||20|"_s,
                  u"8019999998|||| 余额|30|190|||120|40"_s,
                  u"8019999999||||结转下年|30|190|||120|40"_s,
              }));
    // The same parent in 多栏式1: nets on the credit side, gross row totals.
    const QStringList net = build(u"2221"_s, u"贷"_s, MultiColumnVariant::Net);
    EXPECT_EQ(net.value(0), u"8009999996||||年初余额|||贷|140|100|40"_s);
    EXPECT_EQ(net.value(1), u"8010001001|2024-01-15|记-1||业务|30||贷|110|-30|"_s);
    EXPECT_EQ(net.value(3), u"8019999996|||| 本月合计|30|50|||20|"_s);
    EXPECT_EQ(net.value(5), u"8019999998|||| 余额||160|||120|40"_s);
}

TEST_F(MultiColumnLedger, ParentWithOnlyOpeningBalances)
{
    tz::test::postLines(set.session(), {{0, 0, 1, u"5602001"_s, 70.0, {}}, {0, 0, 2, u"5602003"_s, {}, 5.0}});
    EXPECT_EQ(build(u"5602"_s, u"借"_s, MultiColumnVariant::Increase),
              (QStringList{
                  u"8009999996||||年初余额|||借|65|70|"_s,
                  u"8009999999||||结转下年||||65|70|-5"_s,
              }));
    EXPECT_EQ(columns(), (kLeading + QStringList{u"5602001 办公费"_s, u"5602003 业务招待费"_s}));
}

TEST_F(MultiColumnLedger, RefusalsLeaveEmptyTables)
{
    tz::test::postLines(set.session(), {{1, 1, 1, u"5602001"_s, 10.0, {}}});
    build(u"5602"_s, u"借"_s, MultiColumnVariant::Net);
    ASSERT_FALSE(table(set.session(), u"SELECT * FROM 分录始表"_s).isEmpty());

    const Message tooMany{u"此代码下没有明细或者明细超过250个,不能生成多栏式"_s, u"TZ305提示"_s, Icon::Information};
    for (const QString &code : {u"1001"_s, u""_s}) {
        ScriptedDialogs dialogs;
        EXPECT_TRUE(tz::BuildMultiColumnLedger(set.session(), code, u"借"_s, MultiColumnVariant::Net, dialogs)
                        .isRefused());
        const Message expected = code.isEmpty() ? Message{u"请选择科目"_s, u"TZ305"_s, Icon::None} : tooMany;
        EXPECT_EQ(dialogs.messages, QList<Message>{expected});
        EXPECT_EQ(columns(), kLeading);
        EXPECT_TRUE(table(set.session(), u"SELECT ID FROM 多栏式 UNION ALL SELECT ID FROM 多栏式1"_s).isEmpty());
        EXPECT_TRUE(table(set.session(), u"SELECT * FROM 分录始表"_s).isEmpty());
    }
}

TEST_F(MultiColumnLedger, AtMost245DescendantsAtAnyDepth)
{
    set.session().execSql(u"INSERT INTO 科目表 (科目代码, 科目名称, 科目级数, 方向, 明细) VALUES ('5699', '其他', 1, '借', '')"_s);
    addAccount(u"5699001"_s, u"分部"_s, u"借"_s);
    for (int i = 1; i <= 244; ++i)
        addAccount(u"5699001%1"_s.arg(i, 3, 10, QLatin1Char('0')), u"项目%1"_s.arg(i), u"借"_s);
    tz::test::postLine(set.session(), {1, 1, 1, u"5699001244"_s, 9.0, {}});

    // 245 descendants: built, one column after the roll-up.
    EXPECT_EQ(build(u"5699"_s, u"借"_s, MultiColumnVariant::Increase).size(), 5);
    EXPECT_EQ(columns(), kLeading + QStringList{u"5699001 分部"_s});

    addAccount(u"5699001245"_s, u"项目245"_s, u"借"_s);
    ScriptedDialogs dialogs;
    EXPECT_TRUE(tz::BuildMultiColumnLedger(set.session(), u"5699"_s, u"借"_s, MultiColumnVariant::Increase, dialogs)
                    .isRefused());
    EXPECT_EQ(dialogs.messages.size(), 1);
    EXPECT_EQ(columns(), kLeading);
}

TEST_F(MultiColumnLedger, HeadingsAreQuotedAsData)
{
    addAccount(u"5602006"_s, u"名\"称' 怪"_s, u"借"_s);
    tz::test::postLine(set.session(), {1, 1, 1, u"5602006"_s, 8.0, {}});
    build(u"5602"_s, u"借"_s, MultiColumnVariant::Increase);
    EXPECT_EQ(columns(), kLeading + QStringList{u"5602006 名\"称' 怪"_s});
    EXPECT_EQ(table(set.session(), u"SELECT \"5602006 名\"\"称' 怪\" FROM 多栏式 ORDER BY ID"_s),
              (QStringList{u"8"_s, u"8"_s, u"8"_s, u"8"_s, u"8"_s}));
}

} // namespace
