// The summary-phrase window.
#include "accounts/ui/phrasepicker.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "accounts/phrases.h"
#include "accounts/ui/pickerkeys.h"
#include "store/dialogs.h"
#include "store/session.h"
#include "store/ui/controls.h"
#include "store/ui/pickerplacement.h"

using namespace Qt::Literals::StringLiterals;

namespace tz {

namespace {

constexpr int kVoucherLeftTwips = 2800;
constexpr int kVoucherTopTwips = 2000;

} // namespace

PhrasePicker::PhrasePicker(Session &session, WindowDialogs dialogs, QWidget *parent)
    : SetWindow(session, dialogs.given, parent)
{
    setUp();
}

void PhrasePicker::setUp()
{
    build();
    reload();
}

PhrasePicker::~PhrasePicker() = default;

void PhrasePicker::build()
{
    setObjectName(u"PhrasePicker"_s);
    setWindowTitle(u"请双击选择摘要"_s);

    m_list = new QListWidget(this);
    m_list->setObjectName(u"List1"_s);
    m_list->setToolTip(u"单击选中, 双击选择"_s);
    connect(
        m_list, &QListWidget::itemClicked, this, [this](QListWidgetItem *item) { m_phrase->setText(item->text()); });
    connect(m_list, &QListWidget::itemDoubleClicked, this, &PhrasePicker::choose);
    pickOnEnter(m_list, [this](QListWidgetItem *item) { choose(item); });

    m_phrase = new QLineEdit(this);
    m_phrase->setObjectName(u"Text2"_s);
    m_phrase->setPlaceholderText(u"新摘要"_s);

    QPushButton *add = commandButton(this, u"Command1"_s, u"增补"_s);
    add->setToolTip(u"把输入的内容增加为常用摘要"_s);
    connect(add, &QPushButton::clicked, this, &PhrasePicker::addPhrase);
    QPushButton *remove = commandButton(this, u"Command2"_s, u"删除"_s);
    remove->setToolTip(u"删除单击选中的摘要"_s);
    connect(remove, &QPushButton::clicked, this, &PhrasePicker::deletePhrase);
    QPushButton *close = commandButton(this, u"Command3"_s, u"关闭"_s);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);

    auto *editRow = new QHBoxLayout;
    editRow->addWidget(new QLabel(u"摘要"_s, this));
    editRow->addWidget(m_phrase, 1);
    auto *buttonRow = new QHBoxLayout;
    buttonRow->addWidget(add);
    buttonRow->addWidget(remove);
    buttonRow->addStretch(1);
    buttonRow->addWidget(close);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 10, 10, 10);
    layout->setSpacing(6);
    layout->addWidget(m_list, 1);
    layout->addLayout(editRow);
    layout->addLayout(buttonRow);

    resize(320, 400);
}

void PhrasePicker::pickFor(PhrasePick deliver, const QWidget *voucherWindow)
{
    m_deliver = std::move(deliver);
    m_anchor = voucherWindow ? voucherWindow : (parentWidget() ? parentWidget()->window() : nullptr);
}

void PhrasePicker::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    placeBeside(this, m_anchor, kVoucherLeftTwips, kVoucherTopTwips);
}

void PhrasePicker::reload()
{
    QStringList phrases;
    ListPhrases(m_session, phrases, m_dialogs);
    m_list->clear();
    m_list->addItems(phrases);
}

void PhrasePicker::choose(QListWidgetItem *item)
{
    if (!item)
        return;
    m_phrase->setText(item->text());
    if (m_deliver && !m_phrase->text().isEmpty()) {
        m_deliver(m_phrase->text());
        m_phrase->clear();
    }
    accept();
}

void PhrasePicker::addPhrase()
{
    if (!AddPhrase(m_session, m_phrase->text(), m_dialogs).isDone())
        return;
    const QString added = m_phrase->text();
    m_phrase->clear();
    reload();
    const QList<QListWidgetItem *> found = m_list->findItems(added, Qt::MatchExactly);
    if (!found.isEmpty())
        m_list->scrollToItem(found.first());
}

void PhrasePicker::deletePhrase()
{
    if (!DeletePhrase(m_session, m_phrase->text(), m_dialogs).isDone())
        return;
    m_phrase->clear();
    reload();
}

} // namespace tz
