// Journal lines of a voucher and their entry IDs.
#include "vouchers/entrylines.h"

namespace tz {

namespace {

constexpr qint64 kVoucherIdBase = 8'000'000'000;

std::optional<double> amountOf(const std::optional<Cents> &cents)
{
    if (!cents)
        return std::nullopt;
    return centsToDouble(*cents);
}

std::optional<Cents> centsOf(const std::optional<double> &value)
{
    if (!value)
        return std::nullopt;
    return roundToCents(*value);
}

// The value to write for one amount cell: the stored value while the cell
// still shows it, otherwise the cents shown.
std::optional<double> writtenAmount(const std::optional<Cents> &shown, const std::optional<double> *stored)
{
    if (stored && centsOf(*stored) == shown)
        return *stored;
    return amountOf(shown);
}

} // namespace

std::optional<qint64> entryLineId(int month, int number, int line)
{
    if (month < 1 || month > 12 || number < 1 || number > kMaxVoucherNumber || line < 1 || line > kMaxVoucherLines)
        return std::nullopt;
    return kVoucherIdBase + qint64(month) * 10'000'000 + qint64(number) * 1000 + line;
}

QList<EntryLine> buildEntryLines(const QList<VoucherLine> &lines)
{
    QList<EntryLine> entries;
    const QString defaultSummary = lines.isEmpty() ? QString() : lines.first().summary;
    for (qsizetype row = 0; row < lines.size() && lines.at(row).hasAccount(); ++row) {
        const VoucherLine &cell = lines.at(row);
        const VoucherLine::Stored *stored = cell.stored ? &*cell.stored : nullptr;
        EntryLine entry;
        entry.line = int(row + 1);
        entry.summary = cell.summary.isEmpty() ? defaultSummary : cell.summary;
        entry.code = cell.code();
        entry.quantity = cell.quantity;
        entry.debit = writtenAmount(cell.debit, stored ? &stored->debit : nullptr);
        entry.credit = writtenAmount(cell.credit, stored ? &stored->credit : nullptr);
        if (entry.quantity && !entry.debit && !entry.credit)
            entry.debit = 0.0;
        entry.flowCode = cell.flowCode;
        entry.flowAmount = writtenAmount(cell.flowAmount, stored ? &stored->flowAmount : nullptr);
        entries.append(entry);
    }
    return entries;
}

VoucherTotals entryTotals(const QList<EntryLine> &lines)
{
    VoucherTotals totals;
    for (const EntryLine &line : lines) {
        totals.debit += centsOf(line.debit).value_or(0);
        totals.credit += centsOf(line.credit).value_or(0);
    }
    return totals;
}

} // namespace tz
