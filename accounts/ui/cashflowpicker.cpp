// The cash-flow item window.
#include "accounts/ui/cashflowpicker.h"

#include <algorithm>

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QStyle>
#include <QVBoxLayout>

#include "accounts/cashflowitems.h"
#include "accounts/ui/pickerkeys.h"
#include "store/dialogs.h"
#include "store/session.h"
#include "store/ui/controls.h"

using namespace Qt::Literals::StringLiterals;

namespace tz {

namespace {

// The window's width without the maintenance area: 4700 twips.
constexpr int kNarrowWidth = 4700 / 15;

// The item code at the start of a list line.
QString codeOfLine(const QString &line)
{
    return line.left(3);
}

} // namespace

CashFlowPicker::CashFlowPicker(Session &session, WindowDialogs dialogs, QWidget *parent)
    : SetWindow(session, dialogs.given, parent)
{
    setUp();
}

void CashFlowPicker::setUp()
{
    build();
    reload();
    // Narrow, the window shows the list and no more; the longest item's
    // line is shown whole.
    const int listWidth = m_list->sizeHintForColumn(0) + 2 * m_list->frameWidth()
        + m_list->style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 8;
    m_list->setMinimumWidth(std::max(listWidth, 200));
    resize(std::max(kNarrowWidth, minimumSizeHint().width()), 440);
}

CashFlowPicker::~CashFlowPicker() = default;

void CashFlowPicker::build()
{
    setObjectName(u"CashFlowPicker"_s);
    setWindowTitle(u"双击选择项目"_s);

    m_list = new QListWidget(this);
    m_list->setObjectName(u"List1"_s);
    m_list->setToolTip(u"双击选择现金流量项目"_s);
    connect(m_list, &QListWidget::itemClicked, this,
        [this](QListWidgetItem *item) { m_code->setText(codeOfLine(item->text())); });
    connect(m_list, &QListWidget::itemDoubleClicked, this, &CashFlowPicker::choose);
    pickOnEnter(m_list, [this](QListWidgetItem *item) { choose(item); });

    m_toggle = commandButton(this, u"Command1"_s, u"增减 >>"_s);
    m_toggle->setToolTip(u"项目增减处理"_s);
    connect(m_toggle, &QPushButton::clicked, this, &CashFlowPicker::toggleMaintenance);

    // The maintenance area, hidden while the window is narrow.
    m_maintenance = new QGroupBox(u"项目增减"_s, this);
    m_code = new QLineEdit(m_maintenance);
    m_code->setObjectName(u"Text3"_s);
    // Digits only, however they arrive (keys, paste, input method);
    // Backspace and Delete still correct a mistyped digit.
    m_code->setValidator(new QRegularExpressionValidator(QRegularExpression(u"[0-9]*"_s), m_code));
    m_code->setPlaceholderText(u"三位数字"_s);
    m_name = new QLineEdit(m_maintenance);
    m_name->setObjectName(u"Text4"_s);
    m_name->setMinimumWidth(150);
    auto *hint = new QLabel(cashFlowCodeHint(), m_maintenance);
    hint->setWordWrap(true);
    hint->setStyleSheet(u"QLabel { color: #1a4fa0; }"_s);
    QPushButton *save = commandButton(m_maintenance, u"Command3"_s, u"保存"_s);
    connect(save, &QPushButton::clicked, this, &CashFlowPicker::addItem);
    QPushButton *remove = commandButton(m_maintenance, u"Command2"_s, u"删除"_s);
    remove->setToolTip(u"删除单击选中的项目"_s);
    connect(remove, &QPushButton::clicked, this, &CashFlowPicker::deleteItem);

    auto *fields = new QFormLayout;
    fields->addRow(u"代码"_s, m_code);
    fields->addRow(u"名称"_s, m_name);
    auto *maintenanceButtons = new QHBoxLayout;
    maintenanceButtons->addWidget(save);
    maintenanceButtons->addWidget(remove);
    auto *maintenanceLayout = new QVBoxLayout(m_maintenance);
    maintenanceLayout->addLayout(fields);
    maintenanceLayout->addWidget(hint);
    maintenanceLayout->addLayout(maintenanceButtons);
    maintenanceLayout->addStretch(1);
    m_maintenance->hide();

    QPushButton *close = commandButton(this, u"关闭"_s, u"关闭"_s);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    auto *buttonRow = new QHBoxLayout;
    buttonRow->addWidget(m_toggle);
    buttonRow->addStretch(1);
    buttonRow->addWidget(close);

    auto *listColumn = new QVBoxLayout;
    listColumn->addWidget(m_list, 1);
    listColumn->addLayout(buttonRow);

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(10, 10, 10, 10);
    layout->setSpacing(8);
    layout->addLayout(listColumn, 1);
    layout->addWidget(m_maintenance);
}

void CashFlowPicker::pickFor(CodePick deliver)
{
    m_deliver = std::move(deliver);
}

void CashFlowPicker::reload()
{
    QList<CashFlowItem> items;
    ListCashFlowItems(m_session, items, m_dialogs);
    m_list->clear();
    for (const CashFlowItem &item : std::as_const(items))
        m_list->addItem(item.listLine());
}

void CashFlowPicker::toggleMaintenance()
{
    m_wide = !m_wide;
    m_toggle->setText(m_wide ? u"增减 <<"_s : u"增减 >>"_s);
    const int before = width();
    m_maintenance->setVisible(m_wide);
    layout()->invalidate();
    layout()->activate(); // showing the area may already widen the window
    if (m_wide) {
        const int delta = m_maintenance->sizeHint().width() + layout()->spacing();
        resize(std::max(width(), before + delta), height());
        m_widened = width() - before;
        m_code->setFocus();
    } else {
        // Back to the width the window had before it was widened.
        resize(width() - m_widened, height());
        m_widened = 0;
    }
}

void CashFlowPicker::choose(QListWidgetItem *item)
{
    if (!item)
        return;
    if (m_deliver)
        m_deliver(codeOfLine(item->text()));
    accept();
}

void CashFlowPicker::addItem()
{
    if (!AddCashFlowItem(m_session, m_code->text(), m_name->text(), m_dialogs).isDone())
        return;
    const QString added = m_code->text();
    m_code->clear();
    m_name->clear();
    reload();
    for (int row = 0; row < m_list->count(); ++row) {
        if (codeOfLine(m_list->item(row)->text()) == added)
            m_list->scrollToItem(m_list->item(row));
    }
}

void CashFlowPicker::deleteItem()
{
    if (!DeleteCashFlowItem(m_session, m_code->text(), m_dialogs).isDone())
        return;
    m_code->clear();
    reload();
}

} // namespace tz
