// The report engine's layout: which bands and rows fall on which page,
// page marks, repeated group headers and the empty report, read from the
// drawing commands without painting.
#include "printing/pagelayout.h"

#include <gtest/gtest.h>

#include "tests/support/printers.h"

using namespace Qt::Literals::StringLiterals;
using tz::Document;
using tz::ReportDefinition;
using tz::ResultSet;

namespace {

// A4 portrait, 10 mm margins: 257 mm between the 10 mm page header and
// the 10 mm page footer, so 25 detail rows of 10 mm fit on a page.
ReportDefinition tenMillimetreRows(const QString &groupColumn = {})
{
    ReportDefinition r;
    r.groupColumn = groupColumn;
    r.pageHeader.heightMm = 10;
    r.pageHeader.label(QRectF(0, 0, 100, 10), u"页眉%p/%P"_s);
    r.groupHeader.heightMm = 0.01;
    r.groupHeader.label(QRectF(0, 0, 100, 0.01), u"组头"_s);
    r.detail.heightMm = 10;
    r.detail.field(QRectF(0, 0, 50, 10), u"v"_s).field(QRectF(50, 0, 50, 10), u"a"_s, u"#,##0.00"_s);
    r.groupFooter.heightMm = 0.01;
    r.groupFooter.label(QRectF(0, 0, 100, 0.01), u"组尾"_s);
    r.pageFooter.heightMm = 10;
    r.pageFooter.label(QRectF(0, 0, 100, 10), u"页脚"_s);
    return r;
}

ResultSet rows(int count, int perGroup = 0)
{
    QList<ResultSet::Row> out;
    for (int i = 1; i <= count; ++i)
        out.append({u"行%1"_s.arg(i), perGroup ? (i - 1) / perGroup + 1 : 0, i == 1 ? QVariant() : QVariant(1234.5)});
    return ResultSet({u"v"_s, u"g"_s, u"a"_s}, out);
}

TEST(PageLayout, RowsFlowOntoTheNextPageWithHeadersFootersAndPageMarks)
{
    const Document doc = tz::layOutReport(tenMillimetreRows(), rows(30));
    ASSERT_EQ(doc.pages.size(), 2);
    EXPECT_EQ(doc.pageOf(u"行25"_s), 1);
    EXPECT_EQ(doc.pageOf(u"行26"_s), 2);
    EXPECT_EQ(doc.pages[0].texts().first(), u"页眉1/2"_s);
    EXPECT_EQ(doc.pages[1].texts().first(), u"页眉2/2"_s);
    // The group continues on page 2 under its header again and ends there.
    EXPECT_EQ(doc.pages[1].texts().mid(1, 2), (QStringList {u"组头"_s, u"行26"_s}));
    EXPECT_FALSE(doc.pages[0].contains(u"组尾"_s));
    EXPECT_EQ(doc.pages[1].texts().last(), u"页脚"_s);
    EXPECT_EQ(doc.pages[1].texts().at(doc.pages[1].texts().size() - 2), u"组尾"_s);
    // A NULL amount is an empty cell, others take their format.
    EXPECT_FALSE(doc.pages[0].contains(u"0.00"_s));
    EXPECT_TRUE(doc.pages[0].contains(u"1,234.50"_s));
}

TEST(PageLayout, ExactlyFullPageNeedsNoSecondPage)
{
    EXPECT_EQ(tz::layOutReport(tenMillimetreRows(), rows(25)).pages.size(), 1);
}

TEST(PageLayout, EachGroupOnAPageOfItsOwn)
{
    ReportDefinition r = tenMillimetreRows(u"g"_s);
    r.newPagePerGroup = true;
    const Document doc = tz::layOutReport(r, rows(7, 3));
    ASSERT_EQ(doc.pages.size(), 3);
    EXPECT_EQ(doc.pages[2].texts(), (QStringList {u"页眉3/3"_s, u"组头"_s, u"行7"_s, u"1,234.50"_s, u"组尾"_s, u"页脚"_s}));
    EXPECT_EQ(doc.pageOf(u"行4"_s), 2);
    EXPECT_EQ(doc.pages[0].texts().count(u"组尾"_s), 1);
}

TEST(PageLayout, NoRowsStillGiveOnePageOfHeadings)
{
    const Document doc = tz::layOutReport(tenMillimetreRows(u"g"_s), rows(0));
    ASSERT_EQ(doc.pages.size(), 1);
    EXPECT_EQ(doc.pages[0].texts(), (QStringList {u"页眉1/1"_s, u"组头"_s, u"组尾"_s, u"页脚"_s}));
}

TEST(PageLayout, AppendedReportsKeepTheirOwnPageMarks)
{
    ReportDefinition r = tenMillimetreRows();
    Document doc = tz::layOutReport(r, rows(30));
    doc.append(tz::layOutReport(r, rows(2)));
    ASSERT_EQ(doc.pages.size(), 3);
    EXPECT_EQ(doc.pages[2].texts().first(), u"页眉1/1"_s);
    // A field's text is data: a percent sign in it is never a page mark.
    const Document data = tz::layOutReport(r, ResultSet({u"v"_s, u"a"_s}, {{u"%p"_s, QVariant()}}));
    EXPECT_TRUE(data.pages[0].contains(u"%p"_s));
}

} // namespace
