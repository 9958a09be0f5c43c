// Voucher posting: the lines and IDs a save writes, every refusal in each
// operation's order, renumbering by insert and delete, modify and delete
// only on the staged voucher of the same month, closed months (December
// exempt), the ID limits, and one transaction per operation.
#include <gtest/gtest.h>

#include <functional>
#include <limits>

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "store/changelog.h"
#include "store/session.h"
#include "store/transaction.h"
#include "tests/support/scripteddialogs.h"
#include "tests/support/testset.h"
#include "tests/vouchers/postingsupport.h"
#include "vouchers/posting.h"
#include "vouchers/staging.h"
#include "vouchers/voucherimport.h"

using namespace Qt::Literals::StringLiterals;
using tz::Icon;
using tz::OpResult;
using tz::PostingOutcome;
using tz::VoucherHeader;
using tz::VoucherLine;
using tz::test::creditLine;
using tz::test::debitLine;
using tz::test::headerOf;
using tz::test::idOf;
using tz::test::Message;
using tz::test::monthIds;
using tz::test::ScriptedDialogs;
using tz::test::TestSet;
using tz::test::twoLines;

namespace {

const QVariant kNull;
const QString kNotice = u"TZ305提示"_s;
const QString kDoneTitle = u"TZ305系统"_s;

Message critical(const QString &text)
{
    return {text, kNotice, Icon::Critical};
}

Message closedMonth(int month)
{
    return {QString::number(month) + u"  月份已结帐,请先进行反结帐"_s, kNotice, Icon::Exclamation};
}

Message question(const QString &text)
{
    return {text, kNotice, Icon::Question};
}

Message succeeded(const QString &text)
{
    return {text, kDoneTitle, Icon::Information};
}

const Message kUnbalanced{u"借贷不平!"_s, kNotice, Icon::Exclamation};
const Message kNothingToSave{u"没有要保存的数据！"_s, u"提示窗口"_s, Icon::None};
const Message kWrongYear{u"会计年度不一致"_s, u"TZ305"_s, Icon::None};

using Operation = std::function<OpResult(tz::Session &, const VoucherHeader &, const QList<VoucherLine> &,
                                         PostingOutcome &, tz::Dialogs &)>;

class Posting : public testing::Test
{
protected:
    tz::Session &s = set.session();

    // Saves vouchers 1..count of the month, summaries "v1", "v2", ...
    void saveVouchers(int month, int count)
    {
        for (int n = 1; n <= count; ++n) {
            ScriptedDialogs dialogs;
            PostingOutcome outcome;
            const OpResult r =
                tz::SaveVoucher(s, headerOf(month, n), twoLines(u"v%1"_s.arg(n), 100 * n), outcome, dialogs);
            ASSERT_TRUE(r.isDone()) << r.message.toStdString();
        }
    }

    // Fetches voucher n of the month as navigation does; returns it.
    tz::LoadedVoucher fetch(int month, int number)
    {
        ScriptedDialogs dialogs;
        tz::NavigationResult view;
        EXPECT_TRUE(tz::FetchVoucher(s, month, number, view, dialogs).isDone());
        return view.voucher.value_or(tz::LoadedVoucher{});
    }

    qlonglong journalLines() { return tz::test::countOf(s, u"SELECT count(*) FROM 分录表"_s); }

    TestSet set;
};

TEST_F(Posting, FirstSaveWritesEveryColumnUnderItsId)
{
    VoucherHeader header = headerOf(3, 1);
    header.word = u"收"_s;
    header.attachments = 2;
    header.preparer = u"别人"_s; // shown only; the operator prepares
    VoucherLine first = debitLine(u"收回 O'Brien 的 \"货款\" 100%"_s, u"1001 库存现金"_s, 12345);
    first.flowCode = u"101"_s;
    first.flowAmount = 12345;
    VoucherLine second = creditLine(QString(), u"  1122 应收账款 "_s, 10000);
    VoucherLine third = creditLine(u"尾款"_s, u"1122"_s, 2345);
    third.quantity = 3.5;
    VoucherLine counted; // a quantity without an amount is written with debit 0
    counted.summary = u"盘点"_s;
    counted.account = u"1405 库存商品"_s;
    counted.quantity = 5;

    ScriptedDialogs dialogs;
    PostingOutcome outcome;
    ASSERT_TRUE(tz::SaveVoucher(s, header, {first, second, third, counted}, outcome, dialogs).isDone());
    EXPECT_EQ(dialogs.messages, QList<Message>{tz::test::savedMessage()});
    EXPECT_TRUE(dialogs.questions.isEmpty());
    EXPECT_EQ(outcome.nextNumber, 2);
    EXPECT_EQ(outcome.linesWritten, 4);
    EXPECT_FALSE(outcome.numberNotConsecutive);

    const auto rows = tz::test::rowsOf(s, u"SELECT ID, 日期, 月, 字号, 号码, 制单, 审核, 附件, 摘要说明, 科目代码, "
                                          "数量, 借方金额, 贷方金额, 流代, 流金, 结帐 FROM 分录表 ORDER BY ID"_s);
    const QString date = u"2024-03-15"_s;
    const QList<QVariantList> expected = {
        {8030001001LL, date, 3, u"收"_s, 1, u"主管"_s, u"会计"_s, 2, first.summary, u"1001"_s, kNull, 123.45, kNull,
         u"101"_s, 123.45, kNull},
        {8030001002LL, date, 3, u"收"_s, 1, u"主管"_s, u"会计"_s, 2, first.summary, u"1122"_s, kNull, kNull, 100.0,
         u""_s, kNull, kNull},
        {8030001003LL, date, 3, u"收"_s, 1, u"主管"_s, u"会计"_s, 2, u"尾款"_s, u"1122"_s, 3.5, kNull, 23.45, u""_s,
         kNull, kNull},
        {8030001004LL, date, 3, u"收"_s, 1, u"主管"_s, u"会计"_s, 2, u"盘点"_s, u"1405"_s, 5.0, 0.0, kNull, u""_s,
         kNull, kNull},
    };
    EXPECT_EQ(rows, expected);
    EXPECT_EQ(tz::test::countOf(s, u"SELECT count(DISTINCT TZID) FROM 分录表 WHERE TZID IS NOT NULL"_s), 4);
}

TEST_F(Posting, RowsAfterTheFirstRowWithoutAnAccountAreNeitherWrittenNorBalanced)
{
    // Rows 1 and 2 balance; row 3 has no account, so rows 3 and 4 are not
    // part of the voucher and their amounts do not enter the balance check.
    const QList<VoucherLine> balancedAbove = {debitLine(u"a"_s, u"1001"_s, 10000), creditLine({}, u"1122"_s, 10000),
                                              debitLine(u"c"_s, QString(), 999), debitLine(u"d"_s, u"1001"_s, 5000)};
    ScriptedDialogs dialogs;
    PostingOutcome outcome;
    ASSERT_TRUE(tz::SaveVoucher(s, headerOf(3, 1), balancedAbove, outcome, dialogs).isDone());
    EXPECT_EQ(outcome.linesWritten, 2);
    EXPECT_EQ(monthIds(s, 3), (QList<QVariantList>{{idOf(3, 1, 1), 1, u"a"_s}, {idOf(3, 1, 2), 1, u"a"_s}}));

    // Balanced only when the unwritten row 4 is counted: refused.
    const QList<VoucherLine> balancedWithRowFour = {debitLine(u"a"_s, u"1001"_s, 10000),
                                                    creditLine({}, u"1122"_s, 5000), creditLine({}, u"  "_s, 0),
                                                    creditLine({}, u"1122"_s, 5000)};
    ScriptedDialogs refused;
    EXPECT_TRUE(tz::SaveVoucher(s, headerOf(3, 2), balancedWithRowFour, outcome, refused).isRefused());
    EXPECT_EQ(refused.messages, QList<Message>{kUnbalanced});
    EXPECT_EQ(journalLines(), 2);
}

// Save refusals, each made against month 3 holding voucher 1, on top of a
// good voucher 2. Several cases break two checks to pin their order.
struct SaveRefusal
{
    const char *name;
    std::function<void(VoucherHeader &, QList<VoucherLine> &)> change;
    Message expected;
    bool shadesNumberLabel = false;
};

class PostingSaveRefusal : public testing::TestWithParam<SaveRefusal>
{
};

const Message kNumberOrReviewer = critical(u"凭证号,审核不能为空"_s);
const Message kNotConsecutive = critical(u"凭证号不连续，请点[凭证号]进行自动取号"_s);
const Message kFirstSummary = critical(u"第一行摘要不能为空"_s);

const SaveRefusal kSaveRefusals[] = {
    {"OtherYear", [](VoucherHeader &h, auto &) { h.date = QDate(2023, 3, 15); }, kWrongYear},
    {"NoDate", [](VoucherHeader &h, auto &) { h.date = QDate(); }, kWrongYear},
    {"NumberZero", [](VoucherHeader &h, auto &) { h.number = 0; }, kNumberOrReviewer},
    {"NoReviewer", [](VoucherHeader &h, auto &) { h.reviewer.clear(); }, kNumberOrReviewer},
    {"NumberGap", [](VoucherHeader &h, auto &) { h.number = 3; }, kNotConsecutive, true},
    {"NumberTaken", [](VoucherHeader &h, auto &) { h.number = 1; }, kNotConsecutive, true},
    {"NoFirstSummary", [](auto &, QList<VoucherLine> &l) { l[0].summary.clear(); }, kFirstSummary},
    {"Unbalanced", [](auto &, QList<VoucherLine> &l) { l[1].credit = 9999; }, kUnbalanced},
    {"OneLine", [](auto &, QList<VoucherLine> &l) { l.removeLast(); l[0].debit.reset(); }, kNothingToSave},
    {"SecondRowWithoutAccount",
     [](auto &, QList<VoucherLine> &l) { l[1].account.clear(); l[1].credit.reset(); l[0].debit.reset(); },
     kNothingToSave},
    {"CodeNotDigits", [](auto &, QList<VoucherLine> &l) { l[1].account = u"1l22 应收账款"_s; },
     critical(u"1l22  科目代码只能是数字"_s)},
    {"YearBeforeReviewer", [](VoucherHeader &h, auto &) { h.date = QDate(2025, 3, 1); h.reviewer.clear(); }, kWrongYear},
    {"ReviewerBeforeNumberGap", [](VoucherHeader &h, auto &) { h.reviewer.clear(); h.number = 7; }, kNumberOrReviewer},
    {"NumberGapBeforeSummary", [](VoucherHeader &h, QList<VoucherLine> &l) { h.number = 7; l[0].summary.clear(); },
     kNotConsecutive, true},
    {"SummaryBeforeBalance", [](auto &, QList<VoucherLine> &l) { l[0].summary.clear(); l[1].credit = 1; }, kFirstSummary},
    {"BalanceBeforeLineCount", [](auto &, QList<VoucherLine> &l) { l.removeLast(); }, kUnbalanced},
};

void PrintTo(const SaveRefusal &c, std::ostream *os)
{
    *os << c.name;
}

TEST_P(PostingSaveRefusal, ShowsOneMessageAndWritesNothing)
{
    const SaveRefusal &c = GetParam();
    TestSet set;
    tz::Session &s = set.session();
    {
        ScriptedDialogs dialogs;
        PostingOutcome outcome;
        ASSERT_TRUE(tz::SaveVoucher(s, headerOf(3, 1), twoLines(u"v1"_s, 100), outcome, dialogs).isDone());
    }
    VoucherHeader header = headerOf(3, 2);
    QList<VoucherLine> lines = twoLines(u"v2"_s, 10000);
    c.change(header, lines);

    ScriptedDialogs dialogs;
    PostingOutcome outcome;
    const OpResult r = tz::SaveVoucher(s, header, lines, outcome, dialogs);
    EXPECT_TRUE(r.isRefused());
    EXPECT_EQ(r.message, c.expected.text);
    EXPECT_EQ(dialogs.messages, QList<Message>{c.expected});
    EXPECT_EQ(outcome.numberNotConsecutive, c.shadesNumberLabel);
    EXPECT_FALSE(outcome.nextNumber.has_value());
    EXPECT_EQ(tz::test::countOf(s, u"SELECT count(*) FROM 分录表"_s), 2);
}

INSTANTIATE_TEST_SUITE_P(Checks, PostingSaveRefusal, testing::ValuesIn(kSaveRefusals),
                         [](const auto &info) { return std::string(info.param.name); });

// Month 4 holds vouchers v1..v5 and month 5 one voucher w1.
class PostingRenumber : public Posting, public testing::WithParamInterface<int>
{
protected:
    void SetUp() override
    {
        saveVouchers(4, 5);
        ScriptedDialogs dialogs;
        PostingOutcome outcome;
        ASSERT_TRUE(tz::SaveVoucher(s, headerOf(5, 1), twoLines(u"w1"_s, 100), outcome, dialogs).isDone());
        m_otherMonth = monthIds(s, 5);
    }

    // Month 4 as it must be: the summaries in number order, two lines each.
    QList<QVariantList> expectedMonth(const QStringList &summaries)
    {
        QList<QVariantList> rows;
        for (int n = 1; n <= summaries.size(); ++n) {
            for (int line = 1; line <= 2; ++line)
                rows.append({idOf(4, n, line), n, summaries.at(n - 1)});
        }
        return rows;
    }

    QList<QVariantList> m_otherMonth;
};

class PostingInsert : public PostingRenumber
{
};

TEST_P(PostingInsert, MovesTheVouchersFromNOneNumberUp)
{
    const int n = GetParam();
    ScriptedDialogs dialogs({true});
    PostingOutcome outcome;
    ASSERT_TRUE(tz::InsertVoucher(s, headerOf(4, n), twoLines(u"新"_s, 700), outcome, dialogs).isDone());
    EXPECT_EQ(dialogs.questions,
              QList<Message>{question(u"真要插入此张凭证吗?原来的%1号凭证及以后的号码会自动增号"_s.arg(n))});
    EXPECT_EQ(dialogs.messages, QList<Message>{succeeded(u"凭证插入成功"_s)});
    EXPECT_EQ(outcome.nextNumber, 7);

    QStringList summaries = {u"v1"_s, u"v2"_s, u"v3"_s, u"v4"_s, u"v5"_s};
    summaries.insert(n - 1, u"新"_s);
    EXPECT_EQ(monthIds(s, 4), expectedMonth(summaries));
    EXPECT_EQ(monthIds(s, 5), m_otherMonth);
    // Line parts and amounts travel with their voucher.
    EXPECT_EQ(tz::test::rowsOf(s, u"SELECT 借方金额 FROM 分录表 WHERE ID = ?"_s, {idOf(4, 6, 1)}),
              QList<QVariantList>{{5.0}});
}

INSTANTIATE_TEST_SUITE_P(AtNumber, PostingInsert, testing::Values(1, 2, 5));

TEST_F(PostingRenumber, InsertPastTheLastNumberOrAnsweredNoChangesNothing)
{
    const QList<QVariantList> before = monthIds(s, 4);
    ScriptedDialogs past({true});
    PostingOutcome outcome;
    EXPECT_TRUE(tz::InsertVoucher(s, headerOf(4, 6), twoLines(u"新"_s, 700), outcome, past).isRefused());
    EXPECT_EQ(past.messages, QList<Message>{critical(u"此号码不在原凭证内,不能插入凭证"_s)});
    EXPECT_TRUE(past.questions.isEmpty());

    ScriptedDialogs no({false});
    EXPECT_TRUE(tz::InsertVoucher(s, headerOf(4, 2), twoLines(u"新"_s, 700), outcome, no).isRefused());
    EXPECT_EQ(no.questions.size(), 1);
    EXPECT_TRUE(no.messages.isEmpty());
    EXPECT_EQ(monthIds(s, 4), before);
}

class PostingDelete : public PostingRenumber
{
};

TEST_P(PostingDelete, MovesTheLaterVouchersOneNumberDown)
{
    const int n = GetParam();
    const tz::LoadedVoucher staged = fetch(4, n);
    ScriptedDialogs dialogs({true});
    PostingOutcome outcome;
    ASSERT_TRUE(tz::DeleteVoucher(s, staged.header, staged.lines, outcome, dialogs).isDone());
    EXPECT_EQ(dialogs.questions,
              QList<Message>{question(u"真要删除此张凭证吗?(%1号凭证),以后的号码会自动减号)"_s.arg(n))});
    EXPECT_EQ(dialogs.messages, QList<Message>{succeeded(u"凭证删除成功"_s)});
    EXPECT_EQ(outcome.nextNumber, 5);

    QStringList summaries = {u"v1"_s, u"v2"_s, u"v3"_s, u"v4"_s, u"v5"_s};
    summaries.removeAt(n - 1);
    EXPECT_EQ(monthIds(s, 4), expectedMonth(summaries));
    EXPECT_EQ(monthIds(s, 5), m_otherMonth);
    // The staging table still holds what was fetched.
    EXPECT_EQ(tz::test::countOf(s, u"SELECT count(*) FROM 分录始表 WHERE 号码 = ?"_s, {n}), 2);
}

INSTANTIATE_TEST_SUITE_P(Number, PostingDelete, testing::Values(1, 2, 5));

TEST_F(PostingRenumber, ModifyReplacesTheLinesOfTheStagedVoucher)
{
    tz::LoadedVoucher staged = fetch(4, 3);
    staged.header.reviewer = u"出纳"_s;
    QList<VoucherLine> lines = {debitLine(u"改"_s, u"1001"_s, 300), creditLine({}, u"1122"_s, 100),
                                creditLine({}, u"5001 主营业务收入"_s, 200)};
    ScriptedDialogs dialogs({true});
    PostingOutcome outcome;
    ASSERT_TRUE(tz::ModifyVoucher(s, staged.header, lines, outcome, dialogs).isDone());
    EXPECT_EQ(dialogs.questions, QList<Message>{question(u"真要修改此张凭证吗?(3号凭证)"_s)});
    EXPECT_EQ(dialogs.messages, QList<Message>{succeeded(u"凭证修改成功"_s)});
    EXPECT_EQ(outcome.nextNumber, 6);
    EXPECT_EQ(tz::test::rowsOf(s, u"SELECT ID, 审核, 科目代码 FROM 分录表 WHERE 月 = 4 AND 号码 = 3 ORDER BY ID"_s),
              (QList<QVariantList>{{idOf(4, 3, 1), u"出纳"_s, u"1001"_s},
                                   {idOf(4, 3, 2), u"出纳"_s, u"1122"_s},
                                   {idOf(4, 3, 3), u"出纳"_s, u"5001"_s}}));
    EXPECT_EQ(tz::test::countOf(s, u"SELECT count(*) FROM 分录表 WHERE 月 = 4"_s), 11);
}

// Modify and delete refuse unless voucher n of this month is the one staged.
struct StagingRefusal
{
    const char *name;
    std::function<void(tz::Session &)> stage; // what 分录始表 holds
    int number;                              // the voucher acted on, in month 4
    QString modifyText;
    QString deleteText;
};

TEST_F(PostingRenumber, ModifyAndDeleteRefuseAnythingButTheStagedVoucherOfTheMonth)
{
    const auto fetchIn = [this](int month, int number) { return [=, this](tz::Session &) { fetch(month, number); }; };
    const QString notStagedModify = u"不能修改凭证,要查询出来的号码才能修改"_s;
    const QString notStagedDelete = u"不能删除凭证,要查询出来的号码才能删除"_s;
    const StagingRefusal cases[] = {
        {"NumberPastTheMonth", fetchIn(4, 5), 6, u"不能修改凭证,号码出错"_s, u"此号码没有内容"_s},
        {"NothingStaged", [](tz::Session &session) { session.execSql(u"DELETE FROM 分录始表"_s); }, 3,
         u"没有数据"_s, u"没有数据"_s},
        {"AnotherVoucherStaged", fetchIn(4, 2), 1, notStagedModify, notStagedDelete},
        {"SameNumberOfAnotherMonth", fetchIn(5, 1), 1, notStagedModify, notStagedDelete},
        {"ScratchRowsOfAnotherWindow",
         [](tz::Session &session) {
             session.execSql(u"DELETE FROM 分录始表"_s);
             session.execSql(u"INSERT INTO 分录始表 (ID, 科目代码, 借方金额) VALUES (1, '1001', 5)"_s);
         },
         1, notStagedModify, notStagedDelete},
    };
    const QList<QVariantList> before = monthIds(s, 4);
    for (const StagingRefusal &c : cases) {
        SCOPED_TRACE(c.name);
        c.stage(s);
        const VoucherHeader header = headerOf(4, c.number);
        PostingOutcome outcome;
        ScriptedDialogs modify({true});
        EXPECT_TRUE(tz::ModifyVoucher(s, header, twoLines(u"改"_s, 1), outcome, modify).isRefused());
        EXPECT_EQ(modify.messages, QList<Message>{critical(c.modifyText)});
        ScriptedDialogs remove({true});
        EXPECT_TRUE(tz::DeleteVoucher(s, header, twoLines(u"删"_s, 1), outcome, remove).isRefused());
        EXPECT_EQ(remove.messages, QList<Message>{critical(c.deleteText)});
        EXPECT_TRUE(modify.questions.isEmpty() && remove.questions.isEmpty());
        EXPECT_EQ(monthIds(s, 4), before);
    }

    // Delete checks the first summary before it looks at the staging table.
    s.execSql(u"DELETE FROM 分录始表"_s);
    ScriptedDialogs noSummary;
    PostingOutcome outcome;
    EXPECT_TRUE(tz::DeleteVoucher(s, headerOf(4, 2), twoLines(QString(), 1), outcome, noSummary).isRefused());
    EXPECT_EQ(noSummary.messages, QList<Message>{kFirstSummary});
}

// A closed month refuses every operation, except December.
class PostingClosedMonth : public Posting, public testing::WithParamInterface<int>
{
};

TEST_P(PostingClosedMonth, RefusesEveryOperationUnlessDecember)
{
    const int month = GetParam();
    saveVouchers(month, 2);
    s.execSql(u"UPDATE 分录表 SET 结帐 = 1 WHERE 月 = ?"_s, {month});
    const bool open = month == 12;

    struct Step
    {
        const char *name;
        std::function<OpResult(ScriptedDialogs &)> run;
    };
    PostingOutcome outcome;
    const Step steps[] = {
        {"save", [&](ScriptedDialogs &d) { return tz::SaveVoucher(s, headerOf(month, 3), twoLines(u"存"_s, 5), outcome, d); }},
        {"save with a wrong number",
         [&](ScriptedDialogs &d) { return tz::SaveVoucher(s, headerOf(month, 9), twoLines(u"存"_s, 5), outcome, d); }},
        {"insert",
         [&](ScriptedDialogs &d) { return tz::InsertVoucher(s, headerOf(month, 1), twoLines(u"插"_s, 5), outcome, d); }},
        {"modify",
         [&](ScriptedDialogs &d) {
             fetch(month, 2);
             return tz::ModifyVoucher(s, headerOf(month, 2), twoLines(u"改"_s, 5), outcome, d);
         }},
        {"delete",
         [&](ScriptedDialogs &d) {
             fetch(month, 1);
             return tz::DeleteVoucher(s, headerOf(month, 1), twoLines(u"删"_s, 5), outcome, d);
         }},
    };
    for (const Step &step : steps) {
        SCOPED_TRACE(step.name);
        const qlonglong before = journalLines();
        ScriptedDialogs dialogs({true});
        const OpResult r = step.run(dialogs);
        if (open && std::string(step.name) != "save with a wrong number") {
            EXPECT_TRUE(r.isDone()) << r.message.toStdString();
        } else if (open) {
            EXPECT_EQ(dialogs.messages, QList<Message>{kNotConsecutive});
        } else {
            EXPECT_TRUE(r.isRefused());
            EXPECT_EQ(dialogs.messages, QList<Message>{closedMonth(month)});
            EXPECT_EQ(journalLines(), before);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Month, PostingClosedMonth, testing::Values(1, 6, 11, 12));

void insertRaw(tz::Session &s, int month, int number)
{
    for (int line = 1; line <= 2; ++line) {
        s.execSql(u"INSERT INTO 分录表 (ID, 日期, 月, 字号, 号码, 审核, 摘要说明, 科目代码, 借方金额, 贷方金额) "
                  "VALUES (?, ?, ?, '记', ?, '会计', 'raw', ?, ?, ?)"_s,
                  {idOf(month, number, line), QDate(2024, month, 1).toString(u"yyyy-MM-dd"_s), month, number,
                   line == 1 ? u"1001"_s : u"1122"_s, line == 1 ? QVariant(1.0) : kNull,
                   line == 2 ? QVariant(1.0) : kNull});
    }
}

TEST_F(Posting, TheMonthsVoucherNineThousandNineHundredNinetyNineIsTheLast)
{
    insertRaw(s, 6, 9999); // stands for a month that is full
    const qlonglong before = journalLines();
    const Message full = critical(u"本月凭证已有9999张,不能再保存凭证"_s);
    PostingOutcome outcome;
    ScriptedDialogs save;
    EXPECT_TRUE(tz::SaveVoucher(s, headerOf(6, 10000), twoLines(u"多"_s, 1), outcome, save).isRefused());
    EXPECT_EQ(save.messages, QList<Message>{full});
    ScriptedDialogs insert({true});
    EXPECT_TRUE(tz::InsertVoucher(s, headerOf(6, 9999), twoLines(u"多"_s, 1), outcome, insert).isRefused());
    EXPECT_EQ(insert.messages, QList<Message>{critical(u"本月凭证已有9999张,不能再插入凭证"_s)});
    EXPECT_TRUE(insert.questions.isEmpty());
    EXPECT_EQ(journalLines(), before);

    // Modify needs no new number; voucher 9999 of a month with 9998 is fine.
    fetch(6, 9999);
    ScriptedDialogs modify({true});
    EXPECT_TRUE(tz::ModifyVoucher(s, headerOf(6, 9999), twoLines(u"改"_s, 2), outcome, modify).isDone());
    insertRaw(s, 7, 9998);
    ScriptedDialogs last;
    ASSERT_TRUE(tz::SaveVoucher(s, headerOf(7, 9999), twoLines(u"末"_s, 1), outcome, last).isDone());
    EXPECT_EQ(outcome.nextNumber, 10000);
    EXPECT_EQ(tz::test::countOf(s, u"SELECT count(*) FROM 分录表 WHERE ID = ? AND 号码 = 9999"_s, {idOf(7, 9999, 2)}), 1);
}

TEST_F(Posting, AVoucherHasAtMostNineHundredNinetyNineLines)
{
    QList<VoucherLine> lines;
    for (int i = 0; i < 998; ++i)
        lines.append(debitLine(u"多行"_s, u"1001"_s, 1));
    lines.append(creditLine({}, u"1122"_s, 998));
    lines.append(creditLine({}, u"1122"_s, 0));
    ScriptedDialogs tooMany;
    PostingOutcome outcome;
    EXPECT_TRUE(tz::SaveVoucher(s, headerOf(8, 1), lines, outcome, tooMany).isRefused());
    EXPECT_EQ(tooMany.messages, QList<Message>{critical(u"一张凭证最多999行,此凭证有1000行"_s)});
    EXPECT_EQ(journalLines(), 0);

    lines.removeLast();
    ScriptedDialogs dialogs;
    ASSERT_TRUE(tz::SaveVoucher(s, headerOf(8, 1), lines, outcome, dialogs).isDone());
    EXPECT_EQ(tz::test::countOf(s, u"SELECT max(ID) FROM 分录表"_s), idOf(8, 1, 999));
}

TEST_F(Posting, AFailedWriteUndoesTheWholeOperation)
{
    saveVouchers(4, 3);
    const QList<QVariantList> before = monthIds(s, 4);
    s.execSql(u"CREATE TRIGGER 拒绝 BEFORE INSERT ON 分录表 WHEN NEW.摘要说明 = 'boom' "
              "BEGIN SELECT RAISE(ABORT, 'disk full'); END"_s);

    // Insert renumbers before it writes; modify deletes before it writes.
    ScriptedDialogs insert({true});
    PostingOutcome outcome;
    const OpResult inserted = tz::InsertVoucher(s, headerOf(4, 2), twoLines(u"boom"_s, 1), outcome, insert);
    EXPECT_TRUE(inserted.isFailed());
    ASSERT_EQ(insert.messages.size(), 1);
    EXPECT_EQ(insert.messages.first().title, kNotice);
    EXPECT_EQ(insert.messages.first().icon, Icon::Critical);
    EXPECT_TRUE(insert.messages.first().text.contains(u"disk full"_s)) << insert.messages.first().text.toStdString();
    EXPECT_FALSE(outcome.nextNumber.has_value());
    EXPECT_EQ(monthIds(s, 4), before);

    fetch(4, 2);
    ScriptedDialogs modify({true});
    EXPECT_TRUE(tz::ModifyVoucher(s, headerOf(4, 2), twoLines(u"boom"_s, 1), outcome, modify).isFailed());
    EXPECT_EQ(modify.messages.size(), 1);
    EXPECT_EQ(monthIds(s, 4), before);
}

} // namespace

namespace {

// The peak resident memory counted from here on (VmHWM after this), and
// the memory now held, in KiB.
void resetPeakMemory()
{
    QFile clear(u"/proc/self/clear_refs"_s);
    ASSERT_TRUE(clear.open(QIODevice::WriteOnly));
    clear.write("5");
}

// Under AddressSanitizer freed blocks wait in its quarantine and every block
// carries red zones, so the peak there says nothing of what the program holds:
// the bounds on it are checked in the plain build only.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kPeakIsTheProgramsOwn = false;
#else
constexpr bool kPeakIsTheProgramsOwn = true;
#endif

qint64 memoryKiB(const char *field)
{
    QFile status(u"/proc/self/status"_s);
    status.open(QIODevice::ReadOnly);
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(field))
            return line.mid(qstrlen(field)).trimmed().split(' ').value(0).toLongLong();
    }
    return 0;
}

} // namespace

// The import reads its file a block at a time: a file of many blocks, with
// a quoted summary broken over lines and a malformed last line, is refused
// at that line's number while the program's peak grows by less than the
// file's size (reading it whole held it twice over, as bytes and as text).
TEST(VoucherImportFile, ReadsBlocksAndRefusesAtTheLineWithoutHoldingTheFile)
{
    tz::test::TestSet set;
    QTemporaryDir dir;
    const QString path = dir.filePath(u"凭证.csv"_s);
    QByteArray body = "凭证,日期,字号,附件,审核,摘要说明,科目代码,数量,借方金额,贷方金额,流代,流金\r\n";
    const QByteArray voucher = "A,2024-01-05,记,1,会计,\"收货款,\n\"\"甲\"\"公司 一二三四五六七八九十\",1001,,10,,,\r\n"
                               "A,,,,,,1122,,,10,,\r\n";
    int lines = 1;
    while (body.size() < (24 << 20)) {
        body += voucher;
        lines += 3;
    }
    body += "B,2024-01-06,记,1,会计,\"坏,1001,,10,,,\n";
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(body), body.size());
    file.close();
    body.clear();
    body.squeeze();

    resetPeakMemory();
    const qint64 before = memoryKiB("VmRSS:");
    tz::test::ScriptedDialogs dialogs;
    tz::ImportCounts counts;
    EXPECT_TRUE(tz::ImportVouchers(set.session(), path, counts, dialogs).isRefused());
    EXPECT_EQ(dialogs.messages, (QList<tz::test::Message>{{u"第%1行: 引号没有结束"_s.arg(lines + 1), u"TZ305提示"_s,
                                                           tz::Icon::Critical}}));
    if (kPeakIsTheProgramsOwn)
        EXPECT_LT(memoryKiB("VmHWM:") - before, QFileInfo(path).size() / 1024);
}

// The trail digests a month's vouchers a few hundred at a time: logging a
// full month (9,000 vouchers, 36,000 lines) grows the peak by a fraction of
// what its lines take as one result (some 30 MiB), and the digests are
// those that check computes from the whole year read at once.
TEST(TrailOfChanges, AFullMonthIsDigestedAFewHundredVouchersAtATime)
{
    tz::test::TestSet set;
    tz::Session &s = set.session();
    s.execSql(u"WITH RECURSIVE n(k) AS (SELECT 0 UNION ALL SELECT k + 1 FROM n WHERE k < 35999) "
              "INSERT INTO 分录表 (ID, 日期, 月, 字号, 号码, 制单, 审核, 附件, 摘要说明, 科目代码, 借方金额, 贷方金额) "
              "SELECT 8010000000 + (k / 4 + 1) * 1000 + k % 4 + 1, '2024-01-05', 1, '记', k / 4 + 1, '出纳', '主管', 1, "
              "'收回货款 ' || k, CASE k % 2 WHEN 0 THEN '1001' ELSE '1122' END, CASE k % 2 WHEN 0 THEN 10.5 END, "
              "CASE k % 2 WHEN 1 THEN 10.5 END FROM n"_s);
    resetPeakMemory();
    const qint64 before = memoryKiB("VmRSS:");
    {
        tz::Transaction transaction(s);
        tz::logVouchers(s, u"导入"_s, 1, 1, std::numeric_limits<int>::max());
        transaction.commit();
    }
    if (kPeakIsTheProgramsOwn)
        EXPECT_LT(memoryKiB("VmHWM:") - before, 8 * 1024);
    EXPECT_EQ(s.RunSql(u"SELECT count(*), max(号码) FROM 凭证指纹"_s).rows(), (QList<QVariantList>{{9000, 9000}}));
    EXPECT_EQ(tz::changeLogProblems(s), QStringList());
}
