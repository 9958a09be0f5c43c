// The comprehensive query window.
#include "ledgers/ui/querywindow.h"

#include <algorithm>

#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHash>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QTableView>
#include <QVBoxLayout>

#include "accounts/ui/accountpicker.h"
#include "export/ledgerworkbook.h"
#include "export/sheetexport.h"
#include "ledgers/accountstep.h"
#include "ledgers/balancetable.h"
#include "ledgers/entryjournal.h"
#include "ledgers/ledgerquery.h"
#include "ledgers/reportbuttons.h"
#include "ledgers/vouchersummary.h"
#include "printing/ledgerpages.h"
#include "printing/tablereports.h"
#include "printing/ui/paperprinter.h"
#include "store/dialogs.h"
#include "store/guard.h"
#include "store/lookupaccount.h"
#include "store/numberformat.h"
#include "store/offeredname.h"
#include "store/session.h"
#include "store/ui/controls.h"
#include "store/ui/resultgridmodel.h"
#include "store/ui/wheelrows.h"

using namespace Qt::Literals::StringLiterals;

namespace tz {

// Widths in twips of the grid columns from column 0 (0 hides a column;
// columns past the list keep the default width) and the display format of
// each formatted column.
struct QueryWindow::Layout {
    QList<int> widths;
    QHash<int, QString> formats;
    QHash<QString, QString> captions; // shown for stored column names
};

namespace {

const QString kDate = u"YYYY-MM-DD"_s;
const QString kMoney = u"#,#0.00"_s;
constexpr int kUnlistedTwips = 1500;

// The format options in the order the dispatch tests them.
struct FormatOption {
    const char16_t *name;
    const char16_t *caption;
    const char16_t *tip;
    LedgerFormat format;
};
const FormatOption kFormatOptions[] = {
    {u"Option1", u"三栏式", u"", LedgerFormat::Detail},
    {u"Option2", u"总帐式", u"", LedgerFormat::General},
    {u"Option3", u"数量式", u"", LedgerFormat::Quantity},
    {u"Option4", u"多栏[增]", u"反向不参与合计(增税除外)", LedgerFormat::MultiIncrease},
    {u"Option6", u"多栏式1", u"反向明细负值列出", LedgerFormat::MultiNet},
    {u"Option5", u"固累式", u"", LedgerFormat::FixedAsset},
};

// The total row of a table sorts last by its code '8'; the user sees only
// its caption.
ResultSet withoutSortKey(const ResultSet &rows)
{
    QList<ResultSet::Row> shown = rows.rows();
    if (!shown.isEmpty() && shown.last().value(0).toString() == u"8"_s)
        shown.last()[0] = QVariant();
    return ResultSet(rows.columnNames(), shown);
}

QLineEdit *shownField(QWidget *parent, const QString &name, int width = 0)
{
    auto *field = new QLineEdit(parent);
    field->setObjectName(name);
    field->setReadOnly(true);
    field->setFocusPolicy(Qt::ClickFocus);
    field->setStyleSheet(u"QLineEdit { background: palette(window); }"_s);
    if (width > 0)
        field->setFixedWidth(width);
    return field;
}

} // namespace

QueryWindow::QueryWindow(Session &session, QLineEdit *marker, QWidget *parent)
    : QueryWindow(session, nullptr, marker, parent)
{
}

QueryWindow::QueryWindow(Session &session, Dialogs &dialogs, QLineEdit *marker, QWidget *parent)
    : QueryWindow(session, &dialogs, marker, parent)
{
}

QueryWindow::QueryWindow(Session &session, Dialogs *dialogs, QLineEdit *marker, QWidget *parent)
    : SetWindow(session, dialogs, parent)
    , m_marker(marker)
{
    if (!m_marker) {
        m_marker = new QLineEdit(this);
        m_marker->setObjectName(u"QueryMarker"_s);
        m_marker->hide();
    }
    m_output = std::make_unique<PageOutput>(PageOutput::standard(this, m_dialogs));
    build();
    decimalsChanged();
}

QueryWindow::~QueryWindow() = default;

QString QueryWindow::marker() const
{
    return m_marker->text();
}

QString QueryWindow::leftMarginText() const
{
    return m_leftMargin->text();
}

void QueryWindow::setPageOutput(PageOutput output)
{
    *m_output = std::move(output);
}

void QueryWindow::build()
{
    setObjectName(u"QueryWindow"_s);
    setWindowTitle(u"TZ305财务---综合查询"_s);
    auto *box = new QVBoxLayout(this);
    box->setContentsMargins(10, 8, 10, 8);
    box->setSpacing(6);
    buildAccountRow(box);
    buildChoiceRow(box);
    buildTableRow(box);

    m_status = new QLabel(this);
    m_status->setObjectName(u"Label3"_s);
    m_status->setStyleSheet(u"QLabel { color: #1a3f8a; font-weight: bold; padding: 2px 4px; }"_s);
    box->addWidget(m_status);

    m_model = new ResultGridModel(this);
    m_grid = new QTableView(this);
    m_grid->setObjectName(u"MSH1"_s);
    setUpResultGrid(m_grid, m_model);
    // One notch of the wheel over the focused grid moves two rows, and the
    // grid scrolls as well.
    new WheelRowsFilter(m_grid, WheelRowsFilter::Then::Scroll);
    box->addWidget(m_grid, 1);
    resize(1100, 640);
}

void QueryWindow::buildAccountRow(QVBoxLayout *box)
{
    m_code = new QLineEdit(this);
    m_code->setObjectName(u"Text2"_s);
    m_code->setToolTip(u"双击或录入代码"_s);
    m_code->setFixedWidth(120);
    m_code->installEventFilter(this);
    connect(m_code, &QLineEdit::textChanged, this, &QueryWindow::codeChanged);

    m_namePath = shownField(this, u"Text3"_s);
    m_direction = shownField(this, u"Text4"_s, 36);
    m_unit = shownField(this, u"Text5"_s, 60);
    m_spec = shownField(this, u"Text8"_s, 90);
    m_topName = shownField(this, u"Text6"_s, 130);

    auto *row = new QHBoxLayout;
    row->setSpacing(6);
    row->addWidget(new QLabel(u"科目代码"_s, this));
    row->addWidget(m_code);
    row->addWidget(m_namePath, 1);
    row->addWidget(new QLabel(u"方向"_s, this));
    row->addWidget(m_direction);
    row->addWidget(new QLabel(u"单位"_s, this));
    row->addWidget(m_unit);
    row->addWidget(new QLabel(u"规格"_s, this));
    row->addWidget(m_spec);
    row->addWidget(new QLabel(u"总帐"_s, this));
    row->addWidget(m_topName);
    box->addLayout(row);
}

void QueryWindow::buildChoiceRow(QVBoxLayout *box)
{
    auto *formats = new QGroupBox(u"帐簿格式"_s, this);
    auto *formatRow = new QHBoxLayout(formats);
    formatRow->setContentsMargins(8, 2, 8, 2);
    m_formats = new QButtonGroup(this);
    int id = 0;
    for (const FormatOption &option : kFormatOptions) {
        auto *button = new QRadioButton(QString::fromUtf16(option.caption), formats);
        button->setObjectName(QString::fromUtf16(option.name));
        button->setToolTip(QString::fromUtf16(option.tip));
        m_formats->addButton(button, id++);
        formatRow->addWidget(button);
    }

    auto *row = new QHBoxLayout;
    row->setSpacing(4);
    row->addWidget(formats);
    const auto add = [&](const QString &name, const QString &caption, void (QueryWindow::*slot)(),
                         const QString &tip = {}) { addCommandButton(row, this, name, caption, slot, tip); };
    add(u"Command7"_s, u"帐页查询"_s, &QueryWindow::queryLedger);
    add(u"Command9"_s, u"上一"_s, &QueryWindow::previousAccount);
    add(u"Command8"_s, u"下一"_s, &QueryWindow::nextAccount);
    row->addStretch(1);

    const auto spinner = [&](const QString &name, const QString &label, const QString &tip) {
        auto *spin = new QSpinBox(this);
        spin->setObjectName(name);
        spin->setRange(0, 4);
        spin->setValue(2);
        spin->setToolTip(tip);
        connect(spin, &QSpinBox::valueChanged, this, &QueryWindow::decimalsChanged);
        row->addWidget(new QLabel(label, this));
        row->addWidget(spin);
        return spin;
    };
    m_quantityDigits = spinner(u"UpDown1"_s, u"数量"_s, u"显示数量小数位"_s);
    m_priceDigits = spinner(u"UpDown2"_s, u"单价"_s, u"显示单价小数位"_s);
    m_leftMargin = new QLineEdit(u"1"_s, this);
    m_leftMargin->setObjectName(u"Text7"_s);
    m_leftMargin->setToolTip(u"横向打印时的页面左边距，单位：CM"_s);
    m_leftMargin->setFixedWidth(40);
    row->addWidget(new QLabel(u"左边CM"_s, this));
    row->addWidget(m_leftMargin);
    box->addLayout(row);
}

void QueryWindow::buildTableRow(QVBoxLayout *box)
{
    m_month = new QComboBox(this);
    m_month->setObjectName(u"Combo1"_s);
    m_month->addItems({u"全部"_s, u"年初"_s});
    for (int month = 1; month <= 12; ++month)
        m_month->addItem(QString::number(month));
    m_depth = new QComboBox(this);
    m_depth->setObjectName(u"Combo2"_s);
    m_depth->addItems({u"1"_s, u"2"_s, u"3"_s, u"4"_s});

    auto *row = new QHBoxLayout;
    row->setSpacing(4);
    row->addWidget(new QLabel(u"月"_s, this));
    row->addWidget(m_month);
    row->addWidget(new QLabel(u"级"_s, this));
    row->addWidget(m_depth);
    row->addSpacing(8);
    const auto add = [&](const QString &name, const QString &caption, void (QueryWindow::*slot)(),
                         const QString &tip = {}) { addCommandButton(row, this, name, caption, slot, tip); };
    add(u"Command1"_s, u"分录簿"_s, &QueryWindow::queryJournal);
    add(u"Command14"_s, u"筛选"_s, &QueryWindow::filterJournal);
    add(u"Command2"_s, u"科目汇总表"_s, &QueryWindow::queryVoucherSummary);
    add(u"Command3"_s, u"科目余额表"_s, &QueryWindow::queryAmountBalance);
    add(u"Command5"_s, u"数量余额表"_s, &QueryWindow::queryQuantityBalance);
    row->addStretch(1);
    add(u"Command6"_s, u"打印"_s, &QueryWindow::print);
    add(u"Command10"_s, u"预览"_s, &QueryWindow::preview);
    add(u"Command4"_s, u"导出"_s, &QueryWindow::exportTable);
    add(u"Command11"_s, u"EXCEL帐页"_s, &QueryWindow::exportWorkbook, u"三,数,多栏式(EXCEL格式帐页)"_s);
    box->addLayout(row);
}

// The account.

void QueryWindow::codeChanged(const QString &text)
{
    const QString code = text.trimmed();
    if (code.isEmpty())
        return;
    AccountLookup values;
    const OpResult looked = guarded(m_dialogs, [&] {
        LookupAccount(m_session, code, values);
        return OpResult::done();
    });
    if (!looked.isDone())
        return;
    m_status->setText(values.accountNamePath);
    m_namePath->setText(values.accountNamePath);
    m_direction->setText(values.accountDirection);
    m_unit->setText(values.accountUnit);
    m_spec->setText(values.accountSpec);
    m_topName->setText(values.accountNamePath.section(u'/', 0, 0));
}

void QueryWindow::pickAccount()
{
    auto picker = makeModalWindow<AccountPicker>(m_session, givenDialogs(), this);
    picker->pickForQuery([this](const QString &code, const AccountLookup &) { m_code->setText(code); }, m_code);
    picker->exec();
}

void QueryWindow::stepAccount(bool next)
{
    const bool general
        = m_formats->checkedId() >= 0 && kFormatOptions[m_formats->checkedId()].format == LedgerFormat::General;
    AccountStep step;
    if (!StepAccount(
            m_session, m_code->text(), general, next ? StepDirection::Next : StepDirection::Previous, step, m_dialogs)
             .isDone()) {
        return;
    }
    m_code->setText(step.code);
    m_status->setText(step.fullName);
    m_namePath->setText(step.fullName);
    m_direction->setText(step.direction);
    m_unit->setText(step.unit);
    m_spec->setText(step.spec);
    m_topName->setText(step.topName);
    queryLedger();
}

void QueryWindow::nextAccount()
{
    stepAccount(true);
}

void QueryWindow::previousAccount()
{
    stepAccount(false);
}

void QueryWindow::decimalsChanged()
{
    m_session.setQuantityFormat(decimalPlacesFormat(m_quantityDigits->value()));
    m_session.setPriceFormat(decimalPlacesFormat(m_priceDigits->value()));
}

// The queries.

std::optional<LedgerFormat> QueryWindow::chosenFormat() const
{
    const int id = m_formats->checkedId();
    if (id < 0)
        return std::nullopt;
    return kFormatOptions[id].format;
}

void QueryWindow::setMarker(const QString &marker)
{
    m_marker->setText(marker);
    m_unfilledLedger.reset();
}

void QueryWindow::showRows(ResultSet rows, const Layout &layout)
{
    m_grid->setUpdatesEnabled(false);
    m_model->setResult(std::move(rows));
    applyLayout(layout);
}

void QueryWindow::showPagedRows(PagedRows rows, const Layout &layout)
{
    m_grid->setUpdatesEnabled(false);
    m_model->setPagedResult(std::move(rows));
    applyLayout(layout);
}

void QueryWindow::applyLayout(const Layout &layout)
{
    for (auto format = layout.formats.cbegin(); format != layout.formats.cend(); ++format)
        m_model->setColumnFormat(format.key(), format.value());
    const QStringList names = m_model->columnNames();
    for (qsizetype c = 0; c < names.size(); ++c) {
        if (layout.captions.contains(names.at(c)))
            m_model->setHeaderCaption(int(c) + 1, layout.captions.value(names.at(c)));
    }
    QHeaderView *header = m_grid->horizontalHeader();
    for (int column = 0; column < m_model->columnCount(); ++column) {
        const bool listed = column < layout.widths.size();
        const int width = listed ? layout.widths.at(column) : 0;
        m_grid->setColumnHidden(column, listed && width == 0);
        // Columns the layout does not list (the sub-accounts of a
        // multi-column ledger) take the width of an amount column, or of
        // their heading where that is wider: a centred heading wider than
        // its column loses its first and last characters.
        header->resizeSection(column, listed ? gridColumnPixels(std::max(width, 1))
                                             : std::max(gridColumnPixels(kUnlistedTwips), header->sectionSizeHint(column)));
    }
    fitColumns();
    if (m_model->rowCount() > 0)
        m_grid->setCurrentIndex(m_model->index(0, 1));
    // Every query starts at the left, whatever the last one scrolled to.
    m_grid->horizontalScrollBar()->setValue(0);
    m_grid->scrollToTop();
    m_grid->setUpdatesEnabled(true);
}

void QueryWindow::fitColumns()
{
    // The columns of a ledger, the balance last, are laid out for a wide
    // form; where the window is narrower the widest column (the summary or
    // the account name) gives up what is missing, down to a third of itself,
    // so the balance columns stay in sight.
    QHeaderView *header = m_grid->horizontalHeader();
    int total = 0;
    int widest = -1;
    for (int column = 0; column < m_model->columnCount(); ++column) {
        if (m_grid->isColumnHidden(column))
            continue;
        total += header->sectionSize(column);
        if (widest < 0 || header->sectionSize(column) > header->sectionSize(widest))
            widest = column;
    }
    const int room = m_grid->viewport()->width();
    if (widest < 0 || total <= room || m_model->columnCount() > 20)
        return;
    const int width = header->sectionSize(widest);
    const int floor = std::min(width, std::max(width / 3, 160));
    header->resizeSection(widest, std::max(floor, width - (total - room)));
}

void QueryWindow::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    if (m_model && m_model->rowCount() > 0)
        fitColumns();
}

void QueryWindow::queryLedger()
{
    const std::optional<LedgerFormat> format = chosenFormat();
    if (!format) {
        m_dialogs.show(u"请选择帐簿格式"_s, applicationTitle(), Icon::None);
        return;
    }
    m_model->clear();
    setMarker(queryMarkerOf(*format));
    const QString code = m_code->text().trimmed();
    m_exportName = {ledgerSubject(*format), *format == LedgerFormat::General ? code.left(4) : code,
                    periodName(m_session.fiscalYear())};
    LedgerRequest request;
    request.code = m_code->text();
    request.direction = m_direction->text();
    request.priceDigits = m_priceDigits->value();
    PagedRows rows;
    bool filled = false;
    if (OpenLedgerView(m_session, *format, request, rows, filled, m_dialogs).isFailed())
        return;
    if (!filled)
        m_unfilledLedger.emplace(*format, request);

    Layout layout;
    const QString quantity = m_session.quantityFormat();
    const QString price = m_session.priceFormat();
    switch (*format) {
    case LedgerFormat::Detail:
    case LedgerFormat::General:
        layout.widths = {500, 0, 1300, 800, 0, 3000, 1800, 1800, 500, 1800};
        layout.formats = {{2, kDate}, {6, kMoney}, {7, kMoney}, {9, kMoney}};
        break;
    case LedgerFormat::Quantity:
        layout.widths = {500, 0, 1200, 800, 0, 1800, 1200, 800, 1400, 1200, 800, 1400, 400, 1200, 800, 1400};
        layout.formats = {{2, kDate}, {8, kMoney}, {11, kMoney}, {15, kMoney}, {6, quantity}, {9, quantity},
            {13, quantity}, {7, price}, {10, price}, {14, price}};
        break;
    case LedgerFormat::MultiIncrease:
    case LedgerFormat::MultiNet:
        layout.widths = {500, 0, 1200, 800, 0, 1500, 1500, 1500, 400, 1500};
        layout.formats = {{2, kDate}};
        // Every amount column from 借方金额 on, the sub-accounts' included;
        // text such as 方向 stays as it is.
        for (int column = 6; column <= rows.columnNames().size(); ++column)
            layout.formats.insert(column, kMoney);
        layout.captions = {{u"借方金额1"_s, u"借方金额"_s}, {u"贷方金额1"_s, u"贷方金额"_s}};
        break;
    case LedgerFormat::FixedAsset:
        layout.widths = {500, 0, 0, 1300, 800, 0, 2000, 1400, 1400, 1400, 1400, 1400, 1400, 1400};
        layout.formats = {{3, kDate}};
        for (int column = 7; column <= 13; ++column)
            layout.formats.insert(column, kMoney);
        layout.captions = {{u"借方金额1"_s, u"折旧借方"_s}, {u"贷方金额1"_s, u"折旧贷方"_s}};
        break;
    }
    const int count = rows.count();
    showPagedRows(std::move(rows), layout);
    const QString name = *format == LedgerFormat::General ? m_topName->text() : m_namePath->text();
    m_status->setText(ledgerCaption(*format, name, count));
}

void QueryWindow::queryBalance(bool amountView)
{
    setMarker(amountView ? QueryMarker::AmountBalance : QueryMarker::QuantityBalance);
    const QString month = m_month->currentText();
    m_exportName = {amountView ? u"科目余额表"_s : u"数量余额表"_s, periodName(m_session.fiscalYear(), month)};
    if (!BuildBalanceTable(m_session, month, m_depth->currentText(), m_dialogs).isDone()) {
        setMarker(QString());
        return;
    }
    ResultSet rows;
    if (!ReadBalanceTable(m_session, BalanceView::Quantity, rows, m_dialogs).isDone() || rows.recordCount() == 0)
        return;
    Layout layout;
    layout.widths = {500, 1500, 2000, 500, 1200, 1400, 1200, 1400, 1200, 1400, 1200, 1500, 1200, 1500, 1200, 1400};
    for (const int column : {5, 7, 9, 11, 13, 15})
        layout.formats.insert(column, kMoney);
    for (const int column : {4, 6, 8, 10, 12, 14}) {
        layout.formats.insert(column, m_session.quantityFormat());
        if (amountView)
            layout.widths[column] = 0;
    }
    const int count = rows.recordCount();
    showRows(withoutSortKey(rows), layout);
    m_status->setText(balanceTableCaption(amountView ? BalanceView::Amount : BalanceView::Quantity, month, count));
}

void QueryWindow::queryAmountBalance()
{
    queryBalance(true);
}

void QueryWindow::queryQuantityBalance()
{
    queryBalance(false);
}

void QueryWindow::queryVoucherSummary()
{
    setMarker(QueryMarker::VoucherSummary);
    const QString month = m_month->currentText();
    m_exportName = {u"科目汇总表"_s, periodName(m_session.fiscalYear(), month)};
    if (!BuildVoucherSummary(m_session, month, m_dialogs).isDone())
        return;
    ResultSet rows;
    if (!ReadVoucherSummary(m_session, rows, m_dialogs).isDone())
        return;
    const int count = rows.recordCount();
    showRows(withoutSortKey(rows), Layout {{500, 1200, 2000, 2000, 2000}, {{3, kMoney}, {4, kMoney}}, {}});
    m_status->setText(voucherSummaryCaption(month, count));
}

namespace {

// The entry journal's columns: 月, 日期, 字号, 号码 (hidden), 摘要说明,
// 科目代码, 科目全称, 数量, 借方金额, 贷方金额, 流代, 流金, 制单, 审核, 附件,
// 结帐, ID (hidden).
const QList<int> kJournalWidths
    = {500, 400, 1200, 800, 0, 2500, 1500, 2800, 1000, 1300, 1300, 600, 1200, 600, 600, 500, 500, 0};

} // namespace

QueryWindow::Layout QueryWindow::journalLayout() const
{
    return {kJournalWidths, {{2, kDate}, {8, m_session.quantityFormat()}, {9, kMoney}, {10, kMoney}, {12, kMoney}}, {}};
}

int QueryWindow::showJournal()
{
    ResultSet rows;
    if (!ReadEntryJournal(m_session, rows, m_dialogs).isDone())
        return -1;
    const int count = rows.recordCount();
    showRows(std::move(rows), journalLayout());
    return count;
}

void QueryWindow::queryJournal()
{
    setMarker(QueryMarker::Journal);
    const QString month = m_month->currentText();
    m_exportName = {u"分录簿"_s, periodName(m_session.fiscalYear(), month)};
    // The grid reads the lines straight from the journal as they come on
    // screen; the copy into 分录始表 waits for the export that reads it.
    PagedRows rows;
    if (!OpenEntryJournal(m_session, month, rows, m_dialogs).isDone())
        return;
    m_unstagedJournal = month;
    const int count = rows.count();
    showPagedRows(std::move(rows), journalLayout());
    m_status->setText(entryJournalCaption(month, count));
}

bool QueryWindow::stageJournal()
{
    if (!m_unstagedJournal)
        return true;
    if (!BuildEntryJournal(m_session, *m_unstagedJournal, m_dialogs).isDone())
        return false;
    m_unstagedJournal.reset();
    return true;
}

bool QueryWindow::fillLedgerTable()
{
    // Built each time it is asked for, so the reader gets the current books.
    return !m_unfilledLedger
        || BuildLedger(m_session, m_unfilledLedger->first, m_unfilledLedger->second, m_dialogs).isDone();
}

void QueryWindow::filterJournal()
{
    setMarker(QueryMarker::Journal);
    m_unstagedJournal.reset();
    const QString prefix = m_code->text().trimmed();
    m_exportName = {u"分录簿"_s, prefix, periodName(m_session.fiscalYear())};
    if (!BuildPrefixJournal(m_session, prefix, m_dialogs).isDone()) {
        m_model->clear();
        return;
    }
    const int count = showJournal();
    if (count >= 0)
        m_status->setText(prefixJournalCaption(prefix, count));
}

// Printing and export.

void QueryWindow::chooseReport(ReportButton button)
{
    const QString kind = marker();
    ReportTarget target = ReportTarget::None;
    const OpResult chosen
        = ChooseReport(button, kind, m_code->text().trimmed(), printerInstalled(), target, m_dialogs);
    const bool go = chosen.isDone() && target != ReportTarget::None && fillLedgerTable();
    if (clearsMarker(button))
        setMarker(QString());
    if (!go)
        return;
    if (button == ReportButton::Workbook || target == ReportTarget::MultiColumnWorkbook) {
        writeLedgerWorkbook(target);
        return;
    }
    Document doc;
    if (!layOutReport(target, kind, doc))
        return;
    // The report's name and its preview marker on the main window.
    static const QHash<ReportTarget, std::pair<QString, int>> kReports {
        {ReportTarget::BalanceTablePage, {u"科目余额表"_s, 16}}, {ReportTarget::VoucherSummaryPage, {u"凭证汇总表"_s, 17}},
        {ReportTarget::ThreeColumnPage, {u"三栏帐"_s, 18}},      {ReportTarget::QuantityPage, {u"数量帐"_s, 19}},
        {ReportTarget::FixedAssetPage, {u"固累帐"_s, 20}}};
    const auto [title, previewMarkerNumber] = kReports.value(target);
    if (button == ReportButton::Preview)
        m_output->preview(doc, title, previewMarkerNumber);
    else
        m_output->print(doc);
}

bool QueryWindow::layOutReport(ReportTarget target, const QString &kind, Document &doc)
{
    const double leftCm = m_leftMargin->text().toDouble();
    switch (target) {
    case ReportTarget::BalanceTablePage:
        return LayOutBalanceReport(m_session, m_month->currentText(), leftCm, doc, m_dialogs).isDone();
    case ReportTarget::VoucherSummaryPage:
        return LayOutSummaryReport(m_session, m_month->currentText(), doc, m_dialogs).isDone();
    default:
        break;
    }
    LedgerPageHeading heading;
    heading.general = kind == QueryMarker::GeneralLedger;
    heading.topName = m_topName->text();
    heading.account = m_code->text().trimmed() + u" "_s + m_namePath->text();
    heading.unit = m_unit->text();
    heading.spec = m_spec->text();
    heading.leftCm = leftCm;
    heading.quantityFormat = m_session.quantityFormat();
    heading.priceFormat = m_session.priceFormat();
    const LedgerPageKind pageKind = target == ReportTarget::QuantityPage ? LedgerPageKind::Quantity
        : target == ReportTarget::FixedAssetPage                          ? LedgerPageKind::FixedAsset
                                                                           : LedgerPageKind::ThreeColumn;
    return LayOutLedgerPages(m_session, pageKind, heading, doc, m_dialogs).isDone();
}

void QueryWindow::print()
{
    chooseReport(ReportButton::Print);
}

void QueryWindow::preview()
{
    chooseReport(ReportButton::Preview);
}

void QueryWindow::exportWorkbook()
{
    chooseReport(ReportButton::Workbook);
}

void QueryWindow::exportTable()
{
    if (marker().isEmpty()) {
        m_dialogs.show(u"请先进行查询"_s, applicationTitle(), Icon::None);
        return;
    }
    if (!m_dialogs.ask(u"是否导出到EXCEL工作表？"_s, applicationTitle()))
        return;
    const QString sql = sheetQuery(marker());
    if (sql.isEmpty())
        return;
    const QString path = chooseWorkbookPath(this, offeredPath(m_session.setShortName(), m_exportName, u"xlsx"_s));
    if (path.isEmpty())
        return;
    if ((marker() == QueryMarker::Journal && !stageJournal()) || !fillLedgerTable())
        return;
    if (WriteSheetWorkbook(m_session, sql, path, m_dialogs).isDone())
        offerToOpen(path);
}

void QueryWindow::writeLedgerWorkbook(ReportTarget target)
{
    const LedgerWorkbookKind kind = target == ReportTarget::QuantityWorkbook ? LedgerWorkbookKind::Quantity
        : target == ReportTarget::MultiColumnWorkbook                       ? LedgerWorkbookKind::MultiColumn
                                                                             : LedgerWorkbookKind::ThreeColumn;
    LedgerWorkbookHeading heading;
    heading.code = m_code->text().trimmed();
    heading.namePath = m_namePath->text();
    heading.topName = m_topName->text();
    // Titled by the option selected now, as the query may have been run
    // under the other one.
    heading.general
        = m_formats->checkedId() >= 0 && kFormatOptions[m_formats->checkedId()].format == LedgerFormat::General;
    // Named as the ledger pages of the account shown, e.g. 明细帐帐页.
    const QString ledger = kind == LedgerWorkbookKind::Quantity ? u"数量帐"_s
        : kind == LedgerWorkbookKind::MultiColumn               ? u"多栏帐"_s
        : heading.general                                       ? u"总分类帐"_s
                                                                : u"明细帐"_s;
    const QString path = chooseWorkbookPath(this, offeredPath(
        m_session.setShortName(),
        {ledger + u"帐页"_s, heading.general ? heading.code.left(4) : heading.code, periodName(m_session.fiscalYear())},
        u"xlsx"_s));
    if (path.isEmpty())
        return;
    if (WriteLedgerWorkbook(m_session, kind, heading, path, m_dialogs).isDone())
        offerToOpen(path);
}

void QueryWindow::offerToOpen(const QString &path)
{
    if (m_dialogs.ask(u"已导出: "_s + path + u"\n\n是否用电子表格程序打开此文件?"_s, applicationTitle()))
        openWorkbook(path, m_dialogs);
}

bool QueryWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_code && event->type() == QEvent::MouseButtonDblClick) {
        pickAccount();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace tz
