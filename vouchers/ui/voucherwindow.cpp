// The voucher entry window.
#include "vouchers/ui/voucherwindow.h"

#include <algorithm>

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDateEdit>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QShortcut>
#include <QTableWidget>
#include <QVBoxLayout>

#include "accounts/accountsearch.h"
#include "accounts/ui/cashflowpicker.h"
#include "accounts/ui/chartwindow.h"
#include "accounts/ui/phrasepicker.h"
#include "store/dialogs.h"
#include "store/session.h"
#include "store/ui/controls.h"
#include "store/ui/messageboxdialogs.h"
#include "store/ui/pickerplacement.h"
#include "store/ui/wheelrows.h"
#include "vouchers/closing.h"
#include "vouchers/entrystart.h"
#include "vouchers/posting.h"
#include "vouchers/revaluation.h"
#include "vouchers/staging.h"
#include "vouchers/ui/revaluationwindow.h"

using namespace Qt::Literals::StringLiterals;

namespace tz {

namespace {

// Nine blanks between the window's name and the F7 hint.
const QString kCaption = u"TZ305财务--凭证录入         F7功能: 选择窗口/借贷找平"_s;

const QString kHelpText
    = u"1.出现与凭证号有关的提示时，请点[凭证号]\n\n"
      "2.科目栏支持代码\\拼音\\中文录入;双击或按F7出现科目选择窗口\n\n"
      "3.先找凭证,再输入(或修改)内容后,最后点[修改]/[插入]/[删除]\n\n"
      "4.可以随时选择任何月份进行操作(包括所有的操作)\n\n"
      "5.随时可以结帐与反结帐,但只有结帐后报表才准确,注意:12月份结帐了也可以保存修改插入删除凭证\n\n"
      "6.摘要默认取第一行内容，即第一行有摘要就可以了\n\n"
      "7.流代可以选择在凭证行数内即可"_s;

// The grid's captions and widths in twips; the quantity caption has four
// blanks before "(外币)".
struct GridColumn {
    const char16_t *caption;
    int twips;
    Qt::Alignment alignment;
};
const GridColumn kColumns[VoucherGrid::ColumnCount] = {
    {u"序号", 400, Qt::AlignCenter},
    {u"摘要说明", 2100, Qt::AlignLeft | Qt::AlignVCenter},
    {u"科 目 名 称", 3700, Qt::AlignLeft | Qt::AlignVCenter},
    {u"数 量    (外币)", 1200, Qt::AlignRight | Qt::AlignVCenter},
    {u"借方金额", 1500, Qt::AlignRight | Qt::AlignVCenter},
    {u"贷方金额", 1500, Qt::AlignRight | Qt::AlignVCenter},
    {u"流代", 500, Qt::AlignLeft | Qt::AlignVCenter},
    {u"流金", 1300, Qt::AlignLeft | Qt::AlignVCenter},
};

// Left offset of the account search list from the editor.
constexpr int kSearchListLeftTwips = 1000;

// A typed character (not a shortcut, not a control key).
bool isTypedCharacter(const QKeyEvent *key)
{
    if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))
        return false;
    const QString text = key->text();
    return !text.isEmpty() && text.at(0).unicode() >= 0x20 && text.at(0).unicode() != 0x7f;
}

// The cells that take only numbers.
bool isNumericColumn(int column)
{
    return column >= VoucherGrid::QuantityColumn;
}

QLineEdit *fieldOf(QWidget *parent, const QString &name, int width)
{
    auto *field = new QLineEdit(parent);
    field->setObjectName(name);
    field->setFixedWidth(width);
    return field;
}

} // namespace

VoucherWindow::VoucherWindow(Session &session, WindowDialogs dialogs, QWidget *parent)
    : SetWindow(session, dialogs.given, parent)
{
    setUp();
}

void VoucherWindow::setUp()
{
    build();
    start();
}

VoucherWindow::~VoucherWindow() = default;

void VoucherWindow::build()
{
    setObjectName(u"VoucherEntry"_s);
    setWindowTitle(kCaption);
    setWindowFlag(Qt::WindowMaximizeButtonHint);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(14, 10, 14, 12);
    layout->setSpacing(8);
    setLayout(layout);
    buildHeader();
    buildGrid();
    buildButtons();
    resize(1080, 520);
}

void VoucherWindow::buildHeader()
{
    auto *title = new QLabel(u"记 帐 凭 证"_s, this);
    title->setObjectName(u"Label1"_s);
    title->setAlignment(Qt::AlignCenter);
    title->setStyleSheet(u"QLabel { font-size: 22px; font-weight: bold; color: #8b1a1a; "
                         "border-bottom: 3px double #8b1a1a; padding: 0 18px 2px 18px; }"_s);
    auto *brand = new QLabel(u"TZ305"_s, this);
    brand->setObjectName(u"Label2"_s);
    brand->setStyleSheet(u"QLabel { color: #6a6a8a; font-style: italic; }"_s);

    auto *titleRow = new QHBoxLayout;
    titleRow->addStretch(1);
    titleRow->addWidget(title);
    titleRow->addStretch(1);
    titleRow->addWidget(brand, 0, Qt::AlignBottom);

    m_word = new QComboBox(this);
    m_word->setObjectName(u"Combo2"_s);
    m_word->setEditable(true);
    m_word->addItems({u"记"_s, u"收"_s, u"付"_s, u"转"_s});
    m_word->setCurrentText(u"记"_s);
    m_word->setFixedWidth(60);

    m_numberLabel = new QLabel(u"凭证号:"_s, this);
    m_numberLabel->setObjectName(u"Label7"_s);
    // The label's click has an Alt key too, shown in its tip as the buttons show theirs.
    const QKeySequence nextNumberKey(u"Alt+H"_s);
    m_numberLabel->setToolTip(u"点击取得最后新号码 ("_s + nextNumberKey.toString(QKeySequence::NativeText) + u')');
    connect(new QShortcut(nextNumberKey, this), &QShortcut::activated, this, &VoucherWindow::takeNextNumber);
    m_numberLabel->setCursor(Qt::PointingHandCursor);
    m_numberLabel->setAutoFillBackground(true);
    m_numberLabel->installEventFilter(this);
    m_number = fieldOf(this, u"Text4"_s, 70);
    m_attachments = fieldOf(this, u"Text5"_s, 50);
    for (QLineEdit *box : {m_number, m_attachments}) {
        box->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        box->installEventFilter(this);
    }

    m_date = new QDateEdit(this);
    m_date->setObjectName(u"DTPicker1"_s);
    m_date->setDisplayFormat(u"yyyy-MM-dd"_s);
    m_date->setCalendarPopup(true);
    m_date->setFixedWidth(120);
    connect(m_date, &QDateEdit::dateChanged, this, [this] { applyYearRule(true); });

    m_preparer = fieldOf(this, u"Text3"_s, 90);
    m_preparer->setReadOnly(true);
    m_preparer->setFocusPolicy(Qt::NoFocus);
    m_reviewer = new QComboBox(this);
    m_reviewer->setObjectName(u"Combo1"_s);
    m_reviewer->setEditable(true);
    m_reviewer->setFixedWidth(100);

    auto *fields = new QHBoxLayout;
    fields->setSpacing(6);
    const auto label = [this](const QString &text) { return new QLabel(text, this); };
    fields->addWidget(label(u"凭证字:"_s));
    fields->addWidget(m_word);
    fields->addSpacing(10);
    fields->addWidget(m_numberLabel);
    fields->addWidget(m_number);
    fields->addSpacing(10);
    fields->addWidget(label(u"附单据:"_s));
    fields->addWidget(m_attachments);
    fields->addStretch(1);
    fields->addWidget(m_date);
    fields->addStretch(1);
    fields->addWidget(label(u"操作员:"_s));
    fields->addWidget(m_preparer);
    fields->addSpacing(10);
    fields->addWidget(label(u"审核:"_s));
    fields->addWidget(m_reviewer);

    auto *box = qobject_cast<QVBoxLayout *>(layout());
    box->addLayout(titleRow);
    box->addLayout(fields);
}

void VoucherWindow::buildGrid()
{
    m_grid = new QTableWidget(0, VoucherGrid::ColumnCount, this);
    m_grid->setObjectName(u"Grid1"_s);
    m_grid->verticalHeader()->hide();
    m_grid->verticalHeader()->setDefaultSectionSize(m_grid->fontMetrics().height() + 12);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectItems);
    m_grid->setAttribute(Qt::WA_InputMethodEnabled);
    m_grid->setStyleSheet(u"QTableWidget { gridline-color: #9fb4d8; selection-background-color: #cfe0ff; "
                          "selection-color: black; }"
                          "QHeaderView::section { background-color: rgb(210,210,253); padding: 4px; border: 0px; "
                          "border-right: 1px solid #b8b8e0; border-bottom: 1px solid #b8b8e0; }"_s);
    QStringList captions;
    QHeaderView *header = m_grid->horizontalHeader();
    for (int column = 0; column < VoucherGrid::ColumnCount; ++column)
        captions << QString::fromUtf16(kColumns[column].caption);
    m_grid->setHorizontalHeaderLabels(captions);
    for (int column = 0; column < VoucherGrid::ColumnCount; ++column) {
        header->resizeSection(column, gridColumnPixels(kColumns[column].twips));
        m_grid->horizontalHeaderItem(column)->setTextAlignment(Qt::AlignCenter);
    }
    header->setStretchLastSection(true);
    header->setSectionsClickable(false);

    m_grid->installEventFilter(this);
    // One notch of the wheel moves the current cell two lines, and only that.
    new WheelRowsFilter(m_grid, WheelRowsFilter::Then::Stop);
    connect(m_grid, &QTableWidget::cellDoubleClicked, this, [this](int row, int column) {
        if (column == VoucherGrid::LineColumn)
            return;
        openEditor();
        pickForCell(row + 1, column);
    });
    connect(m_grid, &QTableWidget::currentCellChanged, this, [this] {
        closeEditor();
        m_hits->hide();
    });
    connect(m_grid->verticalScrollBar(), &QScrollBar::valueChanged, this, [this] { closeEditor(); });
    connect(m_grid->horizontalScrollBar(), &QScrollBar::valueChanged, this, [this] { closeEditor(); });

    m_editor = new QLineEdit(m_grid->viewport());
    m_editor->setObjectName(u"Text7"_s);
    m_editor->setFrame(false);
    m_editor->hide();
    m_editor->installEventFilter(this);
    connect(m_editor, &QLineEdit::textEdited, this, &VoucherWindow::editorEdited);

    m_hits = new QListWidget(this);
    m_hits->setObjectName(u"List1"_s);
    m_hits->setFixedSize(360, 170);
    m_hits->setStyleSheet(u"QListWidget { background: #fffdf0; border: 1px solid #8a8a60; }"_s);
    m_hits->hide();
    connect(m_hits, &QListWidget::itemActivated, this, &VoucherWindow::chooseSearchHit);
    m_hits->installEventFilter(this);

    // Below the grid: the help box at the left, the totals under the debit
    // and credit columns (placeTotals follows the columns).
    m_totals = new QWidget(this);
    m_totals->setObjectName(u"Totals"_s);
    m_totals->installEventFilter(this);
    m_debitTotal = fieldOf(m_totals, u"Text1"_s, 150);
    m_creditTotal = fieldOf(m_totals, u"Text2"_s, 150);
    for (QLineEdit *total : {m_debitTotal, m_creditTotal}) {
        total->setMinimumWidth(0);
        total->setMaximumWidth(QWIDGETSIZE_MAX);
        total->setReadOnly(true);
        total->setFocusPolicy(Qt::NoFocus);
        total->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        total->setStyleSheet(u"QLineEdit { background: palette(window); font-weight: bold; }"_s);
    }
    m_totalLabel = new QLabel(u"合  计"_s, m_totals);
    m_totalLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_help = fieldOf(m_totals, u"Text6"_s, 90);
    m_help->setText(u"操作说明"_s);
    m_help->setReadOnly(true);
    m_help->setFocusPolicy(Qt::NoFocus);
    m_help->setAlignment(Qt::AlignCenter);
    m_help->setCursor(Qt::PointingHandCursor);
    m_help->setStyleSheet(u"QLineEdit { color: #1a4fa0; background: palette(window); }"_s);
    m_help->installEventFilter(this);
    m_totals->setFixedHeight(m_debitTotal->sizeHint().height());
    connect(m_grid->horizontalHeader(), &QHeaderView::sectionResized, this, &VoucherWindow::placeTotals);

    auto *box = qobject_cast<QVBoxLayout *>(layout());
    box->addWidget(m_grid, 1);
    box->addWidget(m_totals);
    showCells();
}

void VoucherWindow::buildButtons()
{
    auto *row = new QHBoxLayout;
    row->setSpacing(4);
    // Each button has an Alt key of its own (shown in its tip), so the
    // whole window works from the keyboard; the captions stay as they are.
    const auto add = [&](const QString &name, const QString &caption, void (VoucherWindow::*slot)(), QChar key) {
        QPushButton *button = commandButton(this, name, caption);
        if (slot)
            connect(button, &QPushButton::clicked, this, slot);
        if (!key.isNull()) {
            const QKeySequence shortcut(u"Alt+"_s + key);
            button->setShortcut(shortcut);
            button->setToolTip(shortcut.toString(QKeySequence::NativeText));
        }
        row->addWidget(button);
        return button;
    };
    add(u"Command10"_s, u"首条"_s, &VoucherWindow::firstVoucher, u'F');
    add(u"Command12"_s, u"上一"_s, &VoucherWindow::previousVoucher, u'P');
    add(u"Command11"_s, u"下一"_s, &VoucherWindow::nextVoucher, u'N');
    add(u"Command13"_s, u"末条"_s, &VoucherWindow::lastVoucher, u'L');
    add(u"Command15"_s, u"刷新"_s, &VoucherWindow::refresh, u'R');
    row->addSpacing(12);
    m_postingButtons = {add(u"Command14"_s, u"保存记录"_s, &VoucherWindow::saveVoucher, u'S'),
        add(u"Command3"_s, u"修改"_s, &VoucherWindow::modifyVoucher, u'M'),
        add(u"Command2"_s, u"插入"_s, &VoucherWindow::insertVoucher, u'I'),
        add(u"Command1"_s, u"删除"_s, &VoucherWindow::deleteVoucher, u'D')};
    m_postingButtons.first()->setToolTip(u"Ctrl+S / Alt+S"_s);
    auto *save = new QShortcut(QKeySequence::Save, this);
    connect(save, &QShortcut::activated, this, [this] {
        if (m_postingButtons.first()->isEnabled())
            saveVoucher();
    });
    row->addSpacing(12);
    add(u"Command16"_s, u"结帐"_s, &VoucherWindow::closeMonth, u'J');
    add(u"Command17"_s, u"反结"_s, &VoucherWindow::reopenMonth, u'U');
    add(u"Command4"_s, u"期末调汇"_s, &VoucherWindow::revalue, u'T');
    row->addStretch(1);
    QPushButton *close = add(u"Command18"_s, u"关闭"_s, nullptr, u'C');
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    qobject_cast<QVBoxLayout *>(layout())->addLayout(row);
}

void VoucherWindow::start()
{
    m_preparer->setText(m_session.operatorName());
    EntryStart values;
    ReadEntryStart(m_session, values, m_dialogs);
    m_reviewer->addItems(values.reviewers);
    m_reviewer->setCurrentText(QString());
    const QDate first(m_session.fiscalYear(), values.month, 1);
    const int day = std::min(QDate::currentDate().day(), first.daysInMonth());
    m_date->setDate(first.addDays(day - 1));
    applyYearRule(false);
    showTotals();
    // A fresh window is ready for a new voucher: the month's next number.
    fillNextNumber();
}

int VoucherWindow::workingMonth() const
{
    return m_date->date().month();
}

VoucherHeader VoucherWindow::header() const
{
    VoucherHeader values;
    values.date = m_date->date();
    values.word = m_word->currentText();
    values.number = leadingNumber(m_number->text());
    values.attachments = leadingNumber(m_attachments->text());
    values.preparer = m_preparer->text();
    values.reviewer = m_reviewer->currentText();
    return values;
}

void VoucherWindow::applyYearRule(bool tell)
{
    const bool inYear = isFiscalYearDate(m_session, m_date->date());
    for (QPushButton *button : std::as_const(m_postingButtons))
        button->setEnabled(inYear);
    if (!inYear && tell)
        m_dialogs.show(u"会计年度不一致"_s, applicationTitle(), Icon::None);
}

void VoucherWindow::setNumberShaded(bool shaded)
{
    m_numberShaded = shaded;
    QPalette palette = m_numberLabel->palette();
    palette.setColor(QPalette::Window, QApplication::palette().color(shaded ? QPalette::Dark : QPalette::Button));
    m_numberLabel->setPalette(palette);
}

// Navigation.

void VoucherWindow::navigate(NavigationStep step)
{
    closeEditor();
    NavigationResult result;
    step(m_session, workingMonth(), m_number->text(), result, m_dialogs);
    m_number->setText(result.numberText);
    if (result.voucher) {
        const VoucherHeader &loaded = result.voucher->header;
        if (loaded.date.isValid())
            m_date->setDate(loaded.date);
        m_word->setCurrentText(loaded.word);
        m_number->setText(QString::number(loaded.number));
        m_attachments->setText(QString::number(loaded.attachments));
        m_preparer->setText(loaded.preparer);
        m_reviewer->setCurrentText(loaded.reviewer);
        m_cells.load(result.voucher->lines);
    }
    m_cells.formatCells();
    showCells();
}

void VoucherWindow::firstVoucher()
{
    navigate(&FirstVoucher);
}

void VoucherWindow::previousVoucher()
{
    navigate(&PreviousVoucher);
}

void VoucherWindow::nextVoucher()
{
    navigate(&NextVoucher);
}

void VoucherWindow::lastVoucher()
{
    navigate(&LastVoucher);
}

void VoucherWindow::fillNextNumber()
{
    int number = 0;
    if (NextVoucherNumber(m_session, workingMonth(), number, m_dialogs).isDone())
        m_number->setText(QString::number(number));
}

void VoucherWindow::takeNextNumber()
{
    fillNextNumber();
    setNumberShaded(!m_numberShaded);
}

void VoucherWindow::revalue()
{
    VoucherHeader values = header();
    if (values.number < 1) {
        m_dialogs.show(u"凭证号不能为空"_s, u"TZ305提示"_s, Icon::Critical);
        return;
    }
    if (!StartRevaluation(m_session, workingMonth(), m_dialogs).isDone())
        return;
    // The generated voucher is prepared and reviewed by the operator.
    values.reviewer = m_session.operatorName();
    RevaluationWindow window(m_session, m_dialogs, values, this);
    window.exec();
    if (window.postedNumber() > 0)
        fillNextNumber();
}

void VoucherWindow::refresh()
{
    closeEditor();
    m_cells.clear();
    m_hits->hide();
    showCells();
}

void VoucherWindow::showHelp()
{
    m_dialogs.show(kHelpText, applicationTitle(), Icon::None);
}

// Posting and closing.

void VoucherWindow::post(PostingStep step)
{
    closeEditor();
    applyYearRule(false);
    PostingOutcome outcome;
    const OpResult result = step(m_session, header(), m_cells.lines(), outcome, m_dialogs);
    if (outcome.numberNotConsecutive)
        setNumberShaded(true);
    if (!result.isDone())
        return;
    refresh();
    if (outcome.nextNumber)
        m_number->setText(QString::number(*outcome.nextNumber));
}

void VoucherWindow::saveVoucher()
{
    post(&SaveVoucher);
}

void VoucherWindow::modifyVoucher()
{
    post(&ModifyVoucher);
}

void VoucherWindow::insertVoucher()
{
    post(&InsertVoucher);
}

void VoucherWindow::deleteVoucher()
{
    post(&DeleteVoucher);
}

void VoucherWindow::closeMonth()
{
    closeEditor();
    ClosingResult closing;
    if (!CloseMonth(m_session, m_date->date(), m_reviewer->currentText(), m_dialogs, &closing).isDone())
        return;
    if (closing.voucherNumber)
        refresh();
    emit closedMonthsChanged();
}

void VoucherWindow::reopenMonth()
{
    closeEditor();
    if (!ReopenMonth(m_session, workingMonth(), m_dialogs).isDone())
        return;
    refresh();
    emit closedMonthsChanged();
}

// The pick target of the account picker.

int VoucherWindow::lineCount() const
{
    return m_cells.lineCount();
}

void VoucherWindow::appendLine()
{
    m_cells.appendLine();
    showCells();
}

void VoucherWindow::setAccountText(int line, const QString &text)
{
    m_cells.setText(line, VoucherGrid::AccountColumn, text);
    showCell(line, VoucherGrid::AccountColumn);
}

// Grid display.

int VoucherWindow::currentLine() const
{
    return m_grid->currentRow() + 1;
}

int VoucherWindow::currentColumn() const
{
    return m_grid->currentColumn();
}

void VoucherWindow::showCells()
{
    const int lines = m_cells.lineCount();
    if (m_grid->rowCount() != lines)
        m_grid->setRowCount(lines);
    for (int line = 1; line <= lines; ++line) {
        for (int column = 0; column < VoucherGrid::ColumnCount; ++column)
            showCell(line, column);
    }
    showTotals();
}

void VoucherWindow::showCell(int line, int column)
{
    QTableWidgetItem *item = m_grid->item(line - 1, column);
    if (!item) {
        item = new QTableWidgetItem;
        item->setTextAlignment(kColumns[column].alignment);
        if (column == VoucherGrid::LineColumn) {
            // The fixed line-number column: never current, drawn like the header.
            item->setFlags(Qt::NoItemFlags);
            item->setBackground(QColor(226, 226, 250));
            item->setForeground(QColor(40, 40, 90));
        } else {
            item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        }
        m_grid->setItem(line - 1, column, item);
    }
    item->setText(m_cells.text(line, column));
}

void VoucherWindow::showTotals()
{
    m_debitTotal->setText(m_cells.debitTotalText());
    m_creditTotal->setText(m_cells.creditTotalText());
}

void VoucherWindow::placeTotals()
{
    const QHeaderView *header = m_grid->horizontalHeader();
    const int height = m_totals->height();
    const auto under = [&](QWidget *widget, int column) {
        widget->setGeometry(
            m_grid->frameWidth() + header->sectionViewportPosition(column), 0, header->sectionSize(column), height);
    };
    under(m_totalLabel, VoucherGrid::QuantityColumn);
    under(m_debitTotal, VoucherGrid::DebitColumn);
    under(m_creditTotal, VoucherGrid::CreditColumn);
    m_help->setGeometry(0, 0, m_help->width(), height);
}

void VoucherWindow::moveTo(int line, int column)
{
    m_grid->setCurrentCell(line - 1, column);
    m_grid->setFocus();
}

// The cell editor Text7, laid over the current cell.

void VoucherWindow::openEditor(const QString &typed)
{
    const int line = currentLine();
    const int column = currentColumn();
    if (line < 1 || column <= VoucherGrid::LineColumn)
        return;
    placeEditor();
    m_editor->setAlignment(kColumns[column].alignment);
    m_editor->setText(m_cells.text(line, column));
    m_editor->show();
    m_editor->raise();
    m_editor->setFocus();
    m_editor->selectAll();
    if (!typed.isEmpty()) {
        // The typed character replaces the cell's text, as a keystroke into
        // the editor (so the amount columns' key filter applies).
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, typed);
        QApplication::sendEvent(m_editor, &press);
    }
}

void VoucherWindow::pasteIntoCell()
{
    const int column = currentColumn();
    if (currentLine() < 1 || column <= VoucherGrid::LineColumn)
        return;
    // The clipboard's first line goes in as typed text would: in place of
    // the editor's selection (the whole cell when the editor opens), past
    // the amount columns' key filter, and through the change rules.
    const QString text = QGuiApplication::clipboard()->text().section(u'\n', 0, 0).trimmed();
    if (text.isEmpty())
        return;
    if (!m_editor->isVisible())
        openEditor();
    if (isNumericColumn(column) && !passesNumericFilter(m_editor, text))
        return;
    m_editor->insert(text);
}

void VoucherWindow::placeEditor()
{
    const QRect cell = m_grid->visualRect(m_grid->currentIndex());
    m_editor->setGeometry(cell.adjusted(1, 1, -1, -1));
}

void VoucherWindow::closeEditor()
{
    if (!m_editor->isVisible())
        return;
    // The grid takes the focus before the editor goes: hiding a focused
    // child of the grid would pass the focus on as Tab does, and the grid
    // would step its current cell one column further.
    if (m_editor->hasFocus())
        m_grid->setFocus();
    m_editor->hide();
}

void VoucherWindow::editorEdited(const QString &text)
{
    const int line = currentLine();
    const int column = currentColumn();
    if (!m_cells.applyEdit(line, column, text))
        searchAccounts(text);
    showCell(line, column);
    showTotals();
}

bool VoucherWindow::editorKey(QKeyEvent *key)
{
    const int line = currentLine();
    const int column = currentColumn();
    // While the account search list is open, Down goes into it and Enter
    // takes its current (or first) account; Esc closes it.
    if (m_hits->isVisible() && column == VoucherGrid::AccountColumn) {
        switch (key->key()) {
        case Qt::Key_Down:
            m_hits->setFocus();
            m_hits->setCurrentRow(std::max(0, m_hits->currentRow()));
            return true;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            chooseSearchHit(m_hits->currentItem() ? m_hits->currentItem() : m_hits->item(0));
            return true;
        case Qt::Key_Escape:
            m_hits->hide();
            return true;
        default:
            break;
        }
    }
    if (key->matches(QKeySequence::Paste)) {
        pasteIntoCell();
        return true;
    }
    switch (key->key()) {
    case Qt::Key_Down:
        moveTo(std::min(line + 1, m_cells.lineCount()), column);
        return true;
    case Qt::Key_Up:
        moveTo(std::max(line - 1, 1), column);
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (line >= m_cells.lineCount())
            appendLine();
        else if (column != VoucherGrid::AccountColumn)
            m_grid->setCurrentCell(line, column);
        m_grid->setFocus();
        return true;
    case Qt::Key_Escape:
        m_grid->setFocus();
        return true;
    case Qt::Key_F7:
        m_grid->setFocus();
        pickForCell(line, column);
        balanceCell(line, column);
        return true;
    default:
        break;
    }
    return isNumericColumn(column) && isTypedCharacter(key) && !passesNumericFilter(m_editor, key->text());
}

// Keys on the grid itself.
bool VoucherWindow::gridKey(QKeyEvent *key)
{
    const int line = currentLine();
    const int column = currentColumn();
    if (line < 1 || column <= VoucherGrid::LineColumn)
        return false;
    if (key->key() == Qt::Key_Home && key->modifiers() == Qt::ControlModifier) {
        moveTo(1, VoucherGrid::SummaryColumn);
        return true;
    }
    if (key->matches(QKeySequence::Paste)) {
        pasteIntoCell();
        return true;
    }
    switch (key->key()) {
    case Qt::Key_F7:
        pickForCell(line, column);
        balanceCell(line, column);
        return true;
    case Qt::Key_Delete:
        m_cells.deleteCell(line, column);
        showCells();
        return true;
    case Qt::Key_Backspace:
        m_cells.backspaceCell(line, column);
        showCell(line, column);
        showTotals();
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_F2:
        openEditor();
        return true;
    default:
        break;
    }
    if (!isTypedCharacter(key))
        return false;
    openEditor(key->text());
    return true;
}

// The pick windows, by the cell: the account picker for the first line's
// account and for an account directly below a line that has one, the
// phrase window for a summary, the cash-flow window for a 流代 cell.
void VoucherWindow::pickForCell(int line, int column)
{
    const auto pickAccount = [&](int forLine) {
        auto picker = makeModalWindow<AccountPicker>(m_session, sharedDialogs(), this);
        picker->pickForVoucher(*this, forLine, this);
        picker->setChartOpener([this] { makeModalWindow<ChartWindow>(m_session, sharedDialogs(), this)->exec(); });
        picker->exec();
    };
    if (line == 1 && column == VoucherGrid::AccountColumn) {
        pickAccount(1);
    } else if (column == VoucherGrid::SummaryColumn) {
        auto picker = makeModalWindow<PhrasePicker>(m_session, sharedDialogs(), this);
        picker->pickFor(
            [this, line](const QString &phrase) {
                m_cells.setText(line, VoucherGrid::SummaryColumn, phrase);
                showCell(line, VoucherGrid::SummaryColumn);
            },
            this);
        picker->exec();
    } else if (line >= 2 && column == VoucherGrid::AccountColumn && m_cells.hasAccount(line - 1)) {
        pickAccount(line);
    } else if (column == VoucherGrid::FlowCodeColumn) {
        auto picker = makeModalWindow<CashFlowPicker>(m_session, sharedDialogs(), this);
        picker->pickFor([this, line](const QString &code) {
            m_cells.setText(line, VoucherGrid::FlowCodeColumn, code);
            showCell(line, VoucherGrid::FlowCodeColumn);
        });
        picker->exec();
    }
}

void VoucherWindow::balanceCell(int line, int column)
{
    if (!m_cells.balance(line, column))
        return;
    showCell(line, column);
    showTotals();
}

// The account search list List1, just above the editor.

void VoucherWindow::searchAccounts(const QString &text)
{
    m_hits->clear();
    QList<AccountSearchHit> hits;
    if (!text.isEmpty())
        SearchAccounts(m_session, text, 0, hits, m_dialogs);
    if (hits.isEmpty()) {
        m_hits->hide();
        return;
    }
    for (const AccountSearchHit &hit : std::as_const(hits))
        m_hits->addItem(hit.itemText());
    const QPoint editor = m_editor->mapTo(this, QPoint(0, 0));
    const int left
        = std::clamp(editor.x() - twipsToPixels(kSearchListLeftTwips), 0, std::max(0, width() - m_hits->width()));
    // Above the typed text where there is room, else below it: never over it.
    const int top = editor.y() >= m_hits->height() ? editor.y() - m_hits->height() : editor.y() + m_editor->height();
    m_hits->move(left, top);
    m_hits->show();
    m_hits->raise();
}

void VoucherWindow::chooseSearchHit(QListWidgetItem *item)
{
    const bool chosen = item && currentColumn() == VoucherGrid::AccountColumn;
    if (chosen) {
        m_cells.setText(currentLine(), VoucherGrid::AccountColumn, item->text());
        showCell(currentLine(), VoucherGrid::AccountColumn);
    }
    m_hits->hide();
    closeEditor();
    // The account is in: the amount comes next.
    if (chosen)
        moveTo(currentLine(), VoucherGrid::DebitColumn);
    else
        m_grid->setFocus();
}

bool VoucherWindow::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (watched == m_editor) {
        if (type == QEvent::KeyPress && editorKey(static_cast<QKeyEvent *>(event)))
            return true;
        if (type == QEvent::InputMethod && isNumericColumn(currentColumn())) {
            const auto *input = static_cast<QInputMethodEvent *>(event);
            if (!input->commitString().isEmpty() && !passesNumericFilter(m_editor, input->commitString()))
                return true;
        }
        if (type == QEvent::FocusOut)
            m_editor->hide();
    } else if (watched == m_grid) {
        if (type == QEvent::KeyPress && gridKey(static_cast<QKeyEvent *>(event)))
            return true;
        // Reached by Tab (or any way) with no cell to type into: line 1's summary.
        if (type == QEvent::FocusIn && (currentLine() < 1 || currentColumn() <= VoucherGrid::LineColumn))
            m_grid->setCurrentCell(0, VoucherGrid::SummaryColumn);
        if (type == QEvent::InputMethod) {
            // Chinese typed on the grid opens the editor with it.
            auto *input = static_cast<QInputMethodEvent *>(event);
            if (!input->commitString().isEmpty() && currentColumn() > VoucherGrid::LineColumn) {
                openEditor();
                QApplication::sendEvent(m_editor, input);
                return true;
            }
        }
    } else if (watched == m_hits && type == QEvent::KeyPress) {
        // Esc closes the list and goes back to the typed text.
        if (static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape) {
            m_hits->hide();
            m_grid->setFocus();
            return true;
        }
    } else if (watched == m_number || watched == m_attachments) {
        if (type == QEvent::KeyPress && isRefusedCodeKey(static_cast<QKeyEvent *>(event)))
            return true;
        if (type == QEvent::InputMethod) {
            const QString text = static_cast<QInputMethodEvent *>(event)->commitString();
            if (std::any_of(text.cbegin(), text.cend(), [](QChar c) { return c < u'0' || c > u'9'; }))
                return true;
        }
    } else if (watched == m_totals && type == QEvent::Resize) {
        placeTotals();
    } else if (type == QEvent::MouseButtonPress) {
        if (watched == m_numberLabel) {
            takeNextNumber();
            return true;
        }
        if (watched == m_help) {
            showHelp();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace tz
