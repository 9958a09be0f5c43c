// Month closing and reopening: the transfer voucher's lines, numbers, marks
// and dates; exact cents and zero lines; the refusals in order; reopening
// that removes exactly the transfer voucher; the ID limits; and one
// transaction per operation. Journal lines are written directly, as posted
// vouchers would be ("8" + mm + nnnn + lll).
#include <gtest/gtest.h>

#include <array>
#include <utility>

#include "shell/closedmonths.h"
#include "store/money.h"
#include "store/session.h"
#include "vouchers/closing.h"
#include "tests/support/scripteddialogs.h"
#include "tests/support/testset.h"
#include "tests/vouchers/postingsupport.h"

using namespace Qt::Literals::StringLiterals;
using tz::Icon;
using tz::test::Message;
using tz::test::rowsOf;
using tz::test::ScriptedDialogs;
using tz::test::TestSet;

namespace {

const QVariant kNull;

const Message kTransferred{u"收入/费用已成功结转！并自动生成最后一张凭证"_s, u"结帐成功^_^"_s, Icon::Information};
const Message kNothingToTransfer{u"没有要结转的数据,没有生成凭证"_s, u"结帐成功^_^"_s, Icon::Exclamation};
const Message kReopened{u"已反结成功"_s, u"TZ305提示"_s, Icon::Information};

Message alreadyClosed(int month)
{
    return {QString::number(month) + u"  月份已结帐,请先进行反结帐"_s, u"TZ305提示"_s, Icon::Exclamation};
}

Message notClosed(int month)
{
    return {QString::number(month) + u"  月份未结帐"_s, u"TZ305提示"_s, Icon::Exclamation};
}

Message reopenQuestion(int month)
{
    return {u"是否进行反结帐?("_s + QString::number(month) + u"月份)"_s, u"TZ305提示"_s, Icon::Question};
}

// One posted journal line of voucher `number` in `month` (fiscal year 2024).
struct Posted
{
    int month;
    int number;
    int line;
    QString code;
    QVariant debit;
    QVariant credit;
    QVariant quantity = {};
};

// Posts one line as the books hold it; a code the template lacks becomes a
// detail account of the chart first, since closing posts to chart accounts only.
void post(tz::Session &s, const Posted &p)
{
    s.execSql(u"INSERT OR IGNORE INTO 科目表 (科目代码, 科目名称, 科目全称, 明细) VALUES (?1, ?1, ?1, 'Y')"_s, {p.code});
    const qint64 id = 8'000'000'000 + p.month * 10'000'000LL + p.number * 1'000LL + p.line;
    s.execSql(u"INSERT INTO 分录表 (ID, 日期, 月, 字号, 号码, 制单, 审核, 附件, 摘要说明, 科目代码, 数量, 借方金额, "
              "贷方金额) VALUES (?, ?, ?, '记', ?, '出纳', '主管', 2, '业务', ?, ?, ?, ?)"_s,
              {id, QDate(2024, p.month, 10), p.month, p.number, p.code, p.quantity, p.debit,
               p.credit});
}

void postAll(tz::Session &s, const QList<Posted> &lines)
{
    for (const Posted &p : lines)
        post(s, p);
}

tz::OpResult closeMonth(tz::Session &s, int month, ScriptedDialogs &dialogs, tz::ClosingResult *result = nullptr,
                   const QString &reviewer = u"会计"_s)
{
    return tz::CloseMonth(s, QDate(2024, month, 10), reviewer, dialogs, result);
}

// Everything closing or reopening may touch.
struct Snapshot
{
    QList<QVariantList> journal;
    QList<QVariantList> staging;
    QList<QVariantList> counters;
    bool operator==(const Snapshot &) const = default;
};

Snapshot snapshot(tz::Session &s)
{
    return {rowsOf(s, u"SELECT * FROM 分录表 ORDER BY rowid"_s), rowsOf(s, u"SELECT * FROM 分录始表 ORDER BY rowid"_s),
            rowsOf(s, u"SELECT * FROM TZID计数 ORDER BY 表名"_s)};
}

// The transfer voucher of `month` as (科目代码, 数量, 借方金额, 贷方金额) in
// the order its lines were staged.
QList<QVariantList> transferLines(tz::Session &s, int month)
{
    return rowsOf(s, u"SELECT 科目代码, 数量, 借方金额, 贷方金额 FROM 分录表 WHERE 结帐 = 2 AND 月 = ? ORDER BY TZID"_s,
                {month});
}

// Debit and credit totals of the month's transfer voucher in cents.
std::pair<tz::Cents, tz::Cents> transferTotals(tz::Session &s, int month)
{
    tz::Cents debit = 0;
    tz::Cents credit = 0;
    for (const QVariantList &r : transferLines(s, month)) {
        debit += tz::roundToCents(r.at(2).toDouble());
        credit += tz::roundToCents(r.at(3).toDouble());
    }
    return {debit, credit};
}

// The distinct marks of the month's lines other than the transfer voucher.
QList<QVariantList> ownMarks(tz::Session &s, int month)
{
    return rowsOf(s, u"SELECT DISTINCT 结帐 FROM 分录表 WHERE 月 IS ? AND ifnull(结帐, 0) <> 2"_s,
                {month == 0 ? kNull : QVariant(month)});
}

TEST(ClosingTransfer, IncomeAndExpenseGoToTheProfitAccountInOneNewVoucher)
{
    TestSet set;
    tz::Session &s = set.session();
    postAll(s, {
                   {2, 1, 1, u"1001"_s, 1000.0, kNull},
                   {2, 1, 2, u"5001"_s, kNull, 1000.0},
                   {2, 2, 1, u"5401"_s, 300.0, kNull},
                   {2, 2, 2, u"1405"_s, kNull, 300.0},
                   {2, 3, 1, u"1001"_s, 50.0, kNull},
                   {2, 3, 2, u"1122"_s, kNull, 50.0},
                   {3, 1, 1, u"1001"_s, 77.0, kNull}, // another month: neither transferred nor marked
                   {3, 1, 2, u"5001"_s, kNull, 77.0},
               });
    s.execSql(u"INSERT INTO 分录表 (ID, 摘要说明, 科目代码, 借方金额) VALUES (8000000001, '年初余额', '1001', 5)"_s);
    // A voucher on view in the staging table has taken its counter to 997;
    // the transfer lines' counters continue from there past 999, their line
    // parts count 001.. in staging order.
    s.execSql(u"INSERT INTO 分录始表 (ID, 月, 号码, 科目代码, 借方金额, TZID) VALUES (8020001001, 2, 1, '1001', 1000, 997)"_s);

    ScriptedDialogs dialogs;
    tz::ClosingResult result;
    ASSERT_TRUE(closeMonth(s, 2, dialogs, &result).isDone());
    EXPECT_EQ(dialogs.messages, QList<Message>({kTransferred}));
    EXPECT_TRUE(dialogs.questions.isEmpty());
    EXPECT_EQ(result.month, 2);
    EXPECT_EQ(result.voucherNumber, 4);
    EXPECT_EQ(result.lines, 4);

    // Voucher 4 (the month's largest number + 1), dated the last day of
    // February 2024, line parts 001..004.
    const QString common = u"日期 = '2024-02-29' AND 月 = 2 AND 字号 = '记' AND 号码 = 4 AND 制单 = '主管' AND "
                           "审核 = '会计' AND 附件 = 1 AND 摘要说明 = '结转本期损益' AND 结帐 = 2 AND 流代 IS NULL AND "
                           "流金 IS NULL AND 科目全称 IS NULL AND 顺序 IS NULL AND typeof(ID) = 'integer'"_s;
    EXPECT_EQ(rowsOf(s, u"SELECT ID, TZID, 科目代码, 数量, 借方金额, 贷方金额 FROM 分录表 WHERE "_s + common
                          + u" ORDER BY TZID"_s),
              QList<QVariantList>({
                  {qlonglong(8020004001), qlonglong(998), u"5001"_s, kNull, 1000.0, kNull},
                  {qlonglong(8020004002), qlonglong(999), u"3103"_s, kNull, kNull, 1000.0},
                  {qlonglong(8020004003), qlonglong(1000), u"3103"_s, kNull, 300.0, kNull},
                  {qlonglong(8020004004), qlonglong(1001), u"5401"_s, kNull, kNull, 300.0},
              }));
    EXPECT_EQ(rowsOf(s, u"SELECT count(*) FROM 分录表 WHERE 结帐 = 2"_s), QList<QVariantList>({{qlonglong(4)}}));
    EXPECT_EQ(transferTotals(s, 2), std::make_pair(tz::Cents(130000), tz::Cents(130000)));

    // The month's own lines are marked 1; another month and the opening lines are not.
    EXPECT_EQ(ownMarks(s, 2), QList<QVariantList>({{qlonglong(1)}}));
    EXPECT_EQ(ownMarks(s, 3), QList<QVariantList>({{kNull}}));
    EXPECT_EQ(ownMarks(s, 0), QList<QVariantList>({{kNull}}));
    std::array<bool, 12> closed{};
    closed[1] = true;
    EXPECT_EQ(tz::RefreshClosedMonthMarkers(s), closed);

    // The transfer lines stay staged; the voucher that was on view is gone.
    EXPECT_EQ(rowsOf(s, u"SELECT TZID FROM 分录始表 ORDER BY TZID"_s),
              QList<QVariantList>({{qlonglong(998)}, {qlonglong(999)}, {qlonglong(1000)}, {qlonglong(1001)}}));
}

TEST(ClosingTransfer, LinesAreExactCentsInStagingOrderAndAlwaysBalance)
{
    struct Case
    {
        const char *name;
        QList<Posted> posted; // month 5
        QList<QVariantList> expected; // 科目代码, 数量, 借方金额, 贷方金额
    };
    const QList<Case> cases = {
        {"0.1 + 0.2 against 0.3 cancels; the zero 3103 credit goes too",
         {{5, 1, 1, u"5001"_s, kNull, 0.1}, {5, 1, 2, u"5001"_s, kNull, 0.2}, {5, 1, 3, u"5001"_s, 0.3, kNull},
          {5, 2, 1, u"5401"_s, 0.1, kNull}, {5, 2, 2, u"5401"_s, 0.2, kNull}, {5, 2, 3, u"1001"_s, kNull, 0.3}},
         {{u"3103"_s, kNull, 0.3, kNull}, {u"5401"_s, kNull, kNull, 0.3}}},
        {"an income account with a net debit keeps its negative line",
         {{5, 1, 1, u"5001"_s, kNull, 100.0}, {5, 1, 2, u"5051"_s, 50.0, kNull}, {5, 1, 3, u"5051"_s, kNull, 20.0},
          {5, 1, 4, u"1001"_s, 70.0, kNull}},
         {{u"5001"_s, kNull, 100.0, kNull}, {u"5051"_s, kNull, -30.0, kNull}, {u"3103"_s, kNull, kNull, 70.0}}},
        {"an expense refunded beyond its cost",
         {{5, 1, 1, u"5401"_s, 10.0, kNull}, {5, 1, 2, u"5401"_s, kNull, 40.0}, {5, 1, 3, u"1001"_s, 30.0, kNull}},
         {{u"3103"_s, kNull, -30.0, kNull}, {u"5401"_s, kNull, kNull, -30.0}}},
        {"each account in code order, sub-accounts apart, classes 50-53 and 54-59 only",
         {{5, 1, 1, u"5602004"_s, 0.99, kNull}, {5, 1, 2, u"5602004"_s, kNull, 0.33}, {5, 1, 3, u"5001002"_s, kNull, 4.45},
          {5, 1, 4, u"5401"_s, 10.01, kNull}, {5, 1, 5, u"5001001"_s, kNull, 5.55}, {5, 1, 6, u"5301001"_s, kNull, 0.07},
          {5, 1, 7, u"4001"_s, 8.0, kNull}, {5, 1, 8, u"6001"_s, kNull, 9.0}, {5, 1, 9, u"1001"_s, 0.6, kNull}},
         {{u"5001001"_s, kNull, 5.55, kNull},
          {u"5001002"_s, kNull, 4.45, kNull},
          {u"5301001"_s, kNull, 0.07, kNull},
          {u"3103"_s, kNull, kNull, 10.07},
          {u"3103"_s, kNull, 10.67, kNull},
          {u"5401"_s, kNull, kNull, 10.01},
          {u"5602004"_s, kNull, kNull, 0.66}}},
        {"quantities add up per account",
         {{5, 1, 1, u"5001"_s, kNull, 100.0, 3.0}, {5, 1, 2, u"5001"_s, kNull, 50.5, 2.5},
          {5, 1, 3, u"1001"_s, 150.5, kNull}},
         {{u"5001"_s, 5.5, 150.5, kNull}, {u"3103"_s, kNull, kNull, 150.5}}},
        {"many small amounts sum without binary remainders",
         {{5, 1, 1, u"5001"_s, kNull, 0.1}, {5, 1, 2, u"5001"_s, kNull, 0.1}, {5, 1, 3, u"5001"_s, kNull, 0.1},
          {5, 1, 4, u"5051"_s, kNull, 0.7}, {5, 1, 5, u"5401"_s, 0.1, kNull}, {5, 1, 6, u"5401"_s, 0.2, kNull},
          {5, 1, 7, u"1001"_s, 0.7, kNull}},
         {{u"5001"_s, kNull, 0.3, kNull},
          {u"5051"_s, kNull, 0.7, kNull},
          {u"3103"_s, kNull, kNull, 1.0},
          {u"3103"_s, kNull, 0.3, kNull},
          {u"5401"_s, kNull, kNull, 0.3}}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        TestSet set;
        tz::Session &s = set.session();
        postAll(s, c.posted);
        ScriptedDialogs dialogs;
        tz::ClosingResult result;
        ASSERT_TRUE(closeMonth(s, 5, dialogs, &result).isDone());
        EXPECT_EQ(dialogs.messages, QList<Message>({kTransferred}));
        EXPECT_EQ(result.voucherNumber, c.posted.last().number + 1);
        EXPECT_EQ(result.lines, c.expected.size());
        // Compared as doubles: 0.3 must be stored as 0.3, not 0.30000000000000004.
        EXPECT_EQ(transferLines(s, 5), c.expected);
        const auto [debit, credit] = transferTotals(s, 5);
        EXPECT_EQ(debit, credit);
    }
}

TEST(ClosingTransfer, NothingToTransferWritesNoVoucherAndMarksTheLinesClosed)
{
    struct Case
    {
        const char *name;
        QList<Posted> posted; // month 4
        bool closedBox;       // a month without lines shows no closed box
    };
    const QList<Case> cases = {
        {"balance-sheet lines only", {{4, 1, 1, u"1001"_s, 80.0, kNull}, {4, 1, 2, u"2001"_s, kNull, 80.0}}, true},
        {"income and expense that cancel to the cent",
         {{4, 1, 1, u"5001"_s, kNull, 0.1}, {4, 1, 2, u"5001"_s, kNull, 0.2}, {4, 1, 3, u"5001"_s, 0.3, kNull},
          {4, 2, 1, u"5401"_s, 0.3, kNull}, {4, 2, 2, u"5401"_s, kNull, 0.1}, {4, 2, 3, u"5401"_s, kNull, 0.2}},
         true},
        {"no lines at all", {}, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        TestSet set;
        tz::Session &s = set.session();
        postAll(s, c.posted);
        s.execSql(u"INSERT INTO 分录始表 (ID, 科目代码, 借方金额) VALUES (8040001001, '1001', 1)"_s);

        ScriptedDialogs dialogs;
        tz::ClosingResult result;
        ASSERT_TRUE(closeMonth(s, 4, dialogs, &result).isDone());
        EXPECT_EQ(dialogs.messages, QList<Message>({kNothingToTransfer}));
        EXPECT_EQ(result.voucherNumber, std::nullopt);
        EXPECT_EQ(result.lines, 0);
        EXPECT_TRUE(transferLines(s, 4).isEmpty());
        EXPECT_TRUE(rowsOf(s, u"SELECT * FROM 分录始表"_s).isEmpty());
        EXPECT_EQ(rowsOf(s, u"SELECT count(*) FROM 分录表 WHERE 结帐 IS NOT 1"_s), QList<QVariantList>({{qlonglong(0)}}));
        EXPECT_EQ(tz::RefreshClosedMonthMarkers(s)[3], c.closedBox);
    }
}

TEST(ClosingRefusals, ChecksInOrderAndNothingChanges)
{
    TestSet set;
    tz::Session &s = set.session();
    postAll(s, {{2, 1, 1, u"1001"_s, 10.0, kNull}, {2, 1, 2, u"5001"_s, kNull, 10.0}});
    s.execSql(u"INSERT INTO 分录始表 (ID, 科目代码, 借方金额) VALUES (8020001001, '1001', 10)"_s);
    const Snapshot before = snapshot(s);

    struct Case
    {
        const char *name;
        QDate date;
        QString reviewer;
        Message message;
    };
    const QList<Case> cases = {
        {"another year comes first", QDate(2023, 2, 10), QString(), {u"会计年度不一致"_s, u"TZ305"_s, Icon::None}},
        {"no working date", QDate(), u"会计"_s, {u"会计年度不一致"_s, u"TZ305"_s, Icon::None}},
        {"empty reviewer", QDate(2024, 2, 10), QString(), {u"审核不能为空"_s, u"TZ305提示"_s, Icon::Critical}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedDialogs dialogs;
        EXPECT_TRUE(tz::CloseMonth(s, c.date, c.reviewer, dialogs).isRefused());
        EXPECT_EQ(dialogs.messages, QList<Message>({c.message}));
        EXPECT_EQ(snapshot(s), before);
    }

    // A closed month, December included, is not closed again, even after a
    // voucher was posted into the closed December.
    postAll(s, {{12, 1, 1, u"1001"_s, 20.0, kNull}, {12, 1, 2, u"5001"_s, kNull, 20.0}});
    for (const int month : {2, 12}) {
        ScriptedDialogs first;
        ASSERT_TRUE(closeMonth(s, month, first).isDone());
    }
    postAll(s, {{12, 2, 1, u"1001"_s, 5.0, kNull}, {12, 2, 2, u"5001"_s, kNull, 5.0}});
    const Snapshot closed = snapshot(s);
    for (const int month : {2, 12}) {
        SCOPED_TRACE(month);
        ScriptedDialogs again;
        EXPECT_TRUE(closeMonth(s, month, again).isRefused());
        EXPECT_EQ(again.messages, QList<Message>({alreadyClosed(month)}));
        EXPECT_EQ(snapshot(s), closed);
    }
}

TEST(ReopenMonth, RemovesExactlyTheTransferVoucherAndClosingAgainGivesTheSameNumber)
{
    TestSet set;
    tz::Session &s = set.session();
    postAll(s, {
                   {2, 1, 1, u"1001"_s, 1000.0, kNull},
                   {2, 1, 2, u"5001"_s, kNull, 1000.0},
                   {2, 2, 1, u"5401"_s, 300.0, kNull},
                   {2, 2, 2, u"1405"_s, kNull, 300.0},
                   {3, 1, 1, u"1001"_s, 70.0, kNull},
                   {3, 1, 2, u"5051"_s, kNull, 70.0},
               });
    for (const int month : {2, 3}) {
        ScriptedDialogs closing;
        ASSERT_TRUE(closeMonth(s, month, closing).isDone());
    }
    const QList<QVariantList> firstTransfer = transferLines(s, 2);
    ASSERT_EQ(firstTransfer.size(), 4);
    const Snapshot closed = snapshot(s);
    const QString otherMonthsSql = u"SELECT * FROM 分录表 WHERE 月 <> 2 ORDER BY rowid"_s;
    const QList<QVariantList> otherMonths = rowsOf(s, otherMonthsSql);

    // No: nothing changes and nothing more is said.
    ScriptedDialogs no({false});
    EXPECT_TRUE(tz::ReopenMonth(s, 2, no).isRefused());
    EXPECT_EQ(no.questions, QList<Message>({reopenQuestion(2)}));
    EXPECT_TRUE(no.messages.isEmpty());
    EXPECT_EQ(snapshot(s), closed);

    ScriptedDialogs yes({true});
    qint64 removed = -1;
    ASSERT_TRUE(tz::ReopenMonth(s, 2, yes, &removed).isDone());
    EXPECT_EQ(yes.questions, QList<Message>({reopenQuestion(2)}));
    EXPECT_EQ(yes.messages, QList<Message>({kReopened}));
    EXPECT_EQ(removed, 4);
    // Month 2 holds its four own lines, unmarked; month 3 is still closed.
    EXPECT_EQ(rowsOf(s, u"SELECT ID, 结帐 FROM 分录表 WHERE 月 = 2 ORDER BY ID"_s),
              QList<QVariantList>({{qlonglong(8020001001), kNull},
                                   {qlonglong(8020001002), kNull},
                                   {qlonglong(8020002001), kNull},
                                   {qlonglong(8020002002), kNull}}));
    EXPECT_EQ(rowsOf(s, otherMonthsSql), otherMonths);
    EXPECT_EQ(transferLines(s, 3).size(), 2);
    std::array<bool, 12> boxes{};
    boxes[2] = true;
    EXPECT_EQ(tz::RefreshClosedMonthMarkers(s), boxes);

    // An open month is not reopened, and nothing is asked.
    ScriptedDialogs open({true});
    EXPECT_TRUE(tz::ReopenMonth(s, 2, open).isRefused());
    EXPECT_EQ(open.messages, QList<Message>({notClosed(2)}));
    EXPECT_TRUE(open.questions.isEmpty());

    // Closing again: voucher 3 again, the same lines numbered 001..004,
    // though the staging counter has moved on.
    ScriptedDialogs again;
    tz::ClosingResult result;
    ASSERT_TRUE(closeMonth(s, 2, again, &result).isDone());
    EXPECT_EQ(result.voucherNumber, 3);
    EXPECT_EQ(transferLines(s, 2), firstTransfer);
    EXPECT_EQ(rowsOf(s, u"SELECT ID FROM 分录表 WHERE 结帐 = 2 AND 月 = 2 ORDER BY TZID"_s),
              QList<QVariantList>({{qlonglong(8020003001)},
                                   {qlonglong(8020003002)},
                                   {qlonglong(8020003003)},
                                   {qlonglong(8020003004)}}));
}

TEST(ReopenMonth, DecemberVouchersBehindTheTransferMoveDownAndAParentProfitAccountIsRefused)
{
    TestSet set;
    tz::Session &s = set.session();
    postAll(s, {{12, 1, 1, u"1001"_s, 50.0, kNull}, {12, 1, 2, u"5001"_s, kNull, 50.0}});
    ScriptedDialogs closing;
    ASSERT_TRUE(closeMonth(s, 12, closing).isDone());
    // A closed December still takes vouchers: 3 and 4 follow the transfer voucher 2.
    postAll(s, {{12, 3, 1, u"1001"_s, 1.0, kNull}, {12, 3, 2, u"1122"_s, kNull, 1.0},
                {12, 4, 1, u"1001"_s, 2.0, kNull}, {12, 4, 2, u"1122"_s, kNull, 2.0}});
    ScriptedDialogs yes({true});
    ASSERT_TRUE(tz::ReopenMonth(s, 12, yes).isDone());
    EXPECT_EQ(rowsOf(s, u"SELECT 号码, ID, 借方金额 FROM 分录表 WHERE 月 = 12 AND 借方金额 IS NOT NULL ORDER BY ID"_s),
              QList<QVariantList>({{qlonglong(1), qlonglong(8120001001), 50.0},
                                   {qlonglong(2), qlonglong(8120002001), 1.0},
                                   {qlonglong(3), qlonglong(8120003001), 2.0}}));

    // With a sub-account under 3103 the transfer has no detail account to go to.
    s.execSql(u"INSERT INTO 科目表 (科目代码, 科目名称, 明细) VALUES ('3103001', '本年', 'Y')"_s);
    s.execSql(u"UPDATE 科目表 SET 明细 = '' WHERE 科目代码 = '3103'"_s);
    const Snapshot before = snapshot(s);
    ScriptedDialogs parent;
    EXPECT_TRUE(closeMonth(s, 12, parent).isRefused());
    EXPECT_EQ(parent.messages, QList<Message>({{u"3103  不是明细科目,不能生成结转凭证,没有结帐"_s, u"TZ305提示"_s,
                                                Icon::Exclamation}}));
    EXPECT_EQ(snapshot(s), before);
}

TEST(ClosingLimits, VoucherNumberPast9999IsRefusedAndTheMonthStaysOpen)
{
    TestSet set;
    tz::Session &s = set.session();
    postAll(s, {
                   {6, 9999, 1, u"1001"_s, 10.0, kNull},
                   {6, 9999, 2, u"5001"_s, kNull, 10.0},
                   {7, 9999, 1, u"1001"_s, 10.0, kNull}, // nothing to transfer: no number needed
                   {7, 9999, 2, u"2001"_s, kNull, 10.0},
                   {8, 9998, 1, u"1001"_s, 10.0, kNull}, // the last number there is
                   {8, 9998, 2, u"5001"_s, kNull, 10.0},
               });
    s.execSql(u"INSERT INTO 分录始表 (ID, 科目代码, 借方金额) VALUES (8060001001, '1001', 10)"_s);
    const Snapshot before = snapshot(s);

    ScriptedDialogs refused;
    EXPECT_TRUE(closeMonth(s, 6, refused).isRefused());
    EXPECT_EQ(refused.messages, QList<Message>({{u"6  月份凭证号已到9999,不能生成结转凭证,没有结帐"_s, u"TZ305提示"_s,
                                                  Icon::Exclamation}}));
    EXPECT_EQ(snapshot(s), before);

    ScriptedDialogs nothing;
    EXPECT_TRUE(closeMonth(s, 7, nothing).isDone());
    EXPECT_EQ(nothing.messages, QList<Message>({kNothingToTransfer}));

    ScriptedDialogs last;
    tz::ClosingResult result;
    EXPECT_TRUE(closeMonth(s, 8, last, &result).isDone());
    EXPECT_EQ(result.voucherNumber, 9999);
    EXPECT_EQ(rowsOf(s, u"SELECT min(ID) / 1000 FROM 分录表 WHERE 结帐 = 2 AND 月 = 8"_s),
              QList<QVariantList>({{qlonglong(8089999)}}));
}

// Voucher `number` of `month` with one line per income sub-account
// parent + 001... from `first`, each a credit of `amount`; with 0 each
// account has a debit and a credit of 1, so it nets to zero and its staging
// line is dropped.
void postIncomeAccounts(tz::Session &s, int month, int number, const QString &parent, int first, int count,
                        double amount)
{
    s.execSql(u"WITH RECURSIVE n(i) AS (SELECT ? UNION ALL SELECT i + 1 FROM n WHERE i < ?) "
              "INSERT INTO 分录表 (ID, 月, 号码, 科目代码, 借方金额, 贷方金额) "
              "SELECT 8000000000 + ? * 10000000 + ? * 1000 + i, ?, ?, ? || printf('%03d', i), "
              "CASE WHEN ? = 0 THEN 1 END, CASE WHEN ? = 0 THEN 1 ELSE ? END FROM n"_s,
              {first, first + count - 1, month, number, month, number, parent, amount, amount, amount});
    s.execSql(u"INSERT OR IGNORE INTO 科目表 (科目代码, 明细) SELECT DISTINCT 科目代码, 'Y' FROM 分录表"_s);
}

TEST(ClosingLimits, AtMost999LinesNumberedInOrder)
{
    TestSet set;
    tz::Session &s = set.session();
    // 998 income accounts and the 3103 credit: 999 lines, parts 001..999.
    postIncomeAccounts(s, 7, 1, u"5001"_s, 1, 998, 1.0);
    // 999 and the 3103 credit: one line too many.
    postIncomeAccounts(s, 8, 1, u"5001"_s, 1, 999, 1.0);
    // 300 lines, 750 zero accounts, then the 3103 credit: 1050 counter
    // values apart, yet 301 lines numbered 001..301.
    postIncomeAccounts(s, 9, 1, u"5001"_s, 1, 300, 1.0);
    postIncomeAccounts(s, 9, 2, u"5001"_s, 301, 699, 0.0);
    postIncomeAccounts(s, 9, 3, u"5051"_s, 1, 51, 0.0);

    ScriptedDialogs fits;
    tz::ClosingResult result;
    ASSERT_TRUE(closeMonth(s, 7, fits, &result).isDone());
    EXPECT_EQ(result.lines, 999);
    EXPECT_EQ(rowsOf(s, u"SELECT count(DISTINCT ID), min(ID), max(ID) FROM 分录表 WHERE 结帐 = 2"_s),
              QList<QVariantList>({{qlonglong(999), qlonglong(8070002001), qlonglong(8070002999)}}));
    EXPECT_EQ(transferTotals(s, 7), std::make_pair(tz::Cents(99800), tz::Cents(99800)));

    const Snapshot before = snapshot(s);
    ScriptedDialogs tooMany;
    EXPECT_TRUE(closeMonth(s, 8, tooMany).isRefused());
    EXPECT_EQ(tooMany.messages, QList<Message>({{u"8  月份结转凭证超过999行,不能生成,没有结帐"_s, u"TZ305提示"_s,
                                                  Icon::Exclamation}}));
    EXPECT_EQ(snapshot(s), before);

    ScriptedDialogs spread;
    ASSERT_TRUE(closeMonth(s, 9, spread).isDone());
    EXPECT_EQ(rowsOf(s, u"SELECT count(DISTINCT ID), min(ID), max(ID), max(ID) = (SELECT ID FROM 分录表 WHERE 结帐 = 2 "
                      "AND 月 = 9 ORDER BY TZID DESC LIMIT 1) FROM 分录表 WHERE 结帐 = 2 AND 月 = 9"_s),
              QList<QVariantList>({{qlonglong(301), qlonglong(8090004001), qlonglong(8090004301), qlonglong(1)}}));
}

TEST(ClosingTransaction, AFailureLeavesTheBooksAsTheyWere)
{
    TestSet set;
    tz::Session &s = set.session();
    postAll(s, {{2, 1, 1, u"1001"_s, 10.0, kNull}, {2, 1, 2, u"5001"_s, kNull, 10.0}});
    s.execSql(u"INSERT INTO 分录始表 (ID, 科目代码, 借方金额) VALUES (8020001001, '1001', 10)"_s);
    const Snapshot open = snapshot(s);
    const Message failure{u"数据库操作失败: 强制失败"_s, u"TZ305提示"_s, Icon::Critical};

    // The last write of closing fails: the marks, the staging and the counters roll back.
    s.execSql(u"CREATE TEMP TRIGGER 强制失败 BEFORE INSERT ON 分录表 WHEN NEW.结帐 = 2 "
              "BEGIN SELECT RAISE(ABORT, '强制失败'); END"_s);
    ScriptedDialogs failed;
    EXPECT_TRUE(closeMonth(s, 2, failed).isFailed());
    EXPECT_EQ(failed.messages, QList<Message>({failure}));
    EXPECT_EQ(s.mainConnection().transactionDepth(), 0);
    EXPECT_EQ(snapshot(s), open);
    s.execSql(u"DROP TRIGGER 强制失败"_s);

    ScriptedDialogs closing;
    ASSERT_TRUE(closeMonth(s, 2, closing).isDone());
    const Snapshot closed = snapshot(s);

    // Reopening fails on clearing the marks: the transfer voucher is not lost.
    s.execSql(u"CREATE TEMP TRIGGER 强制失败 BEFORE UPDATE OF 结帐 ON 分录表 "
              "BEGIN SELECT RAISE(ABORT, '强制失败'); END"_s);
    ScriptedDialogs reopening({true});
    EXPECT_TRUE(tz::ReopenMonth(s, 2, reopening).isFailed());
    EXPECT_EQ(reopening.messages, QList<Message>({failure}));
    EXPECT_EQ(s.mainConnection().transactionDepth(), 0);
    EXPECT_EQ(snapshot(s), closed);
}

} // namespace
