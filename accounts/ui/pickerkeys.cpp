// Enter on a pick list.
#include "accounts/ui/pickerkeys.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>

namespace tz {

bool isEnterKey(const QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    const int key = static_cast<const QKeyEvent *>(event)->key();
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

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
        if (watched == m_list && isEnterKey(event)) {
            QListWidgetItem *item = m_list->currentItem() ? m_list->currentItem() : m_list->item(0);
            if (item)
                m_pick(item);
            return true;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QListWidget *m_list;
    std::function<void(QListWidgetItem *)> m_pick;
};

// Enter in a search box: its only hit is taken, several are entered.
class EnterTakesSingleHit : public QObject {
public:
    EnterTakesSingleHit(QLineEdit *box, QListWidget *list, std::function<void(QListWidgetItem *)> pick)
        : QObject(box)
        , m_box(box)
        , m_list(list)
        , m_pick(std::move(pick))
    {
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched != m_box || !isEnterKey(event))
            return QObject::eventFilter(watched, event);
        if (m_list->isVisible() && m_list->count() == 1) {
            m_pick(m_list->item(0));
        } else if (m_list->isVisible() && m_list->count() > 1) {
            m_list->setFocus();
            m_list->setCurrentRow(0);
        }
        return true;
    }

private:
    QLineEdit *m_box;
    QListWidget *m_list;
    std::function<void(QListWidgetItem *)> m_pick;
};

} // namespace

void pickSingleOnEnter(QLineEdit *box, QListWidget *list, std::function<void(QListWidgetItem *)> pick)
{
    box->installEventFilter(new EnterTakesSingleHit(box, list, std::move(pick)));
}

void pickOnEnter(QListWidget *list, std::function<void(QListWidgetItem *)> pick)
{
    list->installEventFilter(new EnterPicks(list, std::move(pick)));
}

} // namespace tz
