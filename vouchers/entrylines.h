// Turning the voucher grid into the journal lines that posting writes, and
// the ten-digit entry ID "8" + month (2) + voucher number (4) + line (3).
#pragma once

#include <optional>

#include <QList>
#include <QString>
#include <QtGlobal>

#include "store/money.h"
#include "vouchers/voucherline.h"

namespace tz {

// The ID scheme's limits: four digits of voucher number, three of line.
inline constexpr int kMaxVoucherNumber = 9999;
inline constexpr int kMaxVoucherLines = 999;

// The entry ID of line `line` of voucher `number` in month `month`
// (month 3, voucher 12, line 2 gives 8030012002); nullopt when a part is
// outside 1..12, 1..9999 or 1..999 and would spill into its neighbour.
std::optional<qint64> entryLineId(int month, int number, int line);

// One 分录表 row of a voucher, ready to be written with the header's values.
struct EntryLine
{
    int line = 0;                     // the grid row, 1 for the first: the ID's last three digits
    QString summary;                  // 摘要说明: the row's, or the first row's when empty
    QString code;                     // 科目代码
    std::optional<double> quantity;   // 数量
    std::optional<double> debit;      // 借方金额; 0 for a line with a quantity and no amount
    std::optional<double> credit;     // 贷方金额
    QString flowCode;                 // 流代; empty text when none
    std::optional<double> flowAmount; // 流金

    bool operator==(const EntryLine &) const = default;
};

// The lines a voucher writes: the grid rows from the first down to the last
// one before the first row without an account; rows below that are not
// written even when they hold data. An empty summary takes the first row's.
// A line with a quantity but neither amount is written with debit 0.
// Amounts are the cents shown, or the stored values behind a loaded line's
// cells that were not changed (VoucherLine::Stored).
QList<EntryLine> buildEntryLines(const QList<VoucherLine> &lines);

// The debit and credit totals of exactly the lines that will be written, in
// cents as the grid shows each amount: what the balance check compares.
VoucherTotals entryTotals(const QList<EntryLine> &lines);

} // namespace tz
