// Colours of a filled result grid: lilac header cells, alternating pale
// cyan and pale green data rows.
#pragma once

#include <QColor>

class QTableWidget;

namespace tz {

// Colours every data row of `grid` (odd rows counted from 1 pale cyan
// RGB(240,255,255), even rows pale green RGB(215,255,215)), the header cells
// RGB(210,210,253), and makes the first data cell current. A grid without
// data rows is left as it is.
void StripeGrid(QTableWidget *grid);

// The colour of data row `row` (counted from 1) and of the header cells,
// for grids that colour their rows through a model.
QColor stripeColour(int row);
QColor stripeHeaderColour();

} // namespace tz
