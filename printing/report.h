// The banded report: what a printed document is made of before any page is
// laid out. Bands (page header, group header, detail, group footer, page
// footer, report footer) hold labels, fields, lines and boxes placed in
// millimetres from the band's top-left corner, which sits on the left
// margin. Rows come from a work table; a group is a run of rows with the
// same value of the group column.
#pragma once

#include <QList>
#include <QMarginsF>
#include <QPageLayout>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <Qt>

namespace tz {

struct TextStyle
{
    double pointSize = 10;
    bool bold = false;
    Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter;
};

struct ReportElement
{
    enum class Kind {
        Label, // `text` as given; "%p" becomes the page number, "%P" the page count
        Field, // the row's column `text`, shown under `format` (store/numberformat.h)
        Line,  // from the rectangle's top-left to its bottom-right corner
        Box,   // the rectangle's outline
    };
    Kind kind = Kind::Label;
    QRectF mm;
    QString text;
    QString format;
    TextStyle style;
    bool hidden = false;
    double penMm = 0.2;
};

struct ReportBand
{
    double heightMm = 0;
    QList<ReportElement> elements;

    bool isEmpty() const { return heightMm <= 0; }
    ReportBand &label(const QRectF &mm, const QString &text, const TextStyle &style = {});
    ReportBand &field(const QRectF &mm, const QString &column, const QString &format = {}, const TextStyle &style = {});
    ReportBand &line(const QPointF &fromMm, const QPointF &toMm, double penMm = 0.2);
    ReportBand &box(const QRectF &mm, double penMm = 0.2);
    // A row of boxed cells: one box per width from `leftMm`, the full band height.
    ReportBand &cells(double leftMm, const QList<double> &widthsMm, double penMm = 0.2);
};

struct ReportDefinition
{
    QString name; // the layout's name: 凭证打印, 三栏帐, 科目余额表, ...
    QPageLayout page {QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(10, 10, 10, 10),
                      QPageLayout::Millimeter};
    QString groupColumn;        // empty: all rows are one group
    bool newPagePerGroup = false; // each group starts on a page of its own
    ReportBand pageHeader;
    ReportBand groupHeader;
    ReportBand detail;
    ReportBand groupFooter;
    ReportBand pageFooter;
    ReportBand reportFooter;

    // Width of the printable area between the margins, in millimetres.
    double contentWidthMm() const;
};

// Millimetres from twips (567 to the centimetre), for the margins the
// books state in twips.
inline double twipsToMm(double twips)
{
    return twips * 10.0 / 567.0;
}

} // namespace tz
