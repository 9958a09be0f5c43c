// Account-book pages against hand counts: one page, a full page whose
// carried row opens a second, one row more, several pages with the carried
// figures equal to the running balance, the general ledger without carried
// rows, and the quantity and fixed-asset pages' carried columns.
#include "printing/ledgerpages.h"

#include <gtest/gtest.h>

#include "ledgers/fixedassetledger.h"
#include "printing/ledgerrange.h"
#include "printing/progress.h"
#include "ledgers/quantityledger.h"
#include "ledgers/threecolumnledger.h"
#include "store/session.h"
#include "tests/ledgers/ledgersupport.h"
#include "tests/support/scripteddialogs.h"
#include "tests/support/testset.h"

using namespace Qt::Literals::StringLiterals;
using tz::Document;
using tz::LedgerPageKind;
using tz::test::ScriptedDialogs;

namespace {

class LedgerPages : public testing::Test
{
protected:
    tz::test::TestSet set;
    tz::Session &s = set.session();
    ScriptedDialogs dialogs;

    // `count` January lines on 1001, line i debiting 10 × i; the detail
    // ledger then has count + 3 rows (本月合计, 本年累计, 结转下年).
    Document detailPages(int count, bool general = false)
    {
        QList<tz::test::Line> lines;
        for (int i = 1; i <= count; ++i)
            lines.append({1, i, 1, u"1001"_s, 10.0 * i, {}});
        tz::test::postLines(s, lines);
        EXPECT_TRUE((general ? tz::BuildGeneralLedger : tz::BuildDetailLedger)(s, u"1001"_s, u"借"_s, dialogs).isDone());
        tz::LedgerPageHeading heading;
        EXPECT_TRUE(tz::ledgerPageHeadingFor(s, u"1001"_s, heading, dialogs).isDone());
        heading.general = general;
        Document doc;
        EXPECT_TRUE(tz::LayOutLedgerPages(s, LedgerPageKind::ThreeColumn, heading, doc, dialogs).isDone());
        EXPECT_TRUE(dialogs.messages.isEmpty());
        return doc;
    }

    QStringList rowsPerPage(const QString &table)
    {
        return tz::test::table(s, u"SELECT 月, count(*) FROM %1 GROUP BY 月 ORDER BY 月"_s.arg(table));
    }

    QStringList carried(const QString &table, const QString &columns)
    {
        return tz::test::table(
            s, u"SELECT 月, 摘要说明, %1 FROM %2 WHERE 摘要说明 LIKE '  _ _ 页' ORDER BY ID"_s.arg(columns, table));
    }
};

TEST_F(LedgerPages, ShortLedgerIsOnePageFilledWithBlankRows)
{
    const Document doc = detailPages(10);
    ASSERT_EQ(doc.pages.size(), 1);
    EXPECT_EQ(rowsPerPage(u"三栏帐页"_s), QStringList {u"1|27"_s});
    const QStringList texts = doc.pages[0].texts();
    for (const QString &t : {u"库存现金  明细帐"_s, u"会计期间:  2024年1月至12月"_s, u"科目名称: 1001 库存现金"_s,
                             u"第1页"_s, u"操作员:  主管"_s, u"结转下年"_s, u"550.00"_s})
        EXPECT_TRUE(texts.contains(t)) << t.toStdString();
    EXPECT_FALSE(texts.contains(u"  过 次 页"_s));
}

TEST_F(LedgerPages, FullPageCarriesIntoASecondPageOfItsOwn)
{
    const Document doc = detailPages(23); // 26 rows
    ASSERT_EQ(doc.pages.size(), 2);
    EXPECT_EQ(rowsPerPage(u"三栏帐页"_s), (QStringList {u"1|27"_s, u"2|27"_s}));
    // Row 26 is 结转下年 with the final balance 2,760.00.
    EXPECT_EQ(carried(u"三栏帐页"_s, u"余额"_s), (QStringList {u"1|  过 次 页|2760"_s, u"2|  承 前 页|2760"_s}));
    EXPECT_EQ(doc.pages[1].texts().mid(0, 1), QStringList {u"库存现金  明细帐"_s});
    EXPECT_TRUE(doc.pages[1].contains(u"  承 前 页"_s));
    EXPECT_TRUE(doc.pages[1].contains(u"第2页"_s));
}

TEST_F(LedgerPages, OneRowMoreGoesUnderTheBroughtForwardRow)
{
    // 27 rows: row 26 is 本年累计, without a balance of its own, so the
    // balance after the last line (row 24) is carried.
    const Document doc = detailPages(24);
    ASSERT_EQ(doc.pages.size(), 2);
    EXPECT_EQ(carried(u"三栏帐页"_s, u"余额"_s), (QStringList {u"1|  过 次 页|3000"_s, u"2|  承 前 页|3000"_s}));
    EXPECT_EQ(tz::test::table(s, u"SELECT 摘要说明 FROM 三栏帐页 WHERE 月 = 2 ORDER BY ID LIMIT 2"_s),
              (QStringList {u"  承 前 页"_s, u"结转下年"_s}));
    EXPECT_EQ(rowsPerPage(u"三栏帐页"_s), (QStringList {u"1|27"_s, u"2|27"_s}));
}

TEST_F(LedgerPages, CarriedFiguresAreTheRunningBalanceOnEveryPage)
{
    const Document doc = detailPages(60); // 63 rows: 26 + 26 + 11
    ASSERT_EQ(doc.pages.size(), 3);
    const QString at26 = tz::test::table(s, u"SELECT 余额 FROM 三总式 ORDER BY ID LIMIT 1 OFFSET 25"_s).first();
    const QString at52 = tz::test::table(s, u"SELECT 余额 FROM 三总式 ORDER BY ID LIMIT 1 OFFSET 51"_s).first();
    EXPECT_EQ(at26, u"3510"_s);
    EXPECT_EQ(at52, u"13780"_s);
    EXPECT_EQ(carried(u"三栏帐页"_s, u"余额"_s),
              (QStringList {u"1|  过 次 页|"_s + at26, u"2|  承 前 页|"_s + at26, u"2|  过 次 页|"_s + at52,
                            u"3|  承 前 页|"_s + at52}));
    EXPECT_EQ(rowsPerPage(u"三栏帐页"_s), (QStringList {u"1|27"_s, u"2|28"_s, u"3|27"_s}));
    EXPECT_TRUE(doc.pages[1].contains(u"13,780.00"_s));
    EXPECT_EQ(doc.pageOf(u"业务"_s), 1);
}

TEST_F(LedgerPages, EmptyLedgerIsOnePageOfBlankRows)
{
    const Document doc = detailPages(0);
    ASSERT_EQ(doc.pages.size(), 1);
    EXPECT_EQ(rowsPerPage(u"三栏帐页"_s), QStringList {u"1|27"_s});
    EXPECT_TRUE(doc.pages[0].contains(u"科目名称: 1001 库存现金"_s));
}

TEST_F(LedgerPages, GeneralLedgerHasNoCarriedRows)
{
    const Document doc = detailPages(3, true);
    ASSERT_EQ(doc.pages.size(), 1);
    EXPECT_TRUE(doc.pages[0].contains(u"总 分 类 帐"_s));
    EXPECT_TRUE(carried(u"三栏帐页"_s, u"余额"_s).isEmpty());
}

TEST_F(LedgerPages, QuantityAndFixedAssetPagesCarryTheirOwnColumns)
{
    QList<tz::test::Line> lines;
    for (int i = 1; i <= 30; ++i)
        lines.append({2, i, 1, u"1403"_s, 100.0, {}, 2.0});
    for (int i = 1; i <= 30; ++i)
        lines.append({2, 100 + i, 1, i % 2 ? u"1601"_s : u"1602"_s, i % 2 ? QVariant(1000.0) : QVariant(),
                      i % 2 ? QVariant() : QVariant(50.0)});
    tz::test::postLines(s, lines);
    ASSERT_TRUE(tz::BuildQuantityLedger(s, u"1403"_s, u"借"_s, 2, dialogs).isDone());
    ASSERT_TRUE(tz::BuildFixedAssetLedger(s, u"1601"_s, dialogs).isDone());
    tz::LedgerPageHeading heading;
    ASSERT_TRUE(tz::ledgerPageHeadingFor(s, u"1403"_s, heading, dialogs).isDone());
    Document quantity, fixed;
    ASSERT_TRUE(tz::LayOutLedgerPages(s, LedgerPageKind::Quantity, heading, quantity, dialogs).isDone());
    ASSERT_TRUE(tz::LayOutLedgerPages(s, LedgerPageKind::FixedAsset, heading, fixed, dialogs).isDone());
    // 25 rows a page: the 25th line carries 25 × 2 and 25 × 100.
    EXPECT_EQ(carried(u"数量帐页"_s, u"余额, 余数"_s),
              (QStringList {u"1|  过 次 页|2500|50"_s, u"2|  承 前 页|2500|50"_s}));
    EXPECT_TRUE(quantity.pages[0].contains(u"原材料  数量金额明细帐"_s));
    // The 26th row of the fixed-asset ledger is the 26th line (13 of each).
    EXPECT_EQ(carried(u"固累帐页"_s, u"原值, 累计折旧, 净值"_s),
              (QStringList {u"1|  过 次 页|13000|650|12350"_s, u"2|  承 前 页|13000|650|12350"_s}));
    EXPECT_EQ(fixed.pages.size(), 2);
    EXPECT_TRUE(dialogs.messages.isEmpty());
}

TEST_F(LedgerPages, RangeGivesEveryAccountWithLinesItsOwnNumberedPages)
{
    tz::test::postLines(s, {{1, 1, 1, u"1001"_s, 10.0, {}}, {1, 1, 2, u"1002001"_s, {}, 10.0},
                            {1, 2, 1, u"1122"_s, 5.0, {}}, {1, 2, 2, u"1002001"_s, {}, 5.0}});
    Document doc;
    ASSERT_TRUE(tz::LayOutLedgerRange(s, LedgerPageKind::ThreeColumn, u"1001"_s, u"1002"_s, 1, doc, dialogs).isDone());
    ASSERT_EQ(doc.pages.size(), 2); // 1001 and 1002001; 1122 is beyond the range
    EXPECT_TRUE(doc.pages[0].contains(u"科目名称: 1001 库存现金"_s));
    EXPECT_TRUE(doc.pages[1].contains(u"科目名称: 1002001 银行存款/人民币户"_s));
    EXPECT_TRUE(doc.pages[1].contains(u"第1页"_s));
    EXPECT_EQ(doc.pageOf(u"-15.00"_s), 2);

    // Cancelled between accounts: no pages.
    struct Cancel : tz::Progress
    {
        bool advance(int done, int) override { return done == 0; }
    } cancel;
    EXPECT_TRUE(tz::LayOutLedgerRange(s, LedgerPageKind::ThreeColumn, u"1001"_s, u"1002"_s, 1, doc, dialogs, &cancel)
                    .isRefused());
    EXPECT_TRUE(doc.pages.isEmpty());

    EXPECT_TRUE(tz::LayOutLedgerRange(s, LedgerPageKind::FixedAsset, u"1001"_s, u"1999"_s, 1, doc, dialogs).isRefused());
    EXPECT_EQ(dialogs.messages, (QList<tz::test::Message> {{u"范围内没有可打印的科目"_s, u"TZ305"_s, tz::Icon::Exclamation}}));
}

} // namespace
