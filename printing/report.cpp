// The banded report's band builders.
#include "printing/report.h"

namespace tz {

ReportBand &ReportBand::label(const QRectF &mm, const QString &text, const TextStyle &style)
{
    elements.append({ReportElement::Kind::Label, mm, text, {}, style});
    return *this;
}

ReportBand &ReportBand::field(const QRectF &mm, const QString &column, const QString &format, const TextStyle &style)
{
    elements.append({ReportElement::Kind::Field, mm, column, format, style});
    return *this;
}

ReportBand &ReportBand::line(const QPointF &fromMm, const QPointF &toMm, double penMm)
{
    ReportElement e;
    e.kind = ReportElement::Kind::Line;
    e.mm = QRectF(fromMm, toMm);
    e.penMm = penMm;
    elements.append(e);
    return *this;
}

ReportBand &ReportBand::box(const QRectF &mm, double penMm)
{
    ReportElement e;
    e.kind = ReportElement::Kind::Box;
    e.mm = mm;
    e.penMm = penMm;
    elements.append(e);
    return *this;
}

ReportBand &ReportBand::cells(double leftMm, const QList<double> &widthsMm, double penMm)
{
    double x = leftMm;
    for (double w : widthsMm) {
        box(QRectF(x, 0, w, heightMm), penMm);
        x += w;
    }
    return *this;
}

double ReportDefinition::contentWidthMm() const
{
    return page.paintRect(QPageLayout::Millimeter).width();
}

} // namespace tz
