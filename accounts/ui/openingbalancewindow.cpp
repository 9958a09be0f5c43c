// The opening-balance window.
#include "accounts/ui/openingbalancewindow.h"

#include <functional>

#include <QApplication>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QVBoxLayout>

#include "store/dialogs.h"
#include "store/money.h"
#include "store/numberformat.h"
#include "store/session.h"
#include "store/ui/controls.h"
#include "store/ui/messageboxdialogs.h"
#include "store/ui/wheelrows.h"

using namespace Qt::Literals::StringLiterals;

namespace tz {

namespace {

bool isEnterKey(int key)
{
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

QString quantityText(const std::optional<double> &quantity)
{
    return quantity ? shortestText(*quantity) : QString();
}

QString amountText(const std::optional<Cents> &amount)
{
    return amount ? centsToText(*amount, true) : QString();
}

} // namespace

// The editor of the quantity and amount cells: a line edit that takes only
// what NumericKeyFilter lets through, opened on the cell's text without
// group separators. Enter writes the cell and hands over to the window,
// which moves to the next row.
class AmountCellDelegate : public QStyledItemDelegate {
public:
    explicit AmountCellDelegate(QObject *parent)
        : QStyledItemDelegate(parent)
    {
        // An editor the view closed itself (focus out, Tab, Escape) is done.
        connect(this, &QAbstractItemDelegate::closeEditor, this, [this](QWidget *editor) {
            if (editor == m_editor)
                m_editor = nullptr;
        });
    }

    std::function<void()> enterPressed;

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &, const QModelIndex &index) const override
    {
        auto *editor = new QLineEdit(parent);
        editor->setFrame(false);
        editor->setAlignment(Qt::Alignment(index.data(Qt::TextAlignmentRole).toInt()) | Qt::AlignVCenter);
        m_editor = editor;
        return editor;
    }

    void setEditorData(QWidget *editor, const QModelIndex &index) const override
    {
        if (auto *line = qobject_cast<QLineEdit *>(editor))
            line->setText(stripGrouping(index.data(Qt::EditRole).toString()));
    }

    void setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const override
    {
        if (auto *line = qobject_cast<QLineEdit *>(editor))
            model->setData(index, line->text(), Qt::EditRole);
    }

    // Writes the open editor's text into its cell and closes it.
    void finishEditing()
    {
        if (!m_editor)
            return;
        QWidget *editor = m_editor;
        m_editor = nullptr;
        emit commitData(editor);
        emit closeEditor(editor, QAbstractItemDelegate::NoHint);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *editor = qobject_cast<QLineEdit *>(watched);
        if (editor && event->type() == QEvent::KeyPress) {
            const auto *key = static_cast<QKeyEvent *>(event);
            if (isEnterKey(key->key())) {
                finishEditing();
                if (enterPressed)
                    enterPressed();
                return true;
            }
            // Printable characters go through the filter; editing keys,
            // arrows and shortcuts keep their meaning.
            const QString text = key->text();
            if (!text.isEmpty() && text.at(0).unicode() >= 0x20 && !(key->modifiers() & Qt::ControlModifier)
                && !passesNumericFilter(editor, text)) {
                return true;
            }
        } else if (editor && event->type() == QEvent::InputMethod) {
            const auto *input = static_cast<QInputMethodEvent *>(event);
            if (!input->commitString().isEmpty() && !passesNumericFilter(editor, input->commitString()))
                return true;
        }
        return QStyledItemDelegate::eventFilter(watched, event);
    }

private:
    mutable QPointer<QWidget> m_editor;
};

OpeningBalanceWindow::OpeningBalanceWindow(Session &session, WindowDialogs dialogs, QWidget *parent)
    : SetWindow(session, dialogs.given, parent)
{
    setUp();
}

void OpeningBalanceWindow::setUp()
{
    build();
}

OpeningBalanceWindow::~OpeningBalanceWindow()
{
    // A window destroyed with its parent may still have a cell editor open:
    // write that edit now, then stop the grid's signals, so that destroying
    // the children afterwards cannot reach members already gone.
    commitEdits();
    m_grid->disconnect(this);
}

void OpeningBalanceWindow::build()
{
    setObjectName(u"Form9"_s);
    setWindowTitle(u"年初余额处理"_s);

    m_grid = new QTableWidget(0, ColumnCount, this);
    m_grid->setObjectName(u"DataGrid1"_s);
    m_grid->setHorizontalHeaderLabels(
        {u"科目代码"_s, u"科目全称"_s, u"方向"_s, u"数量"_s, u"借方金额"_s, u"贷方金额"_s});
    m_grid->verticalHeader()->hide();
    m_grid->verticalHeader()->setDefaultSectionSize(m_grid->fontMetrics().height() + 8);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectItems);
    m_grid->setAlternatingRowColors(true);
    m_grid->setEditTriggers(
        QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed);
    m_grid->setStyleSheet(u"QTableWidget { alternate-background-color: rgb(240,255,255); }"
                          "QHeaderView::section { background-color: rgb(210,210,253); padding: 3px; "
                          "border: 0px; border-right: 1px solid #b8b8e0; border-bottom: 1px solid #b8b8e0; }"_s);
    // The books' widths of 1200, 2200, 500, 1000, 1200 and 1200 twips, a
    // little wider for today's fonts; the full name takes what is left.
    const int widths[ColumnCount] = {100, 230, 48, 90, 120, 120};
    QHeaderView *header = m_grid->horizontalHeader();
    for (int column = 0; column < ColumnCount; ++column)
        header->resizeSection(column, widths[column]);
    header->setSectionResizeMode(NameColumn, QHeaderView::Stretch);
    header->setMinimumSectionSize(40);

    m_delegate = new AmountCellDelegate(m_grid);
    m_delegate->enterPressed = [this] { moveToNextRow(); };
    for (const int column : {QuantityColumn, DebitColumn, CreditColumn})
        m_grid->setItemDelegateForColumn(column, m_delegate);
    m_grid->installEventFilter(this);
    // A wheel notch over the focused grid also moves the current cell two
    // rows, then scrolls as usual.
    new WheelRowsFilter(m_grid, WheelRowsFilter::Then::Scroll);
    connect(m_grid, &QTableWidget::itemChanged, this, &OpeningBalanceWindow::cellEdited);
    connect(m_grid, &QTableWidget::currentCellChanged, this,
        [this](int currentRow, int, int previousRow, int) { rowChanged(currentRow, previousRow); });

    // Trial balance.
    const auto totalField = [this](const QString &name) {
        auto *field = new QLineEdit(this);
        field->setObjectName(name);
        field->setReadOnly(true);
        field->setFocusPolicy(Qt::NoFocus);
        field->setStyleSheet(u"QLineEdit { background: palette(window); }"_s);
        return field;
    };
    m_debitTotal = totalField(u"Text1"_s);
    m_creditTotal = totalField(u"Text2"_s);
    m_status = totalField(u"Text3"_s);
    for (QLineEdit *field : {m_debitTotal, m_creditTotal}) {
        field->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        field->setMinimumWidth(130);
    }
    m_status->setAlignment(Qt::AlignCenter);
    m_status->setFixedWidth(80);

    auto *totals = new QHBoxLayout;
    totals->addWidget(new QLabel(u"借方合计"_s, this));
    totals->addWidget(m_debitTotal, 1);
    totals->addSpacing(12);
    totals->addWidget(new QLabel(u"贷方合计"_s, this));
    totals->addWidget(m_creditTotal, 1);
    totals->addSpacing(12);
    totals->addWidget(new QLabel(u"试算平衡"_s, this));
    totals->addWidget(m_status);

    auto *frame = new QGroupBox(u"年初余额录入或修改"_s, this);
    auto *frameLayout = new QVBoxLayout(frame);
    frameLayout->addWidget(m_grid, 1);
    frameLayout->addLayout(totals);

    // Buttons.
    QPushButton *show = commandButton(this, u"Command1"_s, u"显示科目>>"_s);
    connect(show, &QPushButton::clicked, this, &OpeningBalanceWindow::showAccounts);
    m_load = commandButton(this, u"Command2"_s, u"装入或修改年初数"_s,
        u"试算平衡后把年初数装入凭证库; 修改年初数后再装入一次即可"_s);
    connect(m_load, &QPushButton::clicked, this, &OpeningBalanceWindow::loadIntoJournal);
    QPushButton *close = commandButton(this, u"Command5"_s, u"关闭"_s);
    close->setMinimumWidth(90);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);

    auto *hint = new QLabel(u"只列明细科目; 回车或离开该行即保存该行"_s, this);
    hint->setStyleSheet(u"QLabel { color: #1a4fa0; }"_s);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(show);
    buttons->addWidget(m_load);
    buttons->addSpacing(12);
    buttons->addWidget(hint);
    buttons->addStretch(1);
    buttons->addWidget(close);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 12, 12, 12);
    layout->setSpacing(10);
    layout->addWidget(frame, 1);
    layout->addLayout(buttons);

    clearTotals();
    m_load->setEnabled(false);
    resize(820, 580);
}

void OpeningBalanceWindow::showAccounts()
{
    commitEdits();
    QList<OpeningBalance> balances;
    if (!ReadOpeningBalances(m_session, balances, m_dialogs).isDone())
        return;
    m_filling = true;
    m_grid->setUpdatesEnabled(false);
    m_grid->clearContents();
    m_grid->setRowCount(int(balances.size()));
    for (int row = 0; row < balances.size(); ++row) {
        for (int column = 0; column < ColumnCount; ++column) {
            auto *item = new QTableWidgetItem;
            Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
            if (column >= QuantityColumn) {
                flags |= Qt::ItemIsEditable;
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            } else if (column == DirectionColumn) {
                item->setTextAlignment(Qt::AlignCenter);
            }
            item->setFlags(flags);
            m_grid->setItem(row, column, item);
        }
        showRow(row, balances.at(row));
    }
    m_grid->setUpdatesEnabled(true);
    m_filling = false;
    m_pending.clear();
    if (m_grid->rowCount() > 0) {
        m_grid->setCurrentCell(0, DebitColumn);
        m_grid->setFocus();
    }
    clearTotals();
    m_load->setEnabled(true);
}

void OpeningBalanceWindow::showRow(int row, const OpeningBalance &balance)
{
    const bool filling = m_filling;
    m_filling = true;
    m_grid->item(row, CodeColumn)->setText(balance.code);
    m_grid->item(row, NameColumn)->setText(balance.fullName);
    m_grid->item(row, DirectionColumn)->setText(balance.direction);
    m_grid->item(row, QuantityColumn)->setText(quantityText(balance.quantity));
    m_grid->item(row, DebitColumn)->setText(amountText(balance.debit));
    m_grid->item(row, CreditColumn)->setText(amountText(balance.credit));
    m_filling = filling;
}

void OpeningBalanceWindow::cellEdited(QTableWidgetItem *item)
{
    if (m_filling || !item)
        return;
    OpeningEdit &edit = m_pending[item->row()];
    switch (item->column()) {
    case QuantityColumn:
        edit.quantity = item->text();
        break;
    case DebitColumn:
        edit.debit = item->text();
        break;
    case CreditColumn:
        edit.credit = item->text();
        break;
    default:
        break;
    }
}

void OpeningBalanceWindow::rowChanged(int currentRow, int previousRow)
{
    if (previousRow >= 0 && previousRow != currentRow)
        writeRow(previousRow);
}

void OpeningBalanceWindow::moveToNextRow()
{
    const int row = m_grid->currentRow();
    if (row < 0)
        return;
    if (row + 1 < m_grid->rowCount())
        m_grid->setCurrentCell(row + 1, m_grid->currentColumn()); // leaving the row writes it
    else
        writeRow(row);
    m_grid->setFocus();
}

void OpeningBalanceWindow::writeRow(int row)
{
    const auto pending = m_pending.constFind(row);
    if (pending == m_pending.constEnd() || row < 0 || row >= m_grid->rowCount())
        return;
    const OpeningEdit edit = *pending;
    m_pending.erase(pending);
    const QString code = m_grid->item(row, CodeColumn)->text();
    SetOpeningBalance(m_session, code, edit, m_dialogs);

    // Show what is stored now: the amounts as the books format them, or the
    // old values when the edit was refused.
    QList<OpeningBalance> balances;
    if (!ReadOpeningBalances(m_session, balances, m_dialogs).isDone())
        return;
    for (const OpeningBalance &balance : std::as_const(balances)) {
        if (balance.code == code) {
            showRow(row, balance);
            break;
        }
    }
}

void OpeningBalanceWindow::commitEdits()
{
    m_delegate->finishEditing();
    const QList<int> rows = m_pending.keys();
    for (const int row : rows)
        writeRow(row);
}

void OpeningBalanceWindow::loadIntoJournal()
{
    commitEdits();
    TrialBalance trial;
    if (!ComputeTrialBalance(m_session, trial, m_dialogs).isDone())
        return;
    showTrialBalance(trial);
    if (LoadOpeningBalances(m_session, m_dialogs, &trial).isFailed())
        return;
    showTrialBalance(trial);
}

void OpeningBalanceWindow::showTrialBalance(const TrialBalance &trial)
{
    m_debitTotal->setText(trial.debitText());
    m_creditTotal->setText(trial.creditText());
    m_status->setText(trial.statusText());
    m_status->setStyleSheet(trial.isBalanced()
            ? u"QLineEdit { background: palette(window); color: #107020; font-weight: bold; }"_s
            : u"QLineEdit { background: palette(window); color: #c01010; font-weight: bold; }"_s);
}

void OpeningBalanceWindow::clearTotals()
{
    m_debitTotal->clear();
    m_creditTotal->clear();
    m_status->clear();
}

void OpeningBalanceWindow::done(int result)
{
    commitEdits();
    QDialog::done(result);
}

bool OpeningBalanceWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_grid && event->type() == QEvent::KeyPress && isEnterKey(static_cast<QKeyEvent *>(event)->key())) {
        moveToNextRow();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace tz
