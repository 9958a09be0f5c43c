// Enter on a pick list.
#include "accounts/ui/pickerkeys.h"

#include <QEvent>
#include <QKeyEvent>
#include <QListWidget>

namespace tz {

namespace {

class EnterPicks : public QObject {
public:
    EnterPicks(QListWidget *list, std::function<void(QListWidgetItem *)> pick)
        : QObject(list)
        , m_list(list)
        , m_pick(std::move(pick))
    {
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == m_list && event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent *>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                QListWidgetItem *item = m_list->currentItem() ? m_list->currentItem() : m_list->item(0);
                if (item)
                    m_pick(item);
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QListWidget *m_list;
    std::function<void(QListWidgetItem *)> m_pick;
};

} // namespace

void pickOnEnter(QListWidget *list, std::function<void(QListWidgetItem *)> pick)
{
    list->installEventFilter(new EnterPicks(list, std::move(pick)));
}

} // namespace tz
