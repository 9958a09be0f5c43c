// The ruled table shared by the account-book pages and the reports: a
// title with a double rule, column captions at the foot of the page header
// and boxed detail cells, the widths scaled to the printable width.
#pragma once

#include <QList>
#include <QString>

#include "printing/report.h"

namespace tz {

struct ReportColumn
{
    QString caption;
    QString field;
    double width = 20; // relative; scaled so the columns fill the page
    QString format;
    Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter;
};

// Amount, quantity and text columns.
ReportColumn textColumn(const QString &caption, const QString &field, double width);
ReportColumn numberColumn(const QString &caption, const QString &field, double width,
                          const QString &format = QStringLiteral("#,##0.00"));

// The title centred on the first 10 mm of the page header, a double rule
// under it.
void addTitle(ReportDefinition &report, const QString &title);

// Captions in a row of `captionHeightMm` at the foot of the page header
// (which grows by it) and one boxed cell per column in the detail band of
// `rowHeightMm`.
void addColumns(ReportDefinition &report, const QList<ReportColumn> &columns, double rowHeightMm,
                double captionHeightMm = 8);

} // namespace tz
