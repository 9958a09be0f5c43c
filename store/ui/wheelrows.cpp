// The mouse wheel over a focused grid as arrow keys.
#include "store/ui/wheelrows.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QKeyEvent>
#include <QWheelEvent>

namespace tz {

WheelRowsFilter::WheelRowsFilter(QAbstractScrollArea *grid, Then then)
    : QObject(grid)
    , m_grid(grid)
    , m_then(then)
{
    grid->viewport()->installEventFilter(this);
}

bool WheelRowsFilter::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::Wheel || watched != m_grid->viewport() || !m_grid->hasFocus())
        return false;
    const auto *wheel = static_cast<QWheelEvent *>(event);
    const int delta = wheel->angleDelta().y();
    if (wheel->modifiers() != Qt::NoModifier || (delta != 120 && delta != -120))
        return false;
    for (int i = 0; i < 2; ++i) {
        QKeyEvent press(QEvent::KeyPress, delta > 0 ? Qt::Key_Up : Qt::Key_Down, Qt::NoModifier);
        QApplication::sendEvent(m_grid, &press);
    }
    return m_then == Then::Stop;
}

} // namespace tz
