// Voucher printing: pages of 4, 6 and 8 lines on 6-line pages, the staging
// rows behind them, every line count a form holds and the refusal of more,
// the range checks and the saved settings.
#include "printing/voucherprint.h"

#include <gtest/gtest.h>

#include "store/session.h"
#include "tests/ledgers/ledgersupport.h"
#include "tests/support/envguard.h"
#include "tests/support/scripteddialogs.h"
#include "tests/support/testset.h"

using namespace Qt::Literals::StringLiterals;
using tz::Document;
using tz::Icon;
using tz::test::Message;
using tz::test::ScriptedDialogs;

namespace {

class VoucherPrint : public testing::Test
{
protected:
    tz::test::TestSet set;
    tz::Session &s = set.session();
    tz::VoucherPrintSettings settings;

    // Voucher `number` of March with `lines` lines: debits of 100, 200, …
    // on 1001 and one credit line on 5001 as the last line.
    void voucher(int number, int lines)
    {
        QList<tz::test::Line> out;
        double total = 0;
        for (int i = 1; i < lines; ++i) {
            out.append({3, number, i, u"1001"_s, 100.0 * i, {}, {}, u"收款%1"_s.arg(i)});
            total += 100.0 * i;
        }
        out.append({3, number, lines, u"5001"_s, {}, total, {}, u"收入"_s});
        tz::test::postLines(s, out);
    }

    Document preview(const QString &number, ScriptedDialogs &dialogs)
    {
        Document doc;
        EXPECT_TRUE(tz::LayOutVoucher(s, u"3"_s, number, settings, doc, dialogs).isDone());
        return doc;
    }

    QStringList staging() { return tz::test::table(s, u"SELECT 顺序, 月, 摘要说明 FROM 分录始表 ORDER BY 顺序"_s); }
};

TEST_F(VoucherPrint, FourLinesFillOnePageWithTwoBlankLines)
{
    voucher(1, 4);
    ScriptedDialogs dialogs;
    const Document doc = preview(u"1"_s, dialogs);
    ASSERT_EQ(doc.pages.size(), 1);
    const QStringList texts = doc.pages[0].texts();
    EXPECT_TRUE(texts.contains(u"记 字第1号(1/1)"_s));
    EXPECT_TRUE(texts.contains(u"日期:  2024年03月15日"_s));
    EXPECT_TRUE(texts.contains(u"1001.库存现金"_s));
    EXPECT_TRUE(texts.contains(u"5001.主营业务收入"_s));
    EXPECT_EQ(texts.count(u"600.00"_s), 3); // the credit line and both totals
    EXPECT_TRUE(texts.contains(u"会计主管: "_s));
    EXPECT_EQ(staging(), (QStringList {u"1|1|收款1"_s, u"2|1|收款2"_s, u"3|1|收款3"_s, u"4|1|收入"_s, u"5|1|"_s,
                                       u"6|1|"_s}));
    EXPECT_TRUE(dialogs.messages.isEmpty());
}

TEST_F(VoucherPrint, SixLinesFillOnePageExactly)
{
    voucher(1, 6);
    ScriptedDialogs dialogs;
    EXPECT_EQ(preview(u"1"_s, dialogs).pages.size(), 1);
    EXPECT_EQ(staging().size(), 6);
}

TEST_F(VoucherPrint, EightLinesMakeTwoPagesWithFullTotalsOnEach)
{
    voucher(2, 8);
    settings.chiefAccountant = u"张三"_s;
    ScriptedDialogs dialogs;
    const Document doc = preview(u"2"_s, dialogs);
    ASSERT_EQ(doc.pages.size(), 2);
    EXPECT_TRUE(doc.pages[0].contains(u"记 字第2号(1/2)"_s));
    EXPECT_TRUE(doc.pages[1].contains(u"记 字第2号(2/2)"_s));
    EXPECT_EQ(doc.pageOf(u"收款6"_s), 1);
    EXPECT_EQ(doc.pageOf(u"收款7"_s), 2);
    EXPECT_EQ(doc.pageOf(u"收入"_s), 2);
    for (const tz::Page &page : doc.pages) {
        EXPECT_EQ(page.texts().count(u"2,800.00"_s), 2 + (&page == &doc.pages[1]));
        EXPECT_TRUE(page.contains(u"会计主管: 张三"_s));
    }
    EXPECT_EQ(staging().size(), 12);
    EXPECT_EQ(staging().last(), u"12|2|"_s);
}

TEST_F(VoucherPrint, LineNumbersAreRanksEvenWhenTheLinePartWraps)
{
    // A generated voucher whose line part runs 998, 999, 000, 001.
    tz::test::postLines(s, {{3, 1, 998, u"1001"_s, 1.0, {}}, {3, 1, 999, u"1001"_s, 2.0, {}},
                            {3, 2, 0, u"1001"_s, 3.0, {}}, {3, 2, 1, u"5001"_s, {}, 6.0}});
    s.execSql(u"UPDATE 分录表 SET 号码 = 1"_s);
    settings.linesPerPage = 2;
    ScriptedDialogs dialogs;
    const Document doc = preview(u"1"_s, dialogs);
    ASSERT_EQ(doc.pages.size(), 2);
    EXPECT_EQ(tz::test::table(s, u"SELECT 顺序, 月, ifnull(借方金额, 贷方金额) FROM 分录始表 ORDER BY ID"_s),
              (QStringList {u"1|1|1"_s, u"2|1|2"_s, u"3|2|3"_s, u"4|2|6"_s}));
}

TEST_F(VoucherPrint, EveryAcceptedLineCountFitsTheFormAndMoreAreRefused)
{
    voucher(1, 19);
    struct Case
    {
        tz::VoucherForm form;
        double topCm;
        int most;
        QString refusal;
    };
    const QList<Case> cases {
        {tz::VoucherForm::Small, 1, 16, u"凭证行数太多: 21*11CM的凭证上边1CM时每页最多16行,请减少凭证行数"_s},
        {tz::VoucherForm::Large, 1, 19, u"凭证行数太多: 25*12CM的凭证上边1CM时每页最多19行,请减少凭证行数"_s},
        {tz::VoucherForm::Small, 5, 5, u"凭证行数太多: 21*11CM的凭证上边5CM时每页最多5行,请减少凭证行数"_s},
        {tz::VoucherForm::Large, 8, 0, u"上边CM太大: 25*12CM的凭证上边8CM时放不下一行,请减小上边CM"_s},
    };
    for (const Case &c : cases) {
        settings.form = c.form;
        settings.topCm = c.topCm;
        // Each page of lines is one sheet: totals and signatures never
        // spill onto a sheet of their own.
        for (settings.linesPerPage = 1; settings.linesPerPage <= c.most; ++settings.linesPerPage) {
            ScriptedDialogs dialogs;
            const int pages = (19 + settings.linesPerPage - 1) / settings.linesPerPage;
            EXPECT_EQ(preview(u"1"_s, dialogs).pages.size(), pages) << c.topCm << " cm, lines " << settings.linesPerPage;
        }
        ScriptedDialogs one, range;
        Document doc;
        EXPECT_TRUE(tz::LayOutVoucher(s, u"3"_s, u"1"_s, settings, doc, one).isRefused());
        EXPECT_TRUE(tz::LayOutVoucherRange(s, 3, 1, 1, settings, true, doc, range).isRefused());
        for (const ScriptedDialogs *dialogs : {&one, &range})
            EXPECT_EQ(dialogs->messages, (QList<Message> {{c.refusal, u"TZ305提示"_s, Icon::Critical}}));
        EXPECT_TRUE(range.questions.isEmpty());
    }
}

TEST_F(VoucherPrint, RefusalsTellWhatIsMissing)
{
    voucher(1, 2);
    struct Case
    {
        QString month, number;
        int lines;
        Message message;
    };
    const QList<Case> cases {
        {u"3"_s, u"1"_s, 0, {u"请设置凭证的行数(号码为空?)"_s, u"TZ305"_s, Icon::None}},
        {u"3"_s, u""_s, 6, {u"请设置凭证的行数(号码为空?)"_s, u"TZ305"_s, Icon::None}},
        {u""_s, u"1"_s, 6, {u"月份或号码不能为空"_s, u"TZ305"_s, Icon::None}},
        {u"3"_s, u"7"_s, 6, {u"本月没有第7号凭证"_s, u"TZ305"_s, Icon::Exclamation}},
    };
    for (const Case &c : cases) {
        ScriptedDialogs dialogs;
        Document doc;
        settings.linesPerPage = c.lines;
        EXPECT_TRUE(tz::LayOutVoucher(s, c.month, c.number, settings, doc, dialogs).isRefused());
        EXPECT_EQ(dialogs.messages, QList<Message> {c.message});
        EXPECT_TRUE(doc.pages.isEmpty());
    }
}

TEST_F(VoucherPrint, RangeChecksItsBoundsAsksAndJoinsTheVouchers)
{
    voucher(1, 4);
    voucher(2, 8);
    voucher(3, 2);
    const auto range = [&](int from, int to, bool ask, ScriptedDialogs &dialogs, Document &doc) {
        return tz::LayOutVoucherRange(s, 3, from, to, settings, ask, doc, dialogs);
    };
    Document doc;
    ScriptedDialogs tooFar, reversed, no, yes;
    EXPECT_TRUE(range(1, 4, true, tooFar, doc).isRefused());
    EXPECT_EQ(tooFar.messages, (QList<Message> {{u"最大号码错误"_s, u"TZ305"_s, Icon::Exclamation}}));
    EXPECT_TRUE(range(3, 2, true, reversed, doc).isRefused());
    EXPECT_EQ(reversed.messages, (QList<Message> {{u"号码要前小后大"_s, u"TZ305"_s, Icon::Exclamation}}));
    EXPECT_TRUE(range(1, 3, true, no, doc).isRefused());
    EXPECT_EQ(no.questions, (QList<Message> {{u"是否进行连续打印凭证？"_s, u"TZ305"_s, Icon::Question}}));
    EXPECT_TRUE(doc.pages.isEmpty());

    ASSERT_TRUE(range(1, 3, false, yes, doc).isDone());
    ASSERT_EQ(doc.pages.size(), 4);
    EXPECT_TRUE(doc.pages[0].contains(u"记 字第1号(1/1)"_s));
    EXPECT_TRUE(doc.pages[2].contains(u"记 字第2号(2/2)"_s));
    EXPECT_TRUE(doc.pages[3].contains(u"记 字第3号(1/1)"_s));
    EXPECT_TRUE(yes.questions.isEmpty());
}

TEST_F(VoucherPrint, SettingsAreSavedPerUser)
{
    tz::test::EnvGuard data("TZ305_DATA_DIR", set.folder().toUtf8());
    ScriptedDialogs dialogs;
    EXPECT_EQ(tz::loadVoucherSettings().lines, u"6"_s); // until saved
    ASSERT_TRUE(tz::SaveVoucherSettings({u"1.5"_s, u"0.8"_s, u"7"_s, u"张三"_s, u"李四"_s}, dialogs).isDone());
    EXPECT_EQ(dialogs.messages, (QList<Message> {{u"保存OK"_s, u"TZ305"_s, Icon::None}}));
    const tz::SavedVoucherSettings back = tz::loadVoucherSettings();
    EXPECT_EQ(back.leftCm, u"1.5"_s);
    EXPECT_EQ(back.topCm, u"0.8"_s);
    EXPECT_EQ(back.lines, u"7"_s);
    EXPECT_EQ(back.chiefAccountant, u"张三"_s);
    EXPECT_EQ(back.bookkeeper, u"李四"_s);
}

} // namespace
