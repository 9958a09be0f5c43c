// Opening balances: editing the working copy (NULL for nothing, half-up
// cents), the trial balance tolerance, and the load into the journal (one
// set of '800' lines numbered in code order, refusals leaving it alone).
#include <gtest/gtest.h>

#include "accounts/openingbalances.h"
#include "store/session.h"
#include "store/transaction.h"
#include "tests/support/scripteddialogs.h"
#include "tests/support/testset.h"

using namespace Qt::Literals::StringLiterals;
using tz::Icon;
using tz::OpeningEdit;
using tz::test::Message;
using tz::test::ScriptedDialogs;
using tz::test::TestSet;

namespace {

const QVariant kNull;

const Message kLoadQuestion{u"是否装入年初数据?请认真核对里边的数据！！！"_s, u"TZ305"_s, Icon::Question};
const Message kLoaded{u"已装入成功"_s, u"TZ305"_s, Icon::None};
const Message kUnbalanced{u"借贷不平"_s, u"TZ305"_s, Icon::Critical};

// Writes the working copy directly, as a value the grid could hold.
void setRaw(tz::Session &s, const QString &code, const QVariant &quantity, const QVariant &debit,
            const QVariant &credit)
{
    s.execSql(u"UPDATE 科目表 SET 数量 = ?, 借方金额 = ?, 贷方金额 = ? WHERE 科目代码 = ?"_s,
              {quantity, debit, credit, code});
}

QVariantList accountRow(tz::Session &s, const QString &code)
{
    const tz::ResultSet r = s.RunSql(u"SELECT 数量, 借方金额, 贷方金额 FROM 科目表 WHERE 科目代码 = ?"_s, {code});
    return r.rows().value(0);
}

// The opening lines as (ID, 科目代码, 数量, 借方金额, 贷方金额) in ID order.
QList<QVariantList> openingLines(tz::Session &s)
{
    const tz::ResultSet r = s.RunSql(u"SELECT ID, 科目代码, 数量, 借方金额, 贷方金额 FROM 分录表 "
                                     "WHERE substr(ID, 1, 3) = '800' ORDER BY ID"_s);
    return r.rows();
}

QVariantList line(qint64 id, const QString &code, const QVariant &quantity, const QVariant &debit,
                  const QVariant &credit)
{
    return {QVariant(qlonglong(id)), code, quantity, debit, credit};
}

tz::OpResult load(tz::Session &s, ScriptedDialogs &dialogs, tz::TrialBalance *trial = nullptr)
{
    return tz::LoadOpeningBalances(s, dialogs, trial);
}

TEST(OpeningLineId, SevenDigitSequenceAfter800)
{
    EXPECT_EQ(tz::openingLineId(0), std::nullopt);
    EXPECT_EQ(tz::openingLineId(-1), std::nullopt);
    EXPECT_EQ(tz::openingLineId(1), 8000000001);
    EXPECT_EQ(tz::openingLineId(32768), 8000032768);
    EXPECT_EQ(tz::openingLineId(9999999), 8009999999);
    EXPECT_EQ(tz::openingLineId(10000000), std::nullopt); // would carry into the month digits
}

TEST(OpeningTrialBalance, ToleranceIsHalfACentOnEachShownTotal)
{
    struct Amount
    {
        QString code;
        QVariant debit;
        QVariant credit;
    };
    struct Case
    {
        const char *name;
        QList<Amount> amounts;
        QString debitText;
        QString creditText;
        bool balanced;
    };
    const QList<Case> cases = {
        {"nothing entered", {}, u"0.00"_s, u"0.00"_s, true},
        {"1,000.004 shows as 1,000.00", {{u"1001"_s, 1000.0, kNull}, {u"2001"_s, kNull, 1000.004}},
         u"1,000.00"_s, u"1,000.00"_s, true},
        {"one cent apart", {{u"1001"_s, 1000.0, kNull}, {u"2001"_s, kNull, 1000.01}}, u"1,000.00"_s,
         u"1,000.01"_s, false},
        {"1,000.005 rounds up to 1,000.01", {{u"1001"_s, 1000.0, kNull}, {u"2001"_s, kNull, 1000.005}},
         u"1,000.00"_s, u"1,000.01"_s, false},
        {"binary remainders of a sum", {{u"1001"_s, 0.1, kNull}, {u"1122"_s, 0.2, kNull}, {u"2001"_s, kNull, 0.3}},
         u"0.30"_s, u"0.30"_s, true},
        {"large and negative", {{u"1001"_s, 12345678901.23, kNull}, {u"1122"_s, -0.23, kNull},
                                {u"2001"_s, kNull, 12345678901.0}},
         u"12,345,678,901.00"_s, u"12,345,678,901.00"_s, true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        TestSet set;
        tz::Session &s = set.session();
        for (const Amount &a : c.amounts)
            setRaw(s, a.code, kNull, a.debit, a.credit);
        // An earlier load that a refused load must leave alone.
        s.execSql(u"INSERT INTO 分录表 (ID, 摘要说明, 科目代码, 借方金额) VALUES (8000000001, '年初余额', '1403', 9)"_s);

        ScriptedDialogs dialogs;
        tz::TrialBalance trial;
        ASSERT_TRUE(tz::ComputeTrialBalance(s, trial, dialogs).isDone());
        EXPECT_EQ(trial.debitText(), c.debitText);
        EXPECT_EQ(trial.creditText(), c.creditText);
        EXPECT_EQ(trial.isBalanced(), c.balanced);
        EXPECT_EQ(trial.statusText(), c.balanced ? u"平衡"_s : u"不平衡"_s);
        EXPECT_TRUE(dialogs.messages.isEmpty());

        ScriptedDialogs loading({true});
        tz::TrialBalance shown;
        const tz::OpResult result = load(s, loading, &shown);
        EXPECT_EQ(shown.debitText(), c.debitText);
        EXPECT_EQ(shown.creditText(), c.creditText);
        if (c.balanced) {
            EXPECT_TRUE(result.isDone());
            EXPECT_EQ(loading.questions, QList<Message>({kLoadQuestion}));
            EXPECT_EQ(loading.messages, QList<Message>({kLoaded}));
            EXPECT_EQ(openingLines(s).size(), c.amounts.size());
        } else {
            EXPECT_TRUE(result.isRefused());
            EXPECT_TRUE(loading.questions.isEmpty());
            EXPECT_EQ(loading.messages, QList<Message>({kUnbalanced}));
            EXPECT_EQ(openingLines(s), QList<QVariantList>({line(8000000001, u"1403"_s, kNull, 9.0, kNull)}));
        }
    }
}

TEST(OpeningLoad, LoadingTwiceLeavesOneSetNumberedInCodeOrder)
{
    TestSet set;
    tz::Session &s = set.session();
    ScriptedDialogs edits;
    // Entered out of code order; 1403 has a quantity only.
    ASSERT_TRUE(tz::SetOpeningBalance(s, u"2001"_s, {{}, {}, u"600"_s}, edits).isDone());
    ASSERT_TRUE(tz::SetOpeningBalance(s, u"1122"_s, {{}, u"100"_s, {}}, edits).isDone());
    ASSERT_TRUE(tz::SetOpeningBalance(s, u"1001"_s, {u"2"_s, u"500"_s, {}}, edits).isDone());
    ASSERT_TRUE(tz::SetOpeningBalance(s, u"1403"_s, {u"10"_s, {}, {}}, edits).isDone());
    EXPECT_TRUE(edits.messages.isEmpty());
    // A voucher line, which no load may touch.
    s.execSql(u"INSERT INTO 分录表 (ID, 月, 号码, 摘要说明, 科目代码, 借方金额) "
              "VALUES (8010001001, 1, 1, '提现', '1001', 50)"_s);

    ScriptedDialogs first({true});
    ASSERT_TRUE(load(s, first).isDone());
    EXPECT_EQ(first.messages, QList<Message>({kLoaded}));
    const QList<QVariantList> expected = {
        line(8000000001, u"1001"_s, 2.0, 500.0, kNull),
        line(8000000002, u"1122"_s, kNull, 100.0, kNull),
        line(8000000003, u"2001"_s, kNull, kNull, 600.0), // credit only: debit NULL, not 0
    };
    EXPECT_EQ(openingLines(s), expected);

    // The other columns of an opening line are empty; the line counter is set.
    const tz::ResultSet rest = s.RunSql(
        u"SELECT count(*) FROM 分录表 WHERE substr(ID, 1, 3) = '800' AND 摘要说明 = '年初余额' AND typeof(ID) = "
        "'integer' AND 日期 IS NULL AND 月 IS NULL AND 字号 IS NULL AND 号码 IS NULL AND 制单 IS NULL AND 流代 IS NULL "
        "AND 流金 IS NULL AND 结帐 IS NULL AND TZID IS NOT NULL"_s);
    EXPECT_EQ(rest.value(0, 0).toInt(), 3);

    // Corrections, then a second load replaces the whole set.
    ASSERT_TRUE(tz::SetOpeningBalance(s, u"1122"_s, {{}, u""_s, {}}, edits).isDone());
    ASSERT_TRUE(tz::SetOpeningBalance(s, u"2001"_s, {{}, {}, u"500"_s}, edits).isDone());
    ScriptedDialogs second({true});
    ASSERT_TRUE(load(s, second).isDone());
    EXPECT_EQ(openingLines(s), QList<QVariantList>({line(8000000001, u"1001"_s, 2.0, 500.0, kNull),
                                                    line(8000000002, u"2001"_s, kNull, kNull, 500.0)}));
    EXPECT_EQ(s.RunSql(u"SELECT count(*) FROM 分录表 WHERE ID = 8010001001"_s).value(0, 0).toInt(), 1);
}

TEST(OpeningLoad, NoAnswerOrAFailureHalfWayKeepsTheEarlierLinesAnEmptyCopyRemovesThem)
{
    TestSet set;
    tz::Session &s = set.session();
    setRaw(s, u"1001"_s, kNull, 10.0, kNull);
    setRaw(s, u"2001"_s, kNull, kNull, 10.0);
    ScriptedDialogs yes({true});
    ASSERT_TRUE(load(s, yes).isDone());
    const QList<QVariantList> loaded = openingLines(s);
    ASSERT_EQ(loaded.size(), 2);

    // No: nothing changes and nothing more is said.
    setRaw(s, u"2001"_s, kNull, kNull, 20.0);
    setRaw(s, u"2202"_s, kNull, kNull, -10.0);
    ScriptedDialogs no({false});
    EXPECT_TRUE(load(s, no).isRefused());
    EXPECT_EQ(no.questions, QList<Message>({kLoadQuestion}));
    EXPECT_TRUE(no.messages.isEmpty());
    EXPECT_EQ(openingLines(s), loaded);

    // The database refuses the second line of the next load, after the old
    // lines were deleted and the first new one written.
    s.mainConnection().executeScript(u"CREATE TRIGGER 拒绝 BEFORE INSERT ON 分录表 WHEN NEW.科目代码 = '2202' "
                                     "BEGIN SELECT RAISE(ABORT, '磁盘已满'); END"_s);
    ScriptedDialogs failing({true});
    EXPECT_TRUE(load(s, failing).isFailed());
    ASSERT_EQ(failing.messages.size(), 1);
    EXPECT_TRUE(failing.messages.first().text.contains(u"磁盘已满"_s)) << failing.messages.first().text.toStdString();
    EXPECT_EQ(failing.messages.first().title, u"TZ305提示"_s);
    EXPECT_EQ(failing.messages.first().icon, Icon::Critical);
    EXPECT_EQ(openingLines(s), loaded);

    // An empty working copy balances at 0.00 and loading removes the old lines.
    for (const QString &code : {u"1001"_s, u"2001"_s, u"2202"_s})
        setRaw(s, code, kNull, kNull, kNull);
    ScriptedDialogs again({true});
    tz::TrialBalance trial;
    EXPECT_TRUE(load(s, again, &trial).isDone());
    EXPECT_EQ(trial.debitText(), u"0.00"_s);
    EXPECT_EQ(trial.statusText(), u"平衡"_s);
    EXPECT_EQ(again.messages, QList<Message>({kLoaded}));
    EXPECT_TRUE(openingLines(s).isEmpty());
}

TEST(OpeningLoad, SequenceRunsPast32767Lines)
{
    TestSet set;
    tz::Session &s = set.session();
    constexpr int kAccounts = 40000;
    {
        tz::Transaction transaction(s);
        // Level-4 detail accounts under 1001, debit 1.00 on odd and credit
        // 1.00 on even running numbers, so the copy balances.
        s.execSql(u"WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < ?) "
                  "INSERT INTO 科目表 (科目代码, 科目名称, 科目级数, 科目全称, 方向, 明细, 借方金额, 贷方金额) "
                  "SELECT '1001' || printf('%09d', i), '户' || i, 4, '库存现金/户' || i, '借', 'Y', "
                  "CASE WHEN i % 2 = 1 THEN 1.0 END, CASE WHEN i % 2 = 0 THEN 1.0 END FROM n"_s,
                  {kAccounts});
        transaction.commit();
    }
    ScriptedDialogs dialogs({true});
    ASSERT_TRUE(load(s, dialogs).isDone());
    EXPECT_EQ(dialogs.messages, QList<Message>({kLoaded}));

    const tz::ResultSet summary =
        s.RunSql(u"SELECT count(*), min(ID), max(ID) FROM 分录表 WHERE substr(ID, 1, 3) = '800'"_s);
    EXPECT_EQ(summary.value(0, 0).toLongLong(), kAccounts);
    EXPECT_EQ(summary.value(0, 1).toLongLong(), 8000000001);
    EXPECT_EQ(summary.value(0, 2).toLongLong(), 8000000000 + kAccounts);
    // The n-th line in code order has ID 800 followed by n in seven digits.
    const tz::ResultSet misplaced = s.RunSql(
        u"SELECT count(*) FROM (SELECT ID, row_number() OVER (ORDER BY 科目代码) AS n FROM 分录表 "
        "WHERE substr(ID, 1, 3) = '800') WHERE ID <> 8000000000 + n"_s);
    EXPECT_EQ(misplaced.value(0, 0).toLongLong(), 0);
    EXPECT_EQ(s.RunSql(u"SELECT 科目代码 FROM 分录表 WHERE ID = 8000032768"_s).value(0, 0).toString(),
              u"1001000032768"_s);
}

TEST(OpeningEdit, TypedValuesAreStoredAsExactCentsOrNull)
{
    struct Case
    {
        const char *name;
        OpeningEdit edit;
        QVariantList stored; // 数量, 借方金额, 贷方金额
    };
    // Every case starts from quantity 1, debit 10.00 and no credit.
    const QList<Case> cases = {
        {"half-up on the typed digits", {{}, u"2.675"_s, {}}, {1.0, 2.68, kNull}},
        {"negative half-up", {{}, u"-2.675"_s, {}}, {1.0, -2.68, kNull}},
        {"credit half a cent", {{}, {}, u"0.005"_s}, {1.0, 10.0, 0.01}},
        {"grouped digits and blanks", {{}, u" 1,234.5 "_s, {}}, {1.0, 1234.5, kNull}},
        {"empty clears to NULL", {u""_s, u""_s, u""_s}, {kNull, kNull, kNull}},
        {"zero is no amount", {u"0"_s, u"0.00"_s, u"0.004"_s}, {kNull, kNull, kNull}},
        {"quantity kept as typed", {u"1.2345"_s, {}, {}}, {1.2345, 10.0, kNull}},
        {"absent fields unchanged", {}, {1.0, 10.0, kNull}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        TestSet set;
        tz::Session &s = set.session();
        setRaw(s, u"1001"_s, 1.0, 10.0, kNull);
        ScriptedDialogs dialogs;
        EXPECT_TRUE(tz::SetOpeningBalance(s, u"1001"_s, c.edit, dialogs).isDone());
        EXPECT_TRUE(dialogs.messages.isEmpty());
        EXPECT_EQ(accountRow(s, u"1001"_s), c.stored);
    }
}

TEST(OpeningEdit, RefusalsInOrderChangeNothing)
{
    TestSet set;
    tz::Session &s = set.session();
    setRaw(s, u"1001"_s, 1.0, 10.0, kNull);
    const QVariantList before = accountRow(s, u"1001"_s);
    const QString title = u"TZ305提示"_s;
    struct Case
    {
        QString code;
        OpeningEdit edit;
        Message expected;
    };
    const QList<Case> cases = {
        {u""_s, {{}, u"5"_s, {}}, {u"请输入科目代码"_s, title, Icon::Critical}},
        {u"10a1"_s, {{}, u"5"_s, {}}, {u"科目代码只能是数字"_s, title, Icon::Critical}},
        {u"1001' OR '1'='1"_s, {{}, u"5"_s, {}}, {u"科目代码只能是数字"_s, title, Icon::Critical}},
        {u"9999"_s, {{}, u"5"_s, {}}, {u"9999  此科目不存在"_s, title, Icon::Exclamation}},
        {u"1002"_s, {{}, u"5"_s, {}}, {u"1002  不是明细科目,不能录入年初数"_s, title, Icon::Exclamation}},
        {u"1001"_s, {{}, u"abc"_s, {}}, {u"借方金额不是有效的数字: abc"_s, title, Icon::Critical}},
        {u"1001"_s, {{}, {}, u"1.2.3"_s}, {u"贷方金额不是有效的数字: 1.2.3"_s, title, Icon::Critical}},
        {u"1001"_s, {u"1e"_s, u"5"_s, {}}, {u"数量不是有效的数字: 1e"_s, title, Icon::Critical}},
        // A valid quantity is not written when a later field is refused.
        {u"1001"_s, {u"5"_s, u"5"_s, u"x"_s}, {u"贷方金额不是有效的数字: x"_s, title, Icon::Critical}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.code.toStdString());
        ScriptedDialogs dialogs;
        EXPECT_TRUE(tz::SetOpeningBalance(s, c.code, c.edit, dialogs).isRefused());
        EXPECT_EQ(dialogs.messages, QList<Message>({c.expected}));
        EXPECT_EQ(accountRow(s, u"1001"_s), before);
    }
}

TEST(OpeningRead, DetailAccountsInCodeOrderWithTheirFigures)
{
    TestSet set;
    tz::Session &s = set.session();
    setRaw(s, u"1001"_s, 3.5, 1000.0, kNull);
    setRaw(s, u"1002002"_s, kNull, kNull, 2.675); // a stored binary value reads as half-up cents
    ScriptedDialogs dialogs;
    QList<tz::OpeningBalance> rows;
    ASSERT_TRUE(tz::ReadOpeningBalances(s, rows, dialogs).isDone());
    ASSERT_GE(rows.size(), 3);
    EXPECT_EQ(rows.at(0), (tz::OpeningBalance{u"1001"_s, u"库存现金"_s, u"借"_s, 3.5, 100000, std::nullopt}));
    // 1002 has sub-accounts and is not listed.
    EXPECT_EQ(rows.at(2), (tz::OpeningBalance{u"1002002"_s, u"银行存款/美元户"_s, u"借"_s, std::nullopt,
                                              std::nullopt, 268}));
}

} // namespace
