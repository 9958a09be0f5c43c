// The chart-of-accounts window.
#include "accounts/ui/chartwindow.h"

#include <functional>
#include <optional>

#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHash>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSet>
#include <QSplitter>
#include <QTableWidget>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <QVBoxLayout>

#include "accounts/accounttree.h"
#include "accounts/chartrules.h"
#include "accounts/deleteaccount.h"
#include "accounts/detailattributes.h"
#include "accounts/renameaccount.h"
#include "accounts/subaccount.h"
#include "accounts/ui/toplevelaccountdialog.h"
#include "store/dialogs.h"
#include "store/numerickeyfilter.h"
#include "store/pinyininitials.h"
#include "store/ui/controls.h"
#include "store/ui/stripegrid.h"

using namespace Qt::Literals::StringLiterals;

namespace tz {

namespace {

// The attribute grid's columns.
enum Column {
    CodeColumn,
    FullNameColumn,
    UnitColumn,
    SpecColumn,
    RevaluedColumn,
};

struct ClassButton {
    int accountClass;
    const char16_t *name;
    const char16_t *caption;
};

constexpr ClassButton kClassButtons[] = {
    {1, u"Command7", u"资产"},
    {2, u"Command8", u"负债"},
    {3, u"Command9", u"权益"},
    {4, u"Command10", u"成本"},
    {5, u"Command11", u"损益"},
};

// A field of the window; read-only ones are drawn on the window's colour
// and take no focus.
QLineEdit *textField(QWidget *parent, const QString &name, bool readOnly = false)
{
    auto *field = new QLineEdit(parent);
    field->setObjectName(name);
    field->setReadOnly(readOnly);
    if (readOnly) {
        field->setFocusPolicy(Qt::NoFocus);
        field->setStyleSheet(u"QLineEdit { background: palette(window); }"_s);
    }
    return field;
}

// The detail-attribute grid: reports when the cursor leaves a row (the
// moment an edited row is saved), and Enter moves on to the next row, or
// saves in place on the last one.
class AttributeGrid : public QTableWidget {
public:
    using QTableWidget::QTableWidget;

    std::function<void(int row)> rowLeft;

protected:
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override
    {
        // The base class commits an open editor of the previous cell first.
        m_changingCurrent = true;
        QTableWidget::currentChanged(current, previous);
        m_changingCurrent = false;
        if (previous.isValid() && current.row() != previous.row() && rowLeft)
            rowLeft(previous.row());
    }

    void closeEditor(QWidget *editor, QAbstractItemDelegate::EndEditHint hint) override
    {
        QTableWidget::closeEditor(editor, hint);
        // Enter in an editor; a change of the current cell closes editors
        // with the same hint and must not move on again.
        if (hint == QAbstractItemDelegate::SubmitModelCache && !m_changingCurrent)
            moveDown();
    }

    void keyPressEvent(QKeyEvent *event) override
    {
        if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && state() != EditingState) {
            moveDown();
            event->accept();
            return;
        }
        QTableWidget::keyPressEvent(event);
    }

private:
    void moveDown()
    {
        const int row = currentRow();
        if (row < 0)
            return;
        if (row + 1 < rowCount())
            setCurrentCell(row + 1, currentColumn());
        else if (rowLeft)
            rowLeft(row);
    }

    bool m_changingCurrent = false;
};

void expandTo(QTreeWidgetItem *node)
{
    for (QTreeWidgetItem *up = node ? node->parent() : nullptr; up; up = up->parent())
        up->setExpanded(true);
}

QString parentCode(const QString &code)
{
    return code.size() > 4 ? code.left(code.size() - 3) : QString();
}

} // namespace

OpResult FillAccountTree(QTreeWidget *tree, Session &session, int accountClass, Dialogs &dialogs)
{
    QList<ChartAccount> rows;
    const OpResult read = ReadAccountTree(session, accountClass, rows, dialogs);
    tree->setUpdatesEnabled(false);
    tree->clear();
    // Parents come before their children, so each parent node exists by
    // the time its children are added.
    QHash<QString, QTreeWidgetItem *> nodes;
    for (const ChartAccount &account : rows) {
        QTreeWidgetItem *parent = nodes.value(account.parentNodeKey());
        auto *node = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(tree);
        node->setText(0, account.nodeText());
        node->setToolTip(0, account.fullName);
        node->setData(0, kAccountNodeKeyRole, account.nodeKey());
        nodes.insert(account.nodeKey(), node);
    }
    tree->setUpdatesEnabled(true);
    return read;
}

QString accountNodeCode(const QTreeWidgetItem *node)
{
    return node ? node->text(0).section(u' ', 0, 0) : QString();
}

QTreeWidgetItem *findAccountNode(QTreeWidget *tree, const QString &code)
{
    if (code.isEmpty())
        return nullptr;
    const QString key = u"x"_s + code;
    for (QTreeWidgetItemIterator it(tree); *it; ++it) {
        if ((*it)->data(0, kAccountNodeKeyRole).toString() == key)
            return *it;
    }
    return nullptr;
}

ChartWindow::ChartWindow(Session &session, WindowDialogs dialogs, QWidget *parent)
    : SetWindow(session, dialogs.given, parent)
{
    build();
}

ChartWindow::~ChartWindow() = default;

void ChartWindow::build()
{
    setObjectName(u"Form6"_s);
    setWindowTitle(u"科目处理"_s);
    setWindowFlag(Qt::WindowMaximizeButtonHint);

    auto *splitter = new QSplitter(Qt::Horizontal, this);
    splitter->setChildrenCollapsible(false);
    splitter->addWidget(buildTreePanel());
    splitter->addWidget(buildFieldPanel());
    splitter->setStretchFactor(0, 2);
    splitter->setStretchFactor(1, 3);

    m_help = helpLink(this, u"简单说明"_s, u"单击查看本窗说明"_s, [this] { showHelp(); });
    QPushButton *close = closeButton(this, u"Command5"_s, u"关 闭"_s);

    auto *bottomRow = new QHBoxLayout;
    bottomRow->addWidget(m_help);
    bottomRow->addStretch(1);
    bottomRow->addWidget(close);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 12, 12, 10);
    layout->setSpacing(10);
    layout->addWidget(splitter, 1);
    layout->addLayout(bottomRow);

    loadAttributeGrid();
    setAccountClass(1);
    resize(1000, 660);
    splitter->setSizes({360, 640});
}

QWidget *ChartWindow::buildTreePanel()
{
    auto *panel = new QWidget(this);
    auto *buttonRow = new QHBoxLayout;
    buttonRow->setSpacing(4);
    m_classGroup = new QButtonGroup(panel);
    for (const ClassButton &spec : kClassButtons) {
        QPushButton *button = commandButton(panel, QString::fromUtf16(spec.name), QString::fromUtf16(spec.caption));
        button->setCheckable(true);
        button->setMinimumWidth(48);
        m_classGroup->addButton(button, spec.accountClass);
        buttonRow->addWidget(button);
    }
    connect(m_classGroup, &QButtonGroup::idClicked, this, &ChartWindow::setAccountClass);

    m_tree = new QTreeWidget(panel);
    m_tree->setObjectName(u"TreeView1"_s);
    m_tree->setHeaderHidden(true);
    m_tree->setColumnCount(1);
    m_tree->setUniformRowHeights(true);
    m_tree->setMinimumWidth(260);
    connect(m_tree, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem *node) {
        if (selectAccount(accountNodeCode(node)))
            m_name->setFocus();
    });

    auto *layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 4, 0);
    layout->setSpacing(6);
    layout->addLayout(buttonRow);
    layout->addWidget(m_tree, 1);
    return panel;
}

QWidget *ChartWindow::buildFieldPanel()
{
    auto *panel = new QWidget(this);

    // The selected account and what is typed for it.
    auto *accountBox = new QGroupBox(u"科目"_s, panel);
    m_code = textField(accountBox, u"Text1"_s, true);
    m_code->setToolTip(u"双击左边的科目选定"_s);
    m_code->setFixedWidth(130);
    m_subCode = textField(accountBox, u"Text2"_s);
    m_subCode->setMaxLength(3);
    m_subCode->setFixedWidth(56);
    m_subCode->setAlignment(Qt::AlignCenter);
    m_subCode->setToolTip(u"下级明细代码(三位)"_s);
    m_subCode->setAttribute(Qt::WA_InputMethodEnabled, false);
    m_subCode->installEventFilter(this);
    m_oldName = textField(accountBox, u"Text5"_s, true);
    m_fullName = textField(accountBox, u"Text3"_s, true);
    m_name = textField(accountBox, u"Text4"_s);
    m_name->setPlaceholderText(u"新增或修改后的名称"_s);
    m_initials = textField(accountBox, u"Text6"_s);
    m_initials->setToolTip(u"拼音首字母,可修改"_s);
    m_direction = new QComboBox(accountBox);
    m_direction->setObjectName(u"Combo1"_s);
    m_direction->addItems({u"借"_s, u"贷"_s});
    m_direction->setPlaceholderText(u"借/贷"_s);
    m_direction->setCurrentIndex(-1);
    connect(m_name, &QLineEdit::textChanged, this,
        [this](const QString &name) { m_initials->setText(PinyinInitials(cleanAccountName(name))); });

    auto *form = new QGridLayout;
    form->setHorizontalSpacing(8);
    form->setVerticalSpacing(8);
    form->addWidget(new QLabel(u"科目代码"_s, accountBox), 0, 0);
    form->addWidget(m_code, 0, 1);
    form->addWidget(m_subCode, 0, 2);
    form->addWidget(m_oldName, 0, 3);
    form->addWidget(new QLabel(u"上级全称"_s, accountBox), 1, 0);
    form->addWidget(m_fullName, 1, 1, 1, 3);
    form->addWidget(new QLabel(u"科目名称"_s, accountBox), 2, 0);
    form->addWidget(m_name, 2, 1, 1, 3);
    form->addWidget(new QLabel(u"方向"_s, accountBox), 3, 0);
    form->addWidget(m_direction, 3, 1);
    form->addWidget(new QLabel(u"拼音"_s, accountBox), 3, 2, Qt::AlignRight);
    form->addWidget(m_initials, 3, 3);
    form->setColumnStretch(3, 1);

    QPushButton *add = commandButton(accountBox, u"Command1"_s, u"增明细"_s, u"增加下级明细科目"_s);
    QPushButton *remove = commandButton(accountBox, u"Command2"_s, u"删除"_s, u"删除选中的科目"_s);
    QPushButton *rename = commandButton(accountBox, u"Command3"_s, u"修改"_s, u"修改选中的科目"_s);
    QPushButton *topLevel = commandButton(accountBox, u"Command4"_s, u"增总科"_s, u"增加总帐科目"_s);
    QPushButton *exportChart = commandButton(accountBox, u"Command6"_s, u"导出EXCEL"_s, u"导出科目表到EXCEL"_s);
    exportChart->setEnabled(false); // arrives with the workbook export
    connect(add, &QPushButton::clicked, this, &ChartWindow::addDetailAccount);
    connect(remove, &QPushButton::clicked, this, &ChartWindow::deleteAccount);
    connect(rename, &QPushButton::clicked, this, &ChartWindow::renameAccount);
    connect(topLevel, &QPushButton::clicked, this, &ChartWindow::openTopLevelDialog);
    auto *buttons = new QHBoxLayout;
    buttons->setSpacing(6);
    for (QPushButton *button : {add, remove, rename})
        buttons->addWidget(button);
    buttons->addStretch(1);
    buttons->addWidget(topLevel);
    buttons->addWidget(exportChart);

    auto *accountLayout = new QVBoxLayout(accountBox);
    accountLayout->setSpacing(10);
    accountLayout->addLayout(form);
    accountLayout->addLayout(buttons);

    // Unit (单位), spec (规格) and FX flag of the detail accounts.
    auto *attributeBox = new QGroupBox(u"明细科目属性"_s, panel);
    auto *grid = new AttributeGrid(0, 5, attributeBox);
    m_grid = grid;
    m_grid->setObjectName(u"DataGrid1"_s);
    m_grid->setHorizontalHeaderLabels({u"科目代码"_s, u"科目全称"_s, u"单位"_s, u"规格"_s, u"调汇"_s});
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
        | QAbstractItemView::AnyKeyPressed | QAbstractItemView::SelectedClicked);
    m_grid->verticalHeader()->setDefaultSectionSize(m_grid->fontMetrics().height() + 8);
    m_grid->verticalHeader()->setVisible(false);
    QHeaderView *header = m_grid->horizontalHeader();
    header->setSectionResizeMode(FullNameColumn, QHeaderView::Stretch);
    m_grid->setColumnWidth(CodeColumn, 120);
    m_grid->setColumnWidth(UnitColumn, 64);
    m_grid->setColumnWidth(SpecColumn, 90);
    m_grid->setColumnWidth(RevaluedColumn, 52);
    grid->rowLeft = [this](int row) { saveAttributeRow(row); };
    connect(m_grid, &QTableWidget::itemChanged, this, [this](QTableWidgetItem *item) {
        if (!m_loadingGrid && item->column() >= UnitColumn)
            m_pendingRow = item->row();
    });

    auto *note = new QLabel(u"单位/规格/调汇(Y)说明：直接输入再点击其他行即可自动保存。"
                            "单位/规格只在数量式帐页上出现，有调汇标志的科目在调汇时出现。"_s,
        attributeBox);
    note->setObjectName(u"Label2"_s);
    note->setWordWrap(true);
    note->setStyleSheet(u"QLabel { color: #555555; }"_s);

    auto *attributeLayout = new QVBoxLayout(attributeBox);
    attributeLayout->setSpacing(6);
    attributeLayout->addWidget(m_grid, 1);
    attributeLayout->addWidget(note);

    auto *layout = new QVBoxLayout(panel);
    layout->setContentsMargins(4, 0, 0, 0);
    layout->setSpacing(10);
    layout->addWidget(accountBox);
    layout->addWidget(attributeBox, 1);
    return panel;
}

int ChartWindow::accountClass() const
{
    return m_accountClass;
}

void ChartWindow::setAccountClass(int accountClass)
{
    if (!isAccountClass(accountClass))
        return;
    m_accountClass = accountClass;
    showClassButtons();
    refillTree();
}

void ChartWindow::showClassButtons()
{
    // Every class at once leaves all class buttons up.
    m_classGroup->setExclusive(false);
    for (QAbstractButton *button : m_classGroup->buttons())
        button->setChecked(m_classGroup->id(button) == m_accountClass);
    m_classGroup->setExclusive(true);
}

void ChartWindow::setOpenedFromPicker(bool fromPicker)
{
    m_fromPicker = fromPicker;
}

bool ChartWindow::isOpenedFromPicker() const
{
    return m_fromPicker;
}

bool ChartWindow::selectAccount(const QString &code)
{
    std::optional<ChartAccount> account;
    if (!ReadAccount(m_session, code, account, m_dialogs).isDone() || !account)
        return false;
    m_code->setText(account->code);
    m_fullName->setText(account->fullName);
    m_oldName->setText(account->name);
    m_direction->setCurrentIndex(m_direction->findText(account->direction));
    QString subCode;
    ProposeSubCode(m_session, account->code, subCode, m_dialogs);
    m_subCode->setText(subCode);

    if (QTreeWidgetItem *node = findAccountNode(m_tree, account->code)) {
        expandTo(node);
        m_tree->setCurrentItem(node);
        m_tree->scrollToItem(node);
    }
    return true;
}

QString ChartWindow::selectedCode() const
{
    return m_code->text();
}

void ChartWindow::addDetailAccount()
{
    const NewDetailAccount account {
        m_code->text(), m_subCode->text(), m_name->text(), m_direction->currentText(), m_initials->text()};
    if (!AddDetailAccount(m_session, account, m_dialogs).isDone())
        return;
    // The parent stays selected and the next sub-code is offered, so that
    // the next sibling can follow at once.
    m_name->clear();
    m_subCode->setText(followingSubCode(account.subCode));
    afterChange(account.parentCode, account.parentCode + account.subCode);
}

void ChartWindow::deleteAccount()
{
    const QString code = m_code->text();
    if (!DeleteAccount(m_session, code, m_dialogs).isDone())
        return;
    clearSelection();
    afterChange(parentCode(code));
}

void ChartWindow::renameAccount()
{
    const AccountRename rename {m_code->text(), m_name->text(), m_direction->currentText(), m_initials->text()};
    if (!RenameAccount(m_session, rename, m_dialogs).isDone())
        return;
    m_fullName->clear();
    m_name->clear();
    m_oldName->clear();
    afterChange(rename.code);
}

void ChartWindow::openTopLevelDialog()
{
    auto dialog = std::make_unique<TopLevelAccountDialog>(m_session, givenDialogs(), this);
    // A top-level account keeps the class shown, even for the picker.
    connect(dialog.get(), &TopLevelAccountDialog::accountAdded, this, [this](const QString &code) {
        refillTree({}, code);
        loadAttributeGrid();
        emit chartChanged();
    });
    dialog->exec();
}

void ChartWindow::showHelp()
{
    m_dialogs.show(chartHelpText(), applicationTitle(), Icon::None);
}

void ChartWindow::done(int result)
{
    // Leaving the current cell commits an open editor and saves its row.
    m_grid->setCurrentIndex(QModelIndex());
    savePendingAttributes();
    QDialog::done(result);
}

void ChartWindow::afterChange(const QString &currentCode, const QString &revealCode)
{
    if (m_fromPicker) {
        m_accountClass = 0;
        showClassButtons();
    }
    refillTree(currentCode, revealCode);
    loadAttributeGrid();
    emit chartChanged();
}

void ChartWindow::refillTree(const QString &currentCode, const QString &revealCode)
{
    // The same branches stay open, and the current node stays current
    // unless another one is named.
    QSet<QString> expanded;
    for (QTreeWidgetItemIterator it(m_tree); *it; ++it) {
        if ((*it)->isExpanded())
            expanded.insert(accountNodeCode(*it));
    }
    const QString current = currentCode.isEmpty() ? accountNodeCode(m_tree->currentItem()) : currentCode;

    FillAccountTree(m_tree, m_session, m_accountClass, m_dialogs);

    for (QTreeWidgetItemIterator it(m_tree); *it; ++it) {
        if (expanded.contains(accountNodeCode(*it)))
            (*it)->setExpanded(true);
    }
    if (QTreeWidgetItem *node = findAccountNode(m_tree, current)) {
        expandTo(node);
        m_tree->setCurrentItem(node);
        m_tree->scrollToItem(node);
    } else {
        m_tree->setCurrentItem(nullptr);
    }
    if (QTreeWidgetItem *node = findAccountNode(m_tree, revealCode)) {
        expandTo(node);
        m_tree->scrollToItem(node);
    }
}

void ChartWindow::clearSelection()
{
    m_code->clear();
    m_subCode->clear();
    m_fullName->clear();
    m_oldName->clear();
}

void ChartWindow::loadAttributeGrid()
{
    savePendingAttributes();
    QList<ChartAccount> rows;
    ReadDetailAccounts(m_session, rows, m_dialogs);

    const int currentColumn = qMax(m_grid->currentColumn(), 0);
    const QTableWidgetItem *currentCode = m_grid->currentRow() >= 0 ? m_grid->item(m_grid->currentRow(), 0) : nullptr;
    const QString keep = currentCode ? currentCode->text() : QString();

    m_loadingGrid = true;
    m_grid->setRowCount(0);
    m_grid->setRowCount(int(rows.size()));
    int keepRow = -1;
    for (int row = 0; row < rows.size(); ++row) {
        const ChartAccount &account = rows.at(row);
        const QStringList texts
            = {account.code, account.fullName, account.unit, account.spec, account.revalued ? u"Y"_s : QString()};
        for (int column = CodeColumn; column <= RevaluedColumn; ++column) {
            auto *item = new QTableWidgetItem(texts.at(column));
            if (column < UnitColumn)
                item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
            else
                item->setTextAlignment(Qt::AlignCenter);
            m_grid->setItem(row, column, item);
        }
        if (account.code == keep)
            keepRow = row;
    }
    StripeGrid(m_grid);
    if (keepRow >= 0)
        m_grid->setCurrentCell(keepRow, currentColumn);
    m_loadingGrid = false;
    m_pendingRow = -1;
}

void ChartWindow::saveAttributeRow(int row)
{
    if (m_loadingGrid || row != m_pendingRow)
        return;
    m_pendingRow = -1;
    const auto text = [this, row](int column) {
        const QTableWidgetItem *item = m_grid->item(row, column);
        return item ? item->text().trimmed() : QString();
    };
    const QString code = text(CodeColumn);
    DetailAttributes attributes {text(UnitColumn), text(SpecColumn), text(RevaluedColumn).toUpper() == u"Y"_s};
    if (!SetDetailAttributes(m_session, code, attributes, m_dialogs).isDone()) {
        // Show what is stored, not what was refused.
        std::optional<ChartAccount> stored;
        ReadAccount(m_session, code, stored, m_dialogs);
        attributes = stored ? DetailAttributes {stored->unit, stored->spec, stored->revalued} : DetailAttributes {};
    }
    m_loadingGrid = true;
    m_grid->item(row, UnitColumn)->setText(attributes.unit);
    m_grid->item(row, SpecColumn)->setText(attributes.spec);
    m_grid->item(row, RevaluedColumn)->setText(attributes.revalued ? u"Y"_s : QString());
    m_loadingGrid = false;
}

void ChartWindow::savePendingAttributes()
{
    if (m_pendingRow >= 0 && m_pendingRow < m_grid->rowCount())
        saveAttributeRow(m_pendingRow);
    m_pendingRow = -1;
}

bool ChartWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_subCode && event->type() == QEvent::KeyPress && isRefusedCodeKey(static_cast<QKeyEvent *>(event)))
        return true;
    return QDialog::eventFilter(watched, event);
}

} // namespace tz
