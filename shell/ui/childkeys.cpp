// Keys that close a working window.
#include "shell/ui/childkeys.h"

#include <QEvent>
#include <QKeyEvent>
#include <QMdiSubWindow>

namespace tz {

namespace {

// Watches the key presses that reach the subwindow: those the focused
// control and its parents did not take.
class CloseKeys : public QObject {
public:
    explicit CloseKeys(QMdiSubWindow *sub)
        : QObject(sub)
        , m_sub(sub)
    {
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == m_sub && event->type() == QEvent::KeyPress
            && isCloseKey(static_cast<const QKeyEvent *>(event))) {
            m_sub->close();
            return true;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    static bool isCloseKey(const QKeyEvent *key)
    {
        const Qt::KeyboardModifiers modifiers = key->modifiers() & ~Qt::KeypadModifier;
        if (modifiers == Qt::NoModifier)
            return key->key() == Qt::Key_Escape;
        return modifiers == Qt::ControlModifier && (key->key() == Qt::Key_F4 || key->key() == Qt::Key_W);
    }

    QMdiSubWindow *m_sub;
};

} // namespace

void closeOnKeys(QMdiSubWindow *sub)
{
    sub->installEventFilter(new CloseKeys(sub));
}

} // namespace tz
