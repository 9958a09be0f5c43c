// The statements window.
#include "statements/ui/statementwindow.h"

#include <algorithm>

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTableView>
#include <QTableWidget>
#include <QVBoxLayout>

#include "accounts/cashflowitems.h"
#include "printing/tablereports.h"
#include "printing/ui/paperprinter.h"
#include "statements/statement.h"
#include "statements/statementtemplate.h"
#include "statements/statementworkbook.h"
#include "store/dialogs.h"
#include "store/guard.h"
#include "store/offeredname.h"
#include "store/session.h"
#include "store/ui/controls.h"
#include "store/ui/messageboxdialogs.h"
#include "store/ui/pickerplacement.h"
#include "store/ui/resultgridmodel.h"
#include "store/ui/stripegrid.h"
#include "store/ui/wheelrows.h"

using namespace Qt::Literals::StringLiterals;

namespace tz {

namespace {

struct Option
{
    const char16_t *name;
    const char16_t *caption;
    StatementTable table;
};
const Option kOptions[] = {
    {u"Option1", u"资产表1", StatementTable::BalanceSheet13}, {u"Option3", u"资产表2", StatementTable::BalanceSheet07},
    {u"Option2", u"利润表1", StatementTable::Income13},       {u"Option4", u"利润表2", StatementTable::Income07},
    {u"Option5", u"现流表", StatementTable::CashFlow},
};

} // namespace

StatementWindow::StatementWindow(Session &session, WindowDialogs dialogs, QWidget *parent)
    : SetWindow(session, dialogs.given, parent)
{
    setUp();
}

void StatementWindow::setUp()
{
    m_output = std::make_unique<PageOutput>(PageOutput::standard(this, m_dialogs));
    build();
}

StatementWindow::~StatementWindow() = default;

void StatementWindow::build()
{
    setObjectName(u"Form12"_s);
    setWindowTitle(u"报表"_s);
    auto *box = new QVBoxLayout(this);
    box->setContentsMargins(10, 8, 10, 8);
    box->setSpacing(6);

    auto *row = new QHBoxLayout;
    row->setSpacing(8);
    for (const Option &option : kOptions) {
        auto *button = new QRadioButton(QString::fromUtf16(option.caption), this);
        button->setObjectName(QString::fromUtf16(option.name));
        m_options.append(button);
        row->addWidget(button);
    }
    m_options.first()->setChecked(true);
    row->addSpacing(12);
    row->addWidget(new QLabel(u"月份"_s, this));
    m_month = new QComboBox(this);
    m_month->setObjectName(u"Combo1"_s);
    for (int m = 1; m <= 12; ++m)
        m_month->addItem(QString::number(m));
    m_month->setCurrentIndex(-1);
    m_month->setFixedWidth(60);
    row->addWidget(m_month);
    const auto addButton = [&](const QString &name, const QString &caption, void (StatementWindow::*slot)()) {
        auto *button = new QPushButton(caption, this);
        button->setObjectName(name);
        connect(button, &QPushButton::clicked, this, slot);
        row->addWidget(button);
    };
    addButton(u"Command4"_s, u"查 询"_s, &StatementWindow::query);
    addButton(u"Command5"_s, u"公式设置"_s, &StatementWindow::editTemplate);
    addButton(u"Command2"_s, u"打印预览"_s, &StatementWindow::preview);
    addButton(u"Command3"_s, u"导出EXCEL"_s, &StatementWindow::exportWorkbook);
    auto *help = new QLabel(u"<a href=\"#\">查看设置说明</a>"_s, this);
    help->setObjectName(u"Label2"_s);
    connect(help, &QLabel::linkActivated, this, &StatementWindow::showHelp);
    row->addWidget(help);
    row->addStretch(1);
    m_company = new QLineEdit(m_session.companyName(), this);
    m_company->setObjectName(u"Text1"_s);
    m_company->setReadOnly(true);
    m_company->setFocusPolicy(Qt::ClickFocus);
    m_company->setMinimumWidth(160);
    m_company->setToolTip(u"编制单位"_s);
    row->addWidget(m_company);
    box->addLayout(row);

    auto *grids = new QHBoxLayout;
    m_model = new ResultGridModel(this);
    m_grid = new QTableView(this);
    m_grid->setObjectName(u"MSH1"_s);
    setUpResultGrid(m_grid, m_model);
    // One notch of the wheel over a focused grid moves two rows, and the
    // grid scrolls as well.
    new WheelRowsFilter(m_grid, WheelRowsFilter::Then::Scroll);
    grids->addWidget(m_grid, 1);

    m_editor = new QTableWidget(this);
    m_editor->setObjectName(u"DataGrid1"_s);
    m_editor->horizontalHeader()->setStyleSheet(gridHeaderStyle());
    m_editor->verticalHeader()->setDefaultSectionSize(m_editor->fontMetrics().height() + 8);
    new WheelRowsFilter(m_editor, WheelRowsFilter::Then::Scroll);
    m_editor->hide();
    connect(m_editor, &QTableWidget::cellChanged, this, [this](int row, int) {
        if (!m_loading)
            m_dirtyRow = row;
    });
    connect(m_editor, &QTableWidget::currentCellChanged, this, [this](int row, int, int previous, int) {
        if (previous >= 0 && previous != row && previous == m_dirtyRow)
            saveEditedRow(previous);
    });
    grids->addWidget(m_editor, 1);

    m_codes = new QListWidget(this);
    m_codes->setObjectName(u"List1"_s);
    m_codes->setToolTip(u"查代码专用,双击可隐藏,点[公式设置]显示"_s);
    m_codes->setFixedWidth(300);
    m_codes->hide();
    connect(m_codes, &QListWidget::itemDoubleClicked, m_codes, &QWidget::hide);
    grids->addWidget(m_codes);
    box->addLayout(grids, 1);
    resize(1200, 680);
}

StatementTable StatementWindow::selectedTable() const
{
    for (qsizetype i = 0; i < m_options.size(); ++i) {
        if (m_options.at(i)->isChecked())
            return kOptions[i].table;
    }
    return StatementTable::BalanceSheet13;
}

std::optional<int> StatementWindow::selectedMonth() const
{
    bool ok = false;
    const int month = m_month->currentText().toInt(&ok);
    return ok ? std::optional<int>(month) : std::nullopt;
}

void StatementWindow::query()
{
    if (m_dirtyRow >= 0)
        saveEditedRow(m_dirtyRow);
    m_editor->hide();
    m_codes->hide();
    const StatementTable table = selectedTable();
    PendingRefusal cashFlowCheck;
    const OpResult evaluated = EvaluateStatement(m_session, table, selectedMonth(), m_dialogs, &cashFlowCheck);
    if (evaluated.isFailed() || (evaluated.isRefused() && selectedMonth()))
        return; // a formula error: the grid keeps what it showed
    ResultSet rows;
    if (!ReadStatement(m_session, table, rows, m_dialogs).isDone())
        return;
    // The model numbers the rows itself; the columns are headed as printed.
    const QStringList headers = statementHeaders(table);
    QList<ResultSet::Row> shown;
    for (ResultSet::Row row : rows.rows()) {
        row.removeFirst();
        shown.append(row);
    }
    m_model->setResult(ResultSet(headers.mid(1), shown));
    for (const int column : statementAmountColumns(table))
        m_model->setColumnFormat(column, u"#,#0.00"_s);
    // Widths as the form had them, scaled for today's fonts; a caption
    // column grows to show its longest caption whole.
    const QList<int> widths = statementColumnWidths(table);
    for (int c = 0; c < widths.size(); ++c) {
        m_grid->setColumnHidden(c, widths.at(c) == 0);
        if (widths.at(c) == 0)
            continue;
        const int base = twipsToPixels(widths.at(c)) * 3 / 2;
        const bool caption = c == 1 || (c == 6 && kindOf(table) == StatementKind::BalanceSheet);
        if (caption)
            m_grid->resizeColumnToContents(c);
        m_grid->setColumnWidth(c, caption ? std::max(base, m_grid->columnWidth(c) + 12) : base);
    }
    // Another statement or month starts at its first line, not where the
    // last one was scrolled to.
    if (m_shown != table || m_shownMonth != selectedMonth()) {
        m_grid->scrollToTop();
        m_grid->horizontalScrollBar()->setValue(0);
    }
    m_grid->show();
    m_shown = table;
    m_shownMonth = selectedMonth();
    // The cash-flow check speaks of the figures on screen, so it comes after them.
    if (!cashFlowCheck.text.isEmpty())
        m_dialogs.show(cashFlowCheck.text, cashFlowCheck.title, cashFlowCheck.icon);
}

void StatementWindow::loadTemplateRows()
{
    const StatementTable table = selectedTable();
    ResultSet rows;
    if (!ReadTemplateRows(m_session, table, rows, m_dialogs).isDone())
        return;
    m_loading = true;
    const QStringList columns = templateColumns(table);
    m_editor->clear();
    m_editor->setColumnCount(int(columns.size()));
    m_editor->setHorizontalHeaderLabels(columns);
    m_editor->setRowCount(rows.recordCount());
    m_rowids.clear();
    for (int r = 0; r < rows.recordCount(); ++r) {
        m_rowids.append(rows.value(r, 0).toLongLong());
        for (int c = 0; c < columns.size(); ++c) {
            const QVariant value = rows.value(r, c + 1);
            m_editor->setItem(r, c, new QTableWidgetItem(value.isNull() ? QString() : value.toString()));
        }
    }
    const bool balanceSheet = kindOf(table) == StatementKind::BalanceSheet;
    for (int c = 0; c < columns.size(); ++c) {
        const bool line = columns.at(c).startsWith(u"行次"_s);
        const bool formula = columns.at(c).startsWith(u"公式"_s);
        m_editor->setColumnWidth(c, line ? twipsToPixels(balanceSheet ? 800 : 1000) * 3 / 2
                                         : formula ? (balanceSheet ? 220 : 420) : (balanceSheet ? 240 : 420));
    }
    m_loading = false;
    m_dirtyRow = -1;
    m_edited = table;
}

void StatementWindow::editTemplate()
{
    if (m_dirtyRow >= 0)
        saveEditedRow(m_dirtyRow);
    loadTemplateRows();
    m_codes->clear();
    if (selectedTable() == StatementTable::CashFlow) {
        QList<CashFlowItem> items;
        if (ListCashFlowItems(m_session, items, m_dialogs).isDone()) {
            for (const CashFlowItem &item : std::as_const(items))
                m_codes->addItem(item.listLine());
        }
        m_codes->show();
    } else {
        m_codes->hide();
    }
    m_grid->hide();
    m_editor->show();
    m_editor->setFocus();
}

void StatementWindow::saveEditedRow(int row)
{
    m_dirtyRow = -1;
    if (!m_edited || row < 0 || row >= m_rowids.size())
        return;
    QStringList values;
    for (int c = 0; c < m_editor->columnCount(); ++c)
        values << (m_editor->item(row, c) ? m_editor->item(row, c)->text() : QString());
    if (!SaveTemplateRow(m_session, *m_edited, m_rowids.at(row), values, m_dialogs).isDone()) {
        // The refused edit is not kept: the grid shows what the template holds.
        const int current = m_editor->currentRow();
        loadTemplateRows();
        m_editor->setCurrentCell(current, 0);
    }
}

void StatementWindow::setPageOutput(PageOutput output)
{
    *m_output = std::move(output);
}

void StatementWindow::preview()
{
    // The printed form of the selected statement, with the figures the
    // template rows hold from the last 查 询.
    const std::optional<int> month = selectedMonth();
    if (!month) {
        m_dialogs.show(u"请选择月份"_s, applicationTitle(), Icon::Critical);
        return;
    }
    const StatementTable table = selectedTable();
    Document doc;
    if (!LayOutStatementReport(m_session, table, *month, doc, m_dialogs).isDone())
        return;
    const int marker = kindOf(table) == StatementKind::BalanceSheet ? 21
        : kindOf(table) == StatementKind::Income                    ? 22
                                                                    : 23;
    m_output->preview(doc, tableName(table).left(3), marker);
}

void StatementWindow::exportWorkbook()
{
    if (!m_shown || m_model->rowCount() == 0) {
        m_dialogs.show(u"没有数据"_s, applicationTitle(), Icon::None);
        return;
    }
    if (!m_shownMonth) {
        m_dialogs.show(u"请选择月份"_s, applicationTitle(), Icon::Critical);
        return;
    }
    const QString path = chooseWorkbookPath(this, offeredPath(
        m_session.setShortName(),
        {statementTitle(*m_shown), periodName(m_session.fiscalYear(), QString::number(*m_shownMonth))}, u"xlsx"_s));
    if (path.isEmpty())
        return;
    if (!WriteStatementWorkbook(m_session, *m_shown, *m_shownMonth, path, m_dialogs).isDone())
        return;
    if (m_dialogs.ask(u"是否用电子表格程序打开此文件?"_s, applicationTitle()))
        openWorkbook(path, m_dialogs);
}

void StatementWindow::showHelp()
{
    m_dialogs.show(u"1.报表设置时直接输入内容,点击另一行,数据即可自动保存\n\n"
                   "2.公式只能录入科目代码,代码之间用加号或减号相连\n\n"
                   "3.特别说明:现流表中888为现金类期初余额,999为现金类期末余额\n\n"
                   "4.特别说明:所有报表行次按小到大排列并且不能为空"_s,
                   QString(), Icon::None);
}

} // namespace tz
