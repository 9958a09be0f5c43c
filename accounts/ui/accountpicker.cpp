// The account picker.
#include "accounts/ui/accountpicker.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHash>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "accounts/accountsearch.h"
#include "accounts/accounttree.h"
#include "accounts/ui/pickerkeys.h"
#include "store/dialogs.h"
#include "store/guard.h"
#include "store/lookupaccount.h"
#include "store/session.h"
#include "store/ui/controls.h"
#include "store/ui/pickerplacement.h"

using namespace Qt::Literals::StringLiterals;

namespace tz {

namespace {

// Offsets of the picker from the window or field that opened it.
constexpr int kVoucherLeftTwips = 6000;
constexpr int kVoucherTopTwips = 1000;
constexpr int kQueryLeftTwips = 2700;
constexpr int kQueryTopTwips = 2500;

// The code in a tree node's or list item's text: everything before the
// first blank.
QString codeOf(const QString &text)
{
    return text.section(u' ', 0, 0);
}

} // namespace

AccountPicker::AccountPicker(Session &session, WindowDialogs dialogs, QWidget *parent)
    : SetWindow(session, dialogs.given, parent)
{
    setUp();
}

void AccountPicker::setUp()
{
    build();
    fillTree(0);
}

AccountPicker::~AccountPicker() = default;

void AccountPicker::build()
{
    setObjectName(u"AccountPicker"_s);
    setWindowTitle(u"双击选择科目"_s);

    // Search box and the close button beside it.
    m_search = new QLineEdit(this);
    m_search->setObjectName(u"Text3"_s);
    m_search->setPlaceholderText(u"代码/拼音/中文"_s);
    m_search->setToolTip(u"输入科目代码、拼音首字母或中文名称查找明细科目"_s);
    m_search->setClearButtonEnabled(true);
    m_search->installEventFilter(this);
    connect(m_search, &QLineEdit::textChanged, this, &AccountPicker::search);
    QPushButton *closeTop = commandButton(this, u"Command9"_s, u"关闭"_s);
    connect(closeTop, &QPushButton::clicked, this, &QDialog::reject);

    auto *searchRow = new QHBoxLayout;
    searchRow->setSpacing(6);
    auto *searchLabel = new QLabel(u"查找"_s, this);
    searchLabel->setBuddy(m_search);
    searchRow->addWidget(searchLabel);
    searchRow->addWidget(m_search, 1);
    searchRow->addWidget(closeTop);

    // The tree, with the search list laid over it while it has hits.
    m_tree = new QTreeWidget(this);
    m_tree->setObjectName(u"TreeView1"_s);
    m_tree->setHeaderHidden(true);
    m_tree->setColumnCount(1);
    m_tree->setUniformRowHeights(true);
    m_tree->setExpandsOnDoubleClick(false);
    m_tree->installEventFilter(this);
    m_tree->setToolTip(u"双击明细科目选择"_s);
    connect(m_tree, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem *item) { pickTreeItem(item); });

    m_list = new QListWidget(this);
    m_list->setObjectName(u"List1"_s);
    m_list->installEventFilter(this);
    m_list->hide();
    connect(m_list, &QListWidget::itemDoubleClicked, this, &AccountPicker::pickListItem);
    pickSingleOnEnter(m_search, m_list, [this](QListWidgetItem *item) { pickListItem(item); });

    // Class buttons, 设置 and 关闭.
    m_classes = new QButtonGroup(this);
    m_classes->setExclusive(true);
    auto *buttons = new QVBoxLayout;
    buttons->setSpacing(4);
    const struct {
        const char16_t *name;
        const char16_t *caption;
        int accountClass;
    } classButtons[] = {
        {u"Command2", u"全部", 0},
        {u"Command3", u"资产", 1},
        {u"Command4", u"负债", 2},
        {u"Command5", u"权益", 3},
        {u"Command6", u"成本", 4},
        {u"Command7", u"损益", 5},
    };
    for (const auto &c : classButtons) {
        QPushButton *button = commandButton(this, QString::fromUtf16(c.name), QString::fromUtf16(c.caption));
        button->setCheckable(true);
        button->setChecked(c.accountClass == 0);
        m_classes->addButton(button, c.accountClass);
        buttons->addWidget(button);
    }
    connect(m_classes, &QButtonGroup::idClicked, this, &AccountPicker::fillTree);
    buttons->addSpacing(12);
    m_settings = commandButton(this, u"Command8"_s, u"设置"_s);
    m_settings->setToolTip(u"科目设置"_s);
    m_settings->setEnabled(false);
    connect(m_settings, &QPushButton::clicked, this, &AccountPicker::openChart);
    buttons->addWidget(m_settings);
    buttons->addStretch(1);
    QPushButton *close = commandButton(this, u"Command1"_s, u"关闭"_s);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    buttons->addWidget(close);

    auto *layout = new QGridLayout(this);
    layout->setContentsMargins(10, 10, 10, 10);
    layout->setHorizontalSpacing(8);
    layout->setVerticalSpacing(6);
    layout->addLayout(searchRow, 0, 0, 1, 2);
    layout->addWidget(m_tree, 1, 0);
    layout->addWidget(m_list, 1, 0);
    layout->addLayout(buttons, 1, 1);
    layout->setColumnStretch(0, 1);
    layout->setRowStretch(1, 1);

    resize(440, 520);
}

void AccountPicker::pickForVoucher(AccountPickTarget &target, int line, const QWidget *voucherWindow)
{
    m_caller = Caller::Voucher;
    m_target = &target;
    m_nextLine = line;
    m_deliver = nullptr;
    m_anchor = voucherWindow ? voucherWindow : (parentWidget() ? parentWidget()->window() : nullptr);
}

void AccountPicker::pickForQuery(QueryPick deliver, const QWidget *accountField)
{
    m_caller = Caller::Query;
    m_target = nullptr;
    m_nextLine = 0;
    m_deliver = std::move(deliver);
    m_anchor = accountField;
}

void AccountPicker::setChartOpener(ChartOpener opener)
{
    m_openChart = std::move(opener);
    m_settings->setEnabled(bool(m_openChart));
}

void AccountPicker::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    switch (m_caller) {
    case Caller::Voucher:
        placeBeside(this, m_anchor, kVoucherLeftTwips, kVoucherTopTwips);
        break;
    case Caller::Query:
        if (m_anchor)
            placeBeside(this, m_anchor, kQueryLeftTwips, kQueryTopTwips);
        break;
    case Caller::None:
        centreOnScreen(this);
        break;
    }
    m_search->setFocus();
}

bool AccountPicker::eventFilter(QObject *watched, QEvent *event)
{
    // The keyboard way to the same picks: Down from the search box into the
    // list, Enter on a list item or a tree node as its double-click.
    if (watched == m_search && event->type() == QEvent::KeyPress
        && static_cast<QKeyEvent *>(event)->key() == Qt::Key_Down && m_list->isVisible()) {
        m_list->setFocus();
        if (!m_list->currentItem())
            m_list->setCurrentRow(0);
        return true;
    }
    if (watched == m_list && isEnterKey(event)) {
        if (QListWidgetItem *item = m_list->currentItem())
            pickListItem(item);
        return true;
    }
    if (watched == m_tree && isEnterKey(event)) {
        if (QTreeWidgetItem *item = m_tree->currentItem())
            pickTreeItem(item);
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void AccountPicker::fillTree(int accountClass)
{
    m_accountClass = accountClass;
    if (QAbstractButton *button = m_classes->button(accountClass))
        button->setChecked(true);
    QList<ChartAccount> rows;
    ReadAccountTree(m_session, accountClass, rows, m_dialogs);

    m_tree->setUpdatesEnabled(false);
    m_tree->clear();
    // Parents come before their children, so each node finds its parent.
    QHash<QString, QTreeWidgetItem *> nodes;
    for (const ChartAccount &account : std::as_const(rows)) {
        QTreeWidgetItem *parent = nodes.value(account.parentNodeKey());
        auto *node = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(m_tree);
        node->setText(0, account.nodeText());
        node->setToolTip(0, account.code + u' ' + account.fullName);
        nodes.insert(account.nodeKey(), node);
    }
    m_tree->setUpdatesEnabled(true);
}

void AccountPicker::search(const QString &text)
{
    QList<AccountSearchHit> hits;
    SearchAccounts(m_session, text, 0, hits, m_dialogs);
    m_list->clear();
    for (const AccountSearchHit &hit : std::as_const(hits))
        m_list->addItem(hit.itemText());
    m_list->setVisible(!hits.isEmpty());
    if (!hits.isEmpty())
        m_list->raise();
}

void AccountPicker::pickListItem(QListWidgetItem *item)
{
    if (!item)
        return;
    const QString text = item->text();
    if (m_caller == Caller::Voucher)
        fillVoucherLine(text);
    else if (m_caller == Caller::Query)
        deliverToQuery(codeOf(text));
    // Emptying the search box hides the list.
    m_search->clear();
    m_list->hide();
    m_search->setFocus();
}

void AccountPicker::pickTreeItem(QTreeWidgetItem *item)
{
    if (!item)
        return;
    const QString code = codeOf(item->text(0));
    if (m_caller == Caller::Voucher) {
        // Vouchers are kept on detail accounts only: nodes without children.
        if (item->childCount() > 0)
            return;
        AccountLookup values;
        if (lookUp(code, values) && !values.accountDisplay.isEmpty())
            fillVoucherLine(values.accountDisplay);
    } else if (m_caller == Caller::Query) {
        deliverToQuery(code);
    }
}

void AccountPicker::fillVoucherLine(const QString &text)
{
    if (!m_target)
        return;
    const int line = m_nextLine;
    if (line == m_target->lineCount())
        m_target->appendLine();
    // A line outside the grid (the header row or past the last line) gets nothing.
    if (line < 1 || line > m_target->lineCount())
        return;
    m_target->setAccountText(line, text);
    m_nextLine = line + 1;
}

void AccountPicker::deliverToQuery(const QString &code)
{
    if (!m_deliver)
        return;
    AccountLookup values;
    if (lookUp(code, values))
        m_deliver(code, values);
}

bool AccountPicker::lookUp(const QString &code, AccountLookup &values)
{
    return guarded(m_dialogs, [&] {
        LookupAccount(m_session, code, values);
        return OpResult::done();
    }).isDone();
}

void AccountPicker::openChart()
{
    if (!m_openChart)
        return;
    m_openChart();
    // Accounts may have been added, renamed or deleted.
    fillTree(0);
    search(m_search->text());
}

} // namespace tz
