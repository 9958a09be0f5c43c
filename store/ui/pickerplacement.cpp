// Placement of the pick windows.
#include "store/ui/pickerplacement.h"

#include <algorithm>

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace tz {

namespace {

QRect screenArea(const QWidget *widget)
{
    const QScreen *screen = widget ? widget->screen() : nullptr;
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect();
}

} // namespace

void placeBeside(QWidget *window, const QWidget *anchor, int leftTwips, int topTwips)
{
    if (!window || !anchor)
        return;
    const QPoint origin = anchor->isWindow() ? anchor->frameGeometry().topLeft() : anchor->mapToGlobal(QPoint(0, 0));
    QPoint target = origin + QPoint(twipsToPixels(leftTwips), twipsToPixels(topTwips));
    // A window pushed past the screen's edge would hide its buttons.
    const QRect area = screenArea(anchor);
    if (area.isValid()) {
        const QSize size = window->frameGeometry().size();
        target.setX(std::clamp(target.x(), area.left(), std::max(area.left(), area.right() - size.width() + 1)));
        target.setY(std::clamp(target.y(), area.top(), std::max(area.top(), area.bottom() - size.height() + 1)));
    }
    window->move(target);
}

void centreOnScreen(QWidget *window)
{
    if (!window)
        return;
    const QRect area = screenArea(window);
    if (!area.isValid())
        return;
    QRect frame = window->frameGeometry();
    frame.moveCenter(area.center());
    window->move(frame.topLeft());
}

} // namespace tz
