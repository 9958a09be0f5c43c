// The mouse wheel over a focused grid as arrow keys: one notch moves the
// current row by two.
#pragma once

#include <QObject>

class QAbstractScrollArea;

namespace tz {

// Installed on `grid`'s viewport by its constructor: while the grid has the
// focus, one notch of the wheel forward (+120, no modifier key) sends the
// grid two Up-arrow keys, one notch back (-120) two Down-arrow keys. Other
// wheel steps pass unchanged.
class WheelRowsFilter : public QObject
{
public:
    // What a notch does after its keys: the grid also scrolls as usual, or
    // nothing more (the notch is the keys alone).
    enum class Then {
        Scroll,
        Stop,
    };

    WheelRowsFilter(QAbstractScrollArea *grid, Then then);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QAbstractScrollArea *m_grid;
    Then m_then;
};

} // namespace tz
