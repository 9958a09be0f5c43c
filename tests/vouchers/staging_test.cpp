// The voucher on view: navigation steps with their number box and messages,
// the staging table they leave, loading a staged voucher (lines whose
// account left the chart included, stored figures kept), re-saving a loaded
// voucher without rounding, and the small value rules the window relies on.
#include <gtest/gtest.h>

#include <functional>

#include "store/session.h"
#include "tests/support/scripteddialogs.h"
#include "tests/support/testset.h"
#include "tests/vouchers/postingsupport.h"
#include "vouchers/entrylines.h"
#include "vouchers/posting.h"
#include "vouchers/staging.h"

using namespace Qt::Literals::StringLiterals;
using tz::Icon;
using tz::NavigationResult;
using tz::OpResult;
using tz::PostingOutcome;
using tz::VoucherLine;
using tz::test::headerOf;
using tz::test::idOf;
using tz::test::Message;
using tz::test::ScriptedDialogs;
using tz::test::TestSet;
using tz::test::twoLines;

namespace {

const QVariant kNull;

TEST(VoucherValues, LeadingNumberAccountCodeAndEntryId)
{
    const std::pair<QString, int> numbers[] = {
        {u"12"_s, 12}, {u"12a"_s, 12}, {u"  7"_s, 7}, {u""_s, 0}, {u"abc"_s, 0}, {u"-3"_s, 0},
        {u"99999999999999"_s, 999'999'999},
    };
    for (const auto &[text, value] : numbers)
        EXPECT_EQ(tz::leadingNumber(text), value) << text.toStdString();

    const std::pair<QString, QString> codes[] = {
        {u"1001 库存现金"_s, u"1001"_s}, {u"  1122  应收账款/甲"_s, u"1122"_s}, {u"1002001"_s, u"1002001"_s},
        {u"   "_s, u""_s}, {u""_s, u""_s},
    };
    for (const auto &[cell, code] : codes) {
        VoucherLine line;
        line.account = cell;
        EXPECT_EQ(line.code(), code) << cell.toStdString();
        EXPECT_EQ(line.hasAccount(), !code.isEmpty());
    }

    EXPECT_EQ(tz::entryLineId(3, 12, 2), 8030012002);
    EXPECT_EQ(tz::entryLineId(12, 9999, 999), 8129999999);
    EXPECT_EQ(tz::entryLineId(1, 1, 1), 8010001001);
    for (const auto &[m, n, l] : {std::tuple{0, 1, 1}, {13, 1, 1}, {1, 0, 1}, {1, 10000, 1}, {1, 1, 0}, {1, 1, 1000}})
        EXPECT_EQ(tz::entryLineId(m, n, l), std::nullopt) << m << ' ' << n << ' ' << l;
}

TEST(VoucherValues, GridTotalsCountEveryRowTheCheckOnlyTheWrittenOnes)
{
    VoucherLine gap;
    gap.debit = 700;
    const QList<VoucherLine> lines = {tz::test::debitLine(u"a"_s, u"1001"_s, 100),
                                      tz::test::creditLine({}, u"1122"_s, 100), gap,
                                      tz::test::creditLine({}, u"1122"_s, 50)};
    EXPECT_EQ(tz::gridTotals(lines), (tz::VoucherTotals{800, 150}));
    EXPECT_EQ(tz::entryTotals(tz::buildEntryLines(lines)), (tz::VoucherTotals{100, 100}));
}

// Month 2 holds vouchers 1..3 (summaries v1..v3); month 9 is empty.
class Staging : public testing::Test
{
protected:
    void SetUp() override
    {
        for (int n = 1; n <= 3; ++n) {
            ScriptedDialogs dialogs;
            PostingOutcome outcome;
            ASSERT_TRUE(tz::SaveVoucher(s, headerOf(2, n), twoLines(u"v%1"_s.arg(n), 100 * n), outcome, dialogs)
                            .isDone());
        }
    }

    // Fills the staging table with something, as another window would.
    void dirtyStaging()
    {
        s.execSql(u"INSERT INTO 分录始表 (ID, 科目代码) VALUES (1, '1001')"_s);
    }

    QList<QVariantList> staged()
    {
        return tz::test::rowsOf(s, u"SELECT ID, 月, 号码 FROM 分录始表 ORDER BY ID"_s);
    }

    TestSet set;
    tz::Session &s = set.session();
};

enum class Step {
    First,
    Previous,
    Next,
    Last,
};

struct NavigationCase
{
    const char *name;
    Step step;
    int month;
    QString numberBefore;
    QString numberAfter;
    int loaded; // number of the voucher on view afterwards; 0 for none
    std::optional<Message> message;
};

TEST_F(Staging, NavigationStepsLeaveTheBoxTheViewAndTheStagingTable)
{
    const QString notice = u"TZ305提示"_s;
    const Message blank{u"号码不能为空!!"_s, notice, Icon::Critical};
    const NavigationCase cases[] = {
        {"first", Step::First, 2, u""_s, u"1"_s, 1, {}},
        {"previous", Step::Previous, 2, u"3"_s, u"2"_s, 2, {}},
        {"previous of 1", Step::Previous, 2, u"1"_s, u"1"_s, 0, Message{u"已经是第一张了!!"_s, notice, Icon::Critical}},
        {"previous of blank", Step::Previous, 2, u" "_s, u" "_s, 0, blank},
        {"next", Step::Next, 2, u"1"_s, u"2"_s, 2, {}},
        {"next of 2a", Step::Next, 2, u"2a"_s, u"3"_s, 3, {}},
        {"next past the last", Step::Next, 2, u"3"_s, u"3"_s, 0, Message{u"已经是最后一条了"_s, u"TZ305"_s, Icon::None}},
        {"next of blank", Step::Next, 2, u""_s, u""_s, 0, blank},
        {"last", Step::Last, 2, u"1"_s, u"3"_s, 3, {}},
        {"last of an empty month", Step::Last, 9, u"7"_s, u"7"_s, 0,
         Message{u"7 号凭证没有数据,注意凭证号"_s, notice, Icon::Exclamation}},
        {"first of an empty month", Step::First, 9, u""_s, u""_s, 0,
         Message{u" 号凭证没有数据,注意凭证号"_s, notice, Icon::Exclamation}},
        {"next in an empty month", Step::Next, 9, u"0"_s, u"0"_s, 0, Message{u"已经是最后一条了"_s, u"TZ305"_s, Icon::None}},
    };
    for (const NavigationCase &c : cases) {
        SCOPED_TRACE(c.name);
        dirtyStaging();
        ScriptedDialogs dialogs;
        NavigationResult view;
        view.numberText = u"junk"_s;
        OpResult r;
        switch (c.step) {
        case Step::First:
            r = tz::FirstVoucher(s, c.month, c.numberBefore, view, dialogs);
            break;
        case Step::Previous:
            r = tz::PreviousVoucher(s, c.month, c.numberBefore, view, dialogs);
            break;
        case Step::Next:
            r = tz::NextVoucher(s, c.month, c.numberBefore, view, dialogs);
            break;
        case Step::Last:
            r = tz::LastVoucher(s, c.month, c.numberBefore, view, dialogs);
            break;
        }
        EXPECT_EQ(view.numberText, c.numberAfter);
        EXPECT_EQ(r.isDone(), c.loaded != 0);
        EXPECT_EQ(dialogs.messages, c.message ? QList<Message>{*c.message} : QList<Message>{});
        if (c.loaded) {
            ASSERT_TRUE(view.voucher.has_value());
            EXPECT_EQ(view.voucher->header.number, c.loaded);
            EXPECT_EQ(view.voucher->lines.first().summary, u"v%1"_s.arg(c.loaded));
            EXPECT_EQ(staged(), (QList<QVariantList>{{idOf(c.month, c.loaded, 1), c.month, c.loaded},
                                                     {idOf(c.month, c.loaded, 2), c.month, c.loaded}}));
        } else {
            EXPECT_FALSE(view.voucher.has_value());
            EXPECT_TRUE(staged().isEmpty()); // emptied even by a refused step
        }
    }
}

TEST_F(Staging, NextNumberIsTheLargestPlusOne)
{
    ScriptedDialogs dialogs;
    int number = 0;
    ASSERT_TRUE(tz::NextVoucherNumber(s, 2, number, dialogs).isDone());
    EXPECT_EQ(number, 4);
    ASSERT_TRUE(tz::NextVoucherNumber(s, 9, number, dialogs).isDone());
    EXPECT_EQ(number, 1);
    EXPECT_TRUE(dialogs.messages.isEmpty());
}

TEST_F(Staging, LoadShowsTheHeaderAndEveryLineInIdOrder)
{
    // Voucher 4 of month 2 written out of order, with a line whose account is
    // not in the chart and one whose summary, figures and item are empty.
    const auto raw = [this](int line, const QVariant &summary, const QString &code, const QVariant &quantity,
                            const QVariant &debit, const QVariant &credit, const QVariant &flowCode,
                            const QVariant &flowAmount) {
        s.execSql(u"INSERT INTO 分录表 (ID, 日期, 月, 字号, 号码, 制单, 审核, 附件, 摘要说明, 科目代码, 数量, "
                  "借方金额, 贷方金额, 流代, 流金) VALUES (?, '2024-02-28', 2, '转', 4, '出纳', '主管', 3, ?, ?, ?, ?, "
                  "?, ?, ?)"_s,
                  {idOf(2, 4, line), summary, code, quantity, debit, credit, flowCode, flowAmount});
    };
    raw(3, u"丙"_s, u"1122"_s, kNull, kNull, 30.0, u""_s, kNull);
    raw(1, u"甲"_s, u"1001"_s, 1.23456789, 12.345, kNull, u"101"_s, 12.345);
    raw(2, kNull, u"1999001"_s, kNull, kNull, kNull, kNull, kNull);

    ScriptedDialogs dialogs;
    NavigationResult view;
    ASSERT_TRUE(tz::FetchVoucher(s, 2, 4, view, dialogs).isDone());
    EXPECT_TRUE(dialogs.messages.isEmpty());
    EXPECT_EQ(view.numberText, u"4"_s);
    ASSERT_TRUE(view.voucher.has_value());
    tz::VoucherHeader header;
    header.date = QDate(2024, 2, 28);
    header.word = u"转"_s;
    header.number = 4;
    header.attachments = 3;
    header.preparer = u"出纳"_s;
    header.reviewer = u"主管"_s;
    EXPECT_EQ(view.voucher->header, header);

    VoucherLine first;
    first.summary = u"甲"_s;
    first.account = u"1001 库存现金"_s;
    first.quantity = 1.23456789;
    first.debit = 1235; // shown rounded half up, stored value kept behind it
    first.flowCode = u"101"_s;
    first.flowAmount = 1235;
    first.stored = VoucherLine::Stored{12.345, std::nullopt, 12.345};
    VoucherLine missing;
    missing.account = u"1999001"_s; // no longer in the chart: the bare code
    missing.stored = VoucherLine::Stored{};
    VoucherLine third;
    third.summary = u"丙"_s;
    third.account = u"1122 应收账款"_s;
    third.credit = 3000;
    third.stored = VoucherLine::Stored{std::nullopt, 30.0, std::nullopt};
    EXPECT_EQ(view.voucher->lines, (QList<VoucherLine>{first, missing, third}));

    // The staging table can be read again without fetching.
    ScriptedDialogs again;
    NavigationResult reread;
    ASSERT_TRUE(tz::LoadStagedVoucher(s, u"x"_s, reread, again).isDone());
    EXPECT_EQ(reread.voucher, view.voucher);
}

TEST_F(Staging, ResavingALoadedVoucherKeepsWhatTheBooksHold)
{
    const auto raw = [this](int line, const QString &code, const QVariant &quantity, const QVariant &debit,
                            const QVariant &credit) {
        s.execSql(u"INSERT INTO 分录表 (ID, 日期, 月, 字号, 号码, 审核, 摘要说明, 科目代码, 数量, 借方金额, 贷方金额, 流代) "
                  "VALUES (?, '2024-02-20', 2, '记', 4, '主管', '外币', ?, ?, ?, ?, '')"_s,
                  {idOf(2, 4, line), code, quantity, debit, credit});
    };
    raw(1, u"1002002"_s, 1234.56789, 8901.234, kNull);
    raw(2, u"1999001"_s, kNull, kNull, 8901.234); // account left the chart
    const QString figures = u"SELECT 科目代码, 数量, 借方金额, 贷方金额 FROM 分录表 WHERE 月 = 2 AND 号码 = 4 ORDER BY ID"_s;
    const QList<QVariantList> before = tz::test::rowsOf(s, figures);

    ScriptedDialogs dialogs({true, true});
    NavigationResult view;
    ASSERT_TRUE(tz::FetchVoucher(s, 2, 4, view, dialogs).isDone());
    tz::VoucherHeader header = view.voucher->header;
    header.reviewer = u"会计"_s; // only the header changes
    PostingOutcome outcome;
    // A line whose account left the chart is shown but not posted again
    // until the account is back.
    ScriptedDialogs offChart({true});
    EXPECT_TRUE(tz::ModifyVoucher(s, header, view.voucher->lines, outcome, offChart).isRefused());
    EXPECT_EQ(offChart.messages.value(0), (Message{u"1999001  此科目不存在"_s, u"TZ305提示"_s, Icon::Exclamation}));
    s.execSql(u"INSERT INTO 科目表 (科目代码, 科目名称, 科目全称, 明细) VALUES ('1999001', '旧', '旧', 'Y')"_s);
    ASSERT_TRUE(tz::ModifyVoucher(s, header, view.voucher->lines, outcome, dialogs).isDone());
    EXPECT_EQ(tz::test::rowsOf(s, figures), before); // nothing rounded, no line lost

    // A retyped cell is written as shown.
    ASSERT_TRUE(tz::FetchVoucher(s, 2, 4, view, dialogs).isDone());
    QList<VoucherLine> lines = view.voucher->lines;
    lines[0].debit = 500;
    lines[1].credit = 500;
    ASSERT_TRUE(tz::ModifyVoucher(s, header, lines, outcome, dialogs).isDone());
    EXPECT_EQ(tz::test::rowsOf(s, figures), (QList<QVariantList>{{u"1002002"_s, 1234.56789, 5.0, kNull},
                                                                 {u"1999001"_s, kNull, kNull, 5.0}}));
}

} // namespace
