// Voucher grid cells and their editing rules.
#include "vouchers/vouchergrid.h"

#include <cmath>

#include <QLocale>

#include "store/money.h"
#include "store/numberformat.h"

using namespace Qt::Literals::StringLiterals;

namespace tz {

namespace {

const QString kQuantityFormat = u"0.000"_s;
const QString kAmountFormat = u"0.00"_s;

QString formatted(const QString &text, const QString &format)
{
    return text.isEmpty() ? text : formatValue(text, format);
}

std::optional<double> quantityOf(const QString &text)
{
    const QString plain = stripGrouping(text.trimmed());
    if (plain.isEmpty())
        return std::nullopt;
    bool ok = false;
    const double value = QLocale::c().toDouble(plain, &ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

QString quantityText(const std::optional<double> &quantity)
{
    return quantity ? formatValue(*quantity, kQuantityFormat) : QString();
}

QString amountText(const std::optional<Cents> &amount)
{
    return amount ? centsToText(*amount) : QString();
}

} // namespace

VoucherGrid::VoucherGrid()
    : m_lines(kMinLines)
{
}

bool VoucherGrid::contains(int line, int column) const
{
    return line >= 1 && line <= lineCount() && column >= 0 && column < ColumnCount;
}

QString VoucherGrid::text(int line, int column) const
{
    if (!contains(line, column))
        return {};
    if (column == LineColumn)
        return QString::number(line);
    return at(line).cells[column];
}

void VoucherGrid::setText(int line, int column, const QString &text)
{
    if (contains(line, column) && column != LineColumn)
        at(line).cells[column] = text;
}

bool VoucherGrid::hasAccount(int line) const
{
    return !text(line, AccountColumn).trimmed().isEmpty();
}

void VoucherGrid::appendLine()
{
    m_lines.append(Line());
}

void VoucherGrid::clear()
{
    for (Line &line : m_lines)
        line = Line();
}

void VoucherGrid::load(const QList<VoucherLine> &lines)
{
    m_lines.clear();
    for (const VoucherLine &loaded : lines) {
        Line line;
        line.cells[SummaryColumn] = loaded.summary;
        line.cells[AccountColumn] = loaded.account;
        line.cells[QuantityColumn] = quantityText(loaded.quantity);
        line.cells[DebitColumn] = amountText(loaded.debit);
        line.cells[CreditColumn] = amountText(loaded.credit);
        line.cells[FlowCodeColumn] = loaded.flowCode;
        line.cells[FlowAmountColumn] = amountText(loaded.flowAmount);
        line.loaded = loaded;
        line.loadedQuantityText = line.cells[QuantityColumn];
        m_lines.append(line);
    }
    while (m_lines.size() < kMinLines)
        m_lines.append(Line());
}

void VoucherGrid::formatCells()
{
    for (Line &line : m_lines) {
        line.cells[QuantityColumn] = formatted(line.cells[QuantityColumn], kQuantityFormat);
        for (const int column : {DebitColumn, CreditColumn, FlowAmountColumn})
            line.cells[column] = formatted(line.cells[column], kAmountFormat);
    }
}

bool VoucherGrid::applyEdit(int line, int column, const QString &editorText)
{
    if (!contains(line, column) || column == LineColumn)
        return true;
    QString &cell = at(line).cells[column];
    if (hasAccount(line) && (column == DebitColumn || column == CreditColumn))
        cell = formatted(editorText, kAmountFormat);
    else if (column >= QuantityColumn && !hasAccount(line))
        cell.clear();
    else if (column == AccountColumn)
        return false;
    else
        cell = editorText;
    return true;
}

bool VoucherGrid::balance(int line, int column)
{
    if (!contains(line, column) || !hasAccount(line))
        return false;
    const VoucherTotals shown = totals();
    if (column == DebitColumn && text(line, CreditColumn).isEmpty()) {
        setText(line, DebitColumn, centsToText(shown.credit - shown.debit));
        return true;
    }
    if (column == CreditColumn && text(line, DebitColumn).isEmpty()) {
        setText(line, CreditColumn, centsToText(shown.debit - shown.credit));
        return true;
    }
    return false;
}

void VoucherGrid::deleteCell(int line, int column)
{
    setText(line, column, QString());
    if (column == AccountColumn) {
        setText(line, DebitColumn, QString());
        setText(line, CreditColumn, QString());
    }
}

void VoucherGrid::backspaceCell(int line, int column)
{
    if (contains(line, column) && column != LineColumn)
        at(line).cells[column].chop(1);
}

VoucherTotals VoucherGrid::totals() const
{
    VoucherTotals totals;
    for (const Line &line : m_lines) {
        totals.debit += parseAmount(line.cells[DebitColumn]).value_or(0);
        totals.credit += parseAmount(line.cells[CreditColumn]).value_or(0);
    }
    return totals;
}

QString VoucherGrid::debitTotalText() const
{
    return centsToText(totals().debit, true);
}

QString VoucherGrid::creditTotalText() const
{
    return centsToText(totals().credit, true);
}

QList<VoucherLine> VoucherGrid::lines() const
{
    QList<VoucherLine> lines;
    lines.reserve(m_lines.size());
    for (const Line &line : m_lines) {
        VoucherLine value;
        value.summary = line.cells[SummaryColumn];
        value.account = line.cells[AccountColumn];
        const QString &quantity = line.cells[QuantityColumn];
        value.quantity
            = line.loaded && quantity == line.loadedQuantityText ? line.loaded->quantity : quantityOf(quantity);
        value.debit = parseAmount(line.cells[DebitColumn]);
        value.credit = parseAmount(line.cells[CreditColumn]);
        value.flowCode = line.cells[FlowCodeColumn];
        value.flowAmount = parseAmount(line.cells[FlowAmountColumn]);
        if (line.loaded)
            value.stored = line.loaded->stored;
        lines.append(value);
    }
    return lines;
}

} // namespace tz
