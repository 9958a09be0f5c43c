// The plain values of a voucher as the entry window holds it: the header
// fields above the grid and one VoucherLine per grid row.
#pragma once

#include <optional>

#include <QDate>
#include <QList>
#include <QString>
#include <QStringView>

#include "store/money.h"

namespace tz {

class Session;

// One row of the voucher grid. An empty optional is an empty cell (NULL in
// the journal, never 0).
struct VoucherLine
{
    QString summary;                  // 摘要说明
    QString account;                  // the account cell: code, one blank, full name; or a bare code
    std::optional<double> quantity;   // 数量 (or foreign-currency amount), exactly as typed or stored
    std::optional<Cents> debit;       // 借方金额
    std::optional<Cents> credit;      // 贷方金额
    QString flowCode;                 // 流代
    std::optional<Cents> flowAmount;  // 流金

    // The journal's own amounts of a line that was loaded (Stored). The grid
    // shows them in cents; while a cell still shows its loaded value, the
    // stored value is written back unchanged, so reloading and saving a
    // voucher never rounds what the books hold.
    struct Stored
    {
        std::optional<double> debit;
        std::optional<double> credit;
        std::optional<double> flowAmount;

        bool operator==(const Stored &) const = default;
    };
    std::optional<Stored> stored;

    // The account code: the trimmed cell text up to its first blank.
    QString code() const;
    // True when the row names an account; the first row without one ends
    // the voucher.
    bool hasAccount() const { return !code().isEmpty(); }

    bool operator==(const VoucherLine &) const = default;
};

// The header of a voucher.
struct VoucherHeader
{
    QDate date;           // 日期; its month is the working month 月
    QString word;         // 字号: 记, 收, 付, 转
    int number = 0;       // 号码: the number box's numeric value (leadingNumber), 0 when empty
    int attachments = 0;  // 附件
    QString preparer;     // 制单 as loaded; posting always writes the session's operator
    QString reviewer;     // 审核

    // The working month, 1 to 12 (0 for an invalid date).
    int month() const { return date.isValid() ? date.month() : 0; }

    bool operator==(const VoucherHeader &) const = default;
};

// The numeric value of a number box: the digits at the start of the text
// after leading blanks ("12a" is 12), 0 when there are none. Values beyond
// 999,999,999 are held at that bound, which every voucher check refuses.
int leadingNumber(QStringView text);

// True when `date` lies in the session's fiscal year, the condition under
// which the window enables 保存记录, 修改, 插入 and 删除.
bool isFiscalYearDate(const Session &session, const QDate &date);

// The grid's running totals (Text1, Text2): every row's debit and credit,
// rows below a row without an account included.
struct VoucherTotals
{
    Cents debit = 0;
    Cents credit = 0;

    bool operator==(const VoucherTotals &) const = default;
};
VoucherTotals gridTotals(const QList<VoucherLine> &lines);

} // namespace tz
