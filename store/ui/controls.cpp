// Shared control makers.
#include "store/ui/controls.h"

#include <QBoxLayout>
#include <QDialog>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QTableView>

#include "store/numerickeyfilter.h"

using namespace Qt::Literals::StringLiterals;

namespace tz {

namespace {

// A label that acts on a left click, as a link does; the click goes no
// further.
class ClickableLabel : public QLabel {
public:
    ClickableLabel(const QString &caption, QWidget *parent, std::function<void()> onClick)
        : QLabel(caption, parent)
        , m_onClick(std::move(onClick))
    {
    }

protected:
    void mouseReleaseEvent(QMouseEvent *event) override
    {
        if (event->button() == Qt::LeftButton) {
            m_onClick();
            return;
        }
        QLabel::mouseReleaseEvent(event);
    }

private:
    std::function<void()> m_onClick;
};

} // namespace

QPushButton *commandButton(QWidget *parent, const QString &name, const QString &caption, const QString &tip)
{
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setAutoDefault(false);
    if (!tip.isEmpty())
        button->setToolTip(tip);
    return button;
}

QPushButton *addCommandButton(QBoxLayout *row, QWidget *parent, const QString &name, const QString &caption,
                              const std::function<void()> &onClick, const QString &tip)
{
    QPushButton *button = commandButton(parent, name, caption, tip);
    QObject::connect(button, &QPushButton::clicked, parent, onClick);
    row->addWidget(button);
    return button;
}

QPushButton *closeButton(QDialog *dialog, const QString &name, const QString &caption)
{
    QPushButton *button = commandButton(dialog, name, caption);
    button->setMinimumWidth(90);
    QObject::connect(button, &QPushButton::clicked, dialog, &QDialog::reject);
    return button;
}

QLabel *helpLink(QWidget *parent, const QString &caption, const QString &tip, std::function<void()> onClick)
{
    auto *label = new ClickableLabel(caption, parent, std::move(onClick));
    label->setObjectName(u"Label1"_s);
    label->setStyleSheet(u"QLabel { color: #1a4fa0; text-decoration: underline; }"_s);
    label->setCursor(Qt::PointingHandCursor);
    label->setToolTip(tip);
    return label;
}

bool isRefusedCodeKey(const QKeyEvent *key)
{
    if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))
        return false;
    const QString text = key->text();
    if (text.size() != 1 || text.at(0).unicode() < 0x20 || text.at(0).unicode() == 0x7f)
        return false;
    return NumericKeyFilter(text.at(0).unicode()) == 0;
}

int gridColumnPixels(int twips)
{
    // Today's fonts are about a third wider than the forms were laid out for.
    return twips <= 0 ? 0 : twips * 13 / (15 * 10);
}

bool passesNumericFilter(const QLineEdit *field, const QString &typed)
{
    QString text = field->text();
    if (field->hasSelectedText())
        text.remove(field->selectionStart(), field->selectedText().size());
    for (const QChar c : typed) {
        if (NumericKeyFilter(c.unicode(), text) == 0)
            return false;
        text.append(c);
    }
    return true;
}

QString gridHeaderStyle()
{
    return u"QHeaderView::section { background-color: rgb(210,210,253); padding: 3px; border: 0px; "
           "border-right: 1px solid #b8b8e0; border-bottom: 1px solid #b8b8e0; }"_s;
}

void setUpResultGrid(QTableView *grid, QAbstractItemModel *model)
{
    grid->setModel(model);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->verticalHeader()->hide();
    grid->verticalHeader()->setDefaultSectionSize(grid->fontMetrics().height() + 8);
    grid->setWordWrap(false);
    grid->horizontalHeader()->setStyleSheet(gridHeaderStyle());
}

void fitWithinScreen(QWidget *window, const QWidget *parent)
{
    const QScreen *screen = parent ? parent->screen() : window->screen();
    if (!screen)
        return;
    const QSize room = screen->availableGeometry().size() - QSize(16, 48); // the frame and title bar
    const QSize size = window->size();
    if (size.width() > room.width() || size.height() > room.height())
        window->resize(size.boundedTo(room));
}

QLabel *fieldLabel(const QString &text, QWidget *buddy)
{
    auto *label = new QLabel(text);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    label->setBuddy(buddy);
    return label;
}

} // namespace tz
