#include "vouchers/ui/revaluationwindow.h"

#include <QComboBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "export/sheetexport.h"
#include "store/dialogs.h"
#include "store/guard.h"
#include "store/offeredname.h"
#include "store/session.h"
#include "store/ui/controls.h"
#include "store/ui/openfile.h"

using namespace Qt::Literals::StringLiterals;

namespace tz {

namespace {

enum Column { CodeColumn, NameColumn, ForeignColumn, BookColumn, RateColumn, RevaluedColumn, DifferenceColumn };

QString amountText(const std::optional<Cents> &cents)
{
    return cents ? centsToText(*cents, true) : QString();
}

} // namespace

RevaluationWindow::RevaluationWindow(Session &session, Dialogs &dialogs, const VoucherHeader &header, QWidget *parent)
    : QDialog(parent)
    , m_session(session)
    , m_dialogs(dialogs)
    , m_header(header)
{
    setObjectName(u"调汇"_s);
    setWindowTitle(u"期末调汇(说明:以期末余额为调整基数,只调整资产类科目；负债类科目请自己调整)"_s);
    auto *box = new QVBoxLayout(this);
    auto *hint = new QLabel(u"本系统不设外币栏,以[数量]栏核算外币.在[科目设置]中设置调汇标志为\"Y\"的明细科目且有余额才进行调汇"
                            "   操作步骤: 1.输入汇率-->2.调汇-->3.生成分录       (调整前余额-数量*汇率=损益)"_s,
                            this);
    hint->setWordWrap(true);
    box->addWidget(hint);

    m_grid = new QTableWidget(0, 7, this);
    m_grid->setObjectName(u"DataGrid1"_s);
    m_grid->setHorizontalHeaderLabels(
        {u"科目代码"_s, u"科目全称"_s, u"数量"_s, u"调整前金额"_s, u"汇率"_s, u"调整后金额"_s, u"损益"_s});
    m_grid->verticalHeader()->setDefaultSectionSize(20);
    const int widths[] = {67, 133, 80, 80, 53, 80, 80}; // the twips widths at 15 twips a pixel
    for (int c = 0; c < 7; ++c)
        m_grid->setColumnWidth(c, widths[c]);
    box->addWidget(m_grid, 1);

    auto *row = new QHBoxLayout;
    row->addWidget(new QLabel(u"对应损益类科目"_s, this));
    m_against = new QComboBox(this);
    m_against->setObjectName(u"Combo1"_s);
    m_against->setMinimumWidth(220);
    guarded(m_dialogs, [&] {
        m_against->addItems(RevaluationCounterAccounts(m_session));
        return OpResult::done();
    });
    m_against->setCurrentIndex(-1);
    row->addWidget(m_against);
    row->addStretch(1);
    addCommandButton(row, this, u"Command1"_s, u"调汇"_s, &RevaluationWindow::recompute);
    addCommandButton(row, this, u"Command2"_s, u"导出EXCEL"_s, &RevaluationWindow::exportTable);
    addCommandButton(row, this, u"Command3"_s, u"生成分录"_s, &RevaluationWindow::post);
    box->addLayout(row);

    m_choosePath = [this](const QString &suggested) {
        return QFileDialog::getSaveFileName(this, u"导出EXCEL"_s, suggested, u"Excel 工作簿 (*.xlsx)"_s, nullptr,
                                            QFileDialog::DontConfirmOverwrite);
    };
    m_openFile = [this](const QString &path) { openWithSpreadsheet(path, m_dialogs); };
    resize(720, 420);
    reload();
}

void RevaluationWindow::setSavePathChooser(std::function<QString(const QString &)> chooser)
{
    m_choosePath = std::move(chooser);
}

void RevaluationWindow::setFileOpener(std::function<void(const QString &)> opener)
{
    m_openFile = std::move(opener);
}

void RevaluationWindow::reload()
{
    QList<RevaluationRow> rows;
    guarded(m_dialogs, [&] {
        rows = ReadRevaluation(m_session);
        return OpResult::done();
    });
    m_grid->setRowCount(int(rows.size()));
    for (int r = 0; r < rows.size(); ++r) {
        const RevaluationRow &row = rows.at(r);
        const QStringList texts{row.code,
                                row.name,
                                row.foreign ? centsToText(roundToCents(*row.foreign), true) : QString(),
                                centsToText(row.book, true),
                                row.rate ? QString::number(*row.rate, 'g', 10) : QString(),
                                amountText(row.revalued),
                                amountText(row.difference)};
        for (int c = 0; c < texts.size(); ++c) {
            auto *item = new QTableWidgetItem(texts.at(c));
            // 数量, 调整前金额 and 汇率 take typed values; 调汇 recomputes the rest.
            if (c < ForeignColumn || c > RateColumn)
                item->setFlags(item->flags() & ~Qt::ItemIsEditable);
            item->setTextAlignment(c == RateColumn ? Qt::AlignCenter
                                   : c >= ForeignColumn ? (Qt::AlignRight | Qt::AlignVCenter)
                                                        : (Qt::AlignLeft | Qt::AlignVCenter));
            m_grid->setItem(r, c, item);
        }
    }
}

void RevaluationWindow::recompute()
{
    // The cells as typed. 数量 and 调整前金额 read as amounts are typed
    // (two decimals, within the journal's limit); a rate cell that is no
    // number leaves the row without a rate.
    QHash<QString, RevaluationInput> inputs;
    for (int r = 0; r < m_grid->rowCount(); ++r) {
        RevaluationInput &input = inputs[m_grid->item(r, CodeColumn)->text()];
        for (const int column : {ForeignColumn, BookColumn}) {
            const QString text = m_grid->item(r, column)->text().trimmed();
            if (text.isEmpty())
                continue;
            const TypedAmount typed = readTypedAmount(text);
            if (typed.verdict != AmountText::Valid) {
                m_dialogs.show(typedAmountProblem(typed.verdict, m_grid->horizontalHeaderItem(column)->text(), text),
                               u"TZ305提示"_s, Icon::Critical);
                return;
            }
            if (column == ForeignColumn)
                input.foreign = centsToDouble(typed.cents);
            else
                input.book = typed.cents;
        }
        bool ok = false;
        const double rate = m_grid->item(r, RateColumn)->text().trimmed().toDouble(&ok);
        if (ok)
            input.rate = rate;
    }
    if (RecomputeRevaluation(m_session, inputs, m_dialogs).isDone())
        reload();
}

void RevaluationWindow::exportTable()
{
    if (!m_dialogs.ask(u"是否导出到EXCEL工作表？"_s, applicationTitle()))
        return;
    const QString path = m_choosePath(offeredPath(
        m_session.setShortName(),
        {u"调汇"_s, periodName(m_header.date.year(), QString::number(m_header.month()))}, u"xlsx"_s));
    if (path.isEmpty())
        return;
    if (WriteSheetWorkbook(m_session,
                           u"select 科目代码,科目全称,数量,调整前金额,汇率,调整后金额,损益 FROM 调汇 order by 科目代码"_s,
                           path, m_dialogs)
            .isDone()
        && m_dialogs.ask(u"已导出: "_s + path + u"\n\n是否用电子表格程序打开此文件?"_s, applicationTitle()))
        m_openFile(path);
}

void RevaluationWindow::post()
{
    PostingOutcome outcome;
    if (!PostRevaluation(m_session, m_header, m_against->currentText(), outcome, m_dialogs).isDone())
        return;
    m_posted = outcome.number;
    accept();
}

} // namespace tz
