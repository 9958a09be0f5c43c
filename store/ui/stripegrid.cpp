// Result-grid striping.
#include "store/ui/stripegrid.h"

#include <QHeaderView>
#include <QTableWidget>

using namespace Qt::Literals::StringLiterals;

namespace tz {

void StripeGrid(QTableWidget *grid)
{
    if (!grid || grid->rowCount() < 1)
        return;
    grid->setUpdatesEnabled(false);
    const QColor lilac = stripeHeaderColour();
    const QString header = u"QHeaderView::section { background-color: rgb(%1,%2,%3); }"_s.arg(lilac.red())
                               .arg(lilac.green())
                               .arg(lilac.blue());
    grid->horizontalHeader()->setStyleSheet(header);
    grid->verticalHeader()->setStyleSheet(header);
    for (int row = 0; row < grid->rowCount(); ++row) {
        // Data rows are numbered from 1, below the header row.
        const QColor colour = stripeColour(row + 1);
        for (int column = 0; column < grid->columnCount(); ++column) {
            QTableWidgetItem *item = grid->item(row, column);
            if (!item) {
                item = new QTableWidgetItem;
                grid->setItem(row, column, item);
            }
            item->setBackground(colour);
        }
    }
    grid->setCurrentCell(0, 0);
    grid->setUpdatesEnabled(true);
}

QColor stripeColour(int row)
{
    return row % 2 == 1 ? QColor(240, 255, 255) : QColor(215, 255, 215);
}

QColor stripeHeaderColour()
{
    return QColor(210, 210, 253);
}

} // namespace tz
