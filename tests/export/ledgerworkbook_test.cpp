// The ledger workbooks: the page geometry (26 records on the first page, a
// boundary record without summary gets no break), the carried balances of
// the three-column and quantity ledgers (over total rows without a balance
// too), the merged headings of all three kinds, the number formats and the
// page headers (a long name path cut short), read back by openpyxl.
#include <gtest/gtest.h>

#include "export/ledgerworkbook.h"
#include "tests/support/scripteddialogs.h"
#include "tests/support/testset.h"
#include "tests/support/workbookreader.h"

using namespace Qt::Literals::StringLiterals;
using tz::LedgerSheetRow;
using tz::LedgerWorkbookKind;
using tz::test::Message;
using tz::test::ScriptedDialogs;
using tz::test::readWorkbook;

namespace {

// The layout as one letter per sheet row: H heading, r record, > 过 次 页,
// < 承 前 页; and the rows that begin a page.
QString shape(const tz::LedgerSheetLayout &layout)
{
    QString text;
    for (const LedgerSheetRow &row : layout.rows) {
        switch (row.kind) {
        case LedgerSheetRow::Kind::HeadingTop:
        case LedgerSheetRow::Kind::HeadingBottom:
            text += u'H';
            break;
        case LedgerSheetRow::Kind::Record:
            text += u'r';
            break;
        case LedgerSheetRow::Kind::CarriedForward:
            text += u'>';
            break;
        case LedgerSheetRow::Kind::BroughtForward:
            text += u'<';
            break;
        }
    }
    return text;
}

TEST(LedgerSheetLayout, FirstPageHoldsTwentySixRecordsThenTwentyFive)
{
    const QString r26 = QString(26, u'r');
    EXPECT_EQ(shape(tz::layOutLedgerSheet(QList<bool>(26, true))), u"HH"_s + r26);
    EXPECT_TRUE(tz::layOutLedgerSheet(QList<bool>(26, true)).pageStarts.isEmpty());

    const tz::LedgerSheetLayout two = tz::layOutLedgerSheet(QList<bool>(27, true));
    EXPECT_EQ(shape(two), u"HH"_s + r26 + u">HH<r"_s);
    EXPECT_EQ(two.pageStarts, QList<int>{29});
    EXPECT_EQ(two.rows.at(28).record, 25); // 过 次 页 carries record 26
    EXPECT_EQ(two.rows.at(31).record, 25);
    EXPECT_EQ(two.rows.at(32).record, 26);

    const tz::LedgerSheetLayout three = tz::layOutLedgerSheet(QList<bool>(26 + 25 + 1, true));
    EXPECT_EQ(shape(three), u"HH"_s + r26 + u">HH<"_s + QString(25, u'r') + u">HH<r"_s);
    EXPECT_EQ(three.pageStarts, (QList<int>{29, 58}));
}

TEST(LedgerSheetLayout, RecordWithoutSummaryOnTheBoundaryGetsNoBreak)
{
    QList<bool> summaries(60, true);
    summaries[26] = false; // would be sheet row 29
    const tz::LedgerSheetLayout layout = tz::layOutLedgerSheet(summaries);
    // No break at row 29; the next test is row 58, which breaks.
    EXPECT_EQ(shape(layout), u"HH"_s + QString(55, u'r') + u">HH<"_s + QString(5, u'r'));
    EXPECT_EQ(layout.pageStarts, QList<int>{58});
    EXPECT_EQ(layout.rows.at(57).record, 54);
}

class LedgerWorkbook : public testing::Test
{
protected:
    // `count` rows in 三总式: balance 100·i, summary "第i笔" except where
    // `blank` says.
    void fillThreeColumn(int count, int blank = -1)
    {
        for (int i = 1; i <= count; ++i)
            set.session().execSql(u"INSERT INTO 三总式 (ID, 日期, 字号, 摘要说明, 借方金额, 贷方金额, 方向, 余额) "
                                  "VALUES (?, '2024-03-05', ?, ?, 100, NULL, '借', ?)"_s,
                                  {u"80300%1"_s.arg(i, 5, 10, QChar(u'0')), u"记-%1"_s.arg(i),
                                   i == blank ? QString() : u"第%1笔"_s.arg(i), 100.0 * i});
    }

    QString write(LedgerWorkbookKind kind)
    {
        ScriptedDialogs dialogs;
        const QString path = set.folder() + u"/帐页.xlsx"_s;
        EXPECT_TRUE(tz::WriteLedgerWorkbook(set.session(), kind, heading, path, dialogs).isDone());
        EXPECT_EQ(dialogs.messages, QList<Message>{});
        return path;
    }

    tz::test::TestSet set;
    tz::LedgerWorkbookHeading heading{u"1002001"_s, u"银行存款/人民币户"_s, u"银行存款"_s};
};

TEST_F(LedgerWorkbook, ThreeColumnCarriesTheBalanceOverThePageBreak)
{
    fillThreeColumn(27);
    const QString out = readWorkbook(write(LedgerWorkbookKind::ThreeColumn), uR"(
print(sorted(str(r) for r in ws.merged_cells.ranges))
print(ws['A1'].value, ws['G1'].value, ws['A3'].value.date(), ws['A3'].number_format, ws['D3'].value, ws['D3'].number_format, ws['G3'].number_format)
print(ws['C28'].value, ws['G28'].value, ws['C29'].value, ws['G29'].value, ws['A30'].value, ws['C32'].value, ws['G32'].value, ws['C33'].value, ws['G33'].value, ws.max_row)
print([b.id for b in ws.row_breaks.brk], ws.page_setup.orientation, ws.page_setup.paperSize, ws['C29'].border.left.style, ws['B29'].border.top.style)
print(repr(headers('oddHeader')))
print(repr(headers('oddFooter')))
)"_s);
    EXPECT_EQ(out,
              u"['A1:A2', 'A30:A31', 'B1:B2', 'B30:B31', 'C1:C2', 'C30:C31', 'D1:D2', 'D30:D31', 'E1:E2', 'E30:E31', "
              "'F1:F2', 'F30:F31', 'G1:G2', 'G30:G31']\n"
              "日期 余额 2024-03-05 yyyy-mm-dd 100 #,##0.00 #,##0.00\n"
              "第26笔 2600 过 次 页 2600 日期 承 前 页 2600 第27笔 2700 33\n"
              "[29] landscape 9 thin thin\n"
              "'&L\\n&\"常规\"       &10科目名称:1002001 银行存款/人民币户"
              "&C&\"黑体\"&16银行存款   明细帐&\"宋体,常规\"\\n&\"常规\"&10会计期间:2024年1-12月"
              "&R\\n&\"常规\"&10单位:元             .'\n"
              "'&R&\"常规\"&10[TZ305]               .'\n"_s);
}

TEST_F(LedgerWorkbook, TotalRowsAtAPageEndCarryTheLastRunningBalance)
{
    // Page 1 ends on a 本月合计 row, page 2 on 本月合计 and 本年累计 rows:
    // none has a balance of its own.
    fillThreeColumn(52);
    set.session().execSql(u"UPDATE 三总式 SET 摘要说明 = CASE ID WHEN '8030000051' THEN ' 本年累计' ELSE ' 本月合计' END, "
                          "方向 = NULL, 余额 = NULL WHERE ID IN ('8030000026', '8030000050', '8030000051')"_s);
    EXPECT_EQ(readWorkbook(write(LedgerWorkbookKind::ThreeColumn),
                           u"print([(ws.cell(r, 3).value, ws.cell(r, 7).value) for r in (28, 29, 32, 57, 58, 61)])"_s),
              u"[(' 本月合计', None), ('过 次 页', 2500), ('承 前 页', 2500), (' 本年累计', None), "
              "('过 次 页', 4900), ('承 前 页', 4900)]\n"_s);
}

TEST_F(LedgerWorkbook, LongNamePathIsCutShortSoThePageHeaderStands)
{
    // A four-level account whose name path alone would take the header
    // past the 255 characters a spreadsheet keeps.
    fillThreeColumn(1);
    const QString last = QString(60, u'丙');
    heading = {u"1122001001001"_s, u"应收账款/"_s + QString(60, u'甲') + u'/' + QString(60, u'乙') + u'/' + last,
               u"应收账款"_s};
    EXPECT_EQ(readWorkbook(write(LedgerWorkbookKind::ThreeColumn), uR"(
h = headers('oddHeader')
left = re.search('&L(.*?)&C', h, re.S).group(1)
print(len(h) <= 255, left.startswith('\n&"常规"       &10科目名称:1122001001001 应收账款/甲'), left.count('…'), left.endswith('…/' + '丙' * 60))
print(h[h.index('&C'):])
)"_s),
              u"True True 1 True\n&C&\"黑体\"&16应收账款   明细帐&\"宋体,常规\"\n&\"常规\"&10会计期间:2024年1-12月"
              "&R\n&\"常规\"&10单位:元             .\n"_s);
}

TEST_F(LedgerWorkbook, GeneralLedgerTitleAndOnePageOfTwentySix)
{
    fillThreeColumn(26);
    heading.general = true;
    EXPECT_EQ(readWorkbook(write(LedgerWorkbookKind::ThreeColumn),
                           u"print(ws.max_row, len(ws.row_breaks.brk), '总分类帐&' in headers('oddHeader'))"_s),
              u"28 0 True\n"_s);
    ScriptedDialogs dialogs;
    set.session().execSql(u"DELETE FROM 三总式"_s);
    EXPECT_TRUE(tz::WriteLedgerWorkbook(set.session(), LedgerWorkbookKind::ThreeColumn, {}, set.folder() + u"/空.xlsx"_s,
                                        dialogs)
                    .isRefused());
    EXPECT_EQ(dialogs.messages, (QList<Message>{{u"没有记录!"_s, u"TZ305"_s, tz::Icon::None}}));
    EXPECT_FALSE(QFile::exists(set.folder() + u"/空.xlsx"_s));
}

TEST_F(LedgerWorkbook, QuantityCarriesQuantityAndAmount)
{
    for (int i = 1; i <= 27; ++i)
        set.session().execSql(u"INSERT INTO 数量式 (ID, 日期, 字号, 摘要说明, 借数, 借单, 借金, 方向, 余数, 余单, 余额) "
                              "VALUES (?, '2024-04-01', '记-1', '入库', 2, 1.5, 3, '借', ?, 1.5, ?)"_s,
                              {u"80400%1"_s.arg(i, 5, 10, QChar(u'0')), 2.0 * i, 3.0 * i});
    const QString out = readWorkbook(write(LedgerWorkbookKind::Quantity), uR"(
print(sorted(str(r) for r in ws.merged_cells.ranges if r.min_row == 1))
print(ws['D1'].value, ws['G1'].value, ws['K1'].value, ws['D2'].value, ws['E2'].value, ws['F2'].value, ws['J1'].value, ws.max_column)
print(ws['E3'].number_format, ws['F3'].number_format, ws['L3'].number_format, ws['M3'].number_format)
print(ws['C29'].value, ws['K29'].value, ws['L29'].value, ws['M29'].value, ws['C32'].value, ws['K32'].value, ws['M32'].value, ws['K33'].value)
)"_s);
    EXPECT_EQ(out, u"['A1:A2', 'B1:B2', 'C1:C2', 'D1:F1', 'G1:I1', 'J1:J2', 'K1:M1']\n"
                   "借    方 贷    方 余    额 数量 单价 金额 方向 13\n"
                   "0.000 #,##0.00 0.000 #,##0.00\n"
                   "过 次 页 52 None 78 承 前 页 52 78 54\n"_s);
}

TEST_F(LedgerWorkbook, MultiColumnOfThreeSubAccountsHasTenColumns)
{
    for (const QString &column : {u"现金"_s, u"银行"_s, u"其他"_s})
        set.session().execSql(u"ALTER TABLE 多栏式 ADD COLUMN "_s + column + u" REAL"_s);
    set.session().execSql(u"INSERT INTO 多栏式 VALUES ('8010001001', '2024-01-02', '记-1', NULL, '收款', 30, NULL, "
                          "'借', 30, 10, 20, NULL)"_s);
    set.session().execSql(u"UPDATE 信息表 SET 帐套名称 = '华新商贸' WHERE 代号 = 'TZ'"_s);
    const QString out = readWorkbook(write(LedgerWorkbookKind::MultiColumn), uR"(
print(sorted(str(r) for r in ws.merged_cells.ranges))
print(ws.max_column, ws['C2'].value, ws['D1'].value, ws['H1'].value, ws['H2'].value, ws['J2'].value, ws['H3'].value, ws['J3'].value, ws['I3'].number_format)
print(repr(headers('oddHeader')))
)"_s);
    EXPECT_EQ(out, u"['A1:A2', 'B1:B2', 'C1:C2', 'D1:D2', 'E1:E2', 'F1:F2', 'G1:G2', 'H1:J1']\n"
                   "10 None 借方金额1  明细科目 现金 其他 10 None #,##0.00\n"
                   "'&L\\n&\"常规\"       &10单位名称:华新商贸&C&\"黑体\"&16银行存款/人民币户   明细帐&\"宋体,常规\""
                   "\\n&\"常规\"&10会计期间:2024年1-12月&R\\n&\"常规\"&10单位:元             .'\n"_s);
}

} // namespace
