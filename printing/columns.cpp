// The ruled table of the account-book pages and reports.
#include "printing/columns.h"

#include <algorithm>

using namespace Qt::Literals::StringLiterals;

namespace tz {

ReportColumn textColumn(const QString &caption, const QString &field, double width)
{
    return {caption, field, width, {}, Qt::AlignLeft | Qt::AlignVCenter};
}

ReportColumn numberColumn(const QString &caption, const QString &field, double width, const QString &format)
{
    return {caption, field, width, format, Qt::AlignRight | Qt::AlignVCenter};
}

void addTitle(ReportDefinition &report, const QString &title)
{
    const double width = report.contentWidthMm();
    const double half = std::min(width / 2 - 5, 6.0 * title.size() / 2 + 8);
    report.pageHeader.heightMm = std::max(report.pageHeader.heightMm, 11.0);
    report.pageHeader.label(QRectF(0, 0, width, 9.5), title, {16, true, Qt::AlignCenter})
        .line(QPointF(width / 2 - half, 9.5), QPointF(width / 2 + half, 9.5), 0.3)
        .line(QPointF(width / 2 - half, 10.3), QPointF(width / 2 + half, 10.3), 0.3);
}

void addColumns(ReportDefinition &report, const QList<ReportColumn> &columns, double rowHeightMm,
                double captionHeightMm)
{
    double total = 0;
    for (const ReportColumn &c : columns)
        total += c.width;
    const double scale = report.contentWidthMm() / total;
    const double top = report.pageHeader.heightMm;
    report.pageHeader.heightMm += captionHeightMm;
    report.detail.heightMm = rowHeightMm;
    const TextStyle caption {9.5, true, Qt::AlignCenter};
    double x = 0;
    for (const ReportColumn &c : columns) {
        const double w = c.width * scale;
        report.pageHeader.box(QRectF(x, top, w, captionHeightMm), 0.3)
            .label(QRectF(x, top, w, captionHeightMm), c.caption, caption);
        report.detail.box(QRectF(x, 0, w, rowHeightMm))
            .field(QRectF(x + 0.8, 0, w - 1.6, rowHeightMm), c.field, c.format, {9, false, c.align});
        x += w;
    }
}

} // namespace tz
