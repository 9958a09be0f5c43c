// Opening balances: the working copy of each detail account's opening
// quantity, debit and credit in 科目表, the trial balance over it, and the
// load that turns it into the journal's opening lines ('800' IDs).
#pragma once

#include <optional>

#include <QList>
#include <QString>
#include <QtGlobal>

#include "store/money.h"
#include "store/operation.h"

namespace tz {

// One detail account's working copy, as the opening-balance grid shows it.
// An empty optional is a NULL column (nothing entered).
struct OpeningBalance
{
    QString code;      // 科目代码
    QString fullName;  // 科目全称
    QString direction; // 方向
    std::optional<double> quantity;
    std::optional<Cents> debit;
    std::optional<Cents> credit;

    bool operator==(const OpeningBalance &) const = default;
};

// Reads the working copy of every detail account (明细 = 'Y') in code order.
OpResult ReadOpeningBalances(Session &session, QList<OpeningBalance> &balances, Dialogs &dialogs);

// The cells of one grid row as typed. An absent field keeps the stored
// value; empty (or blank) text clears it to NULL.
struct OpeningEdit
{
    std::optional<QString> quantity;
    std::optional<QString> debit;
    std::optional<QString> credit;
};

// Writes one detail account's opening figures into 科目表. Checks, in order:
// a code is given ("请输入科目代码") and is all digits ("科目代码只能是数字"),
// both critical; the account exists (code + "  此科目不存在") and is a detail
// account (code + "  不是明细科目,不能录入年初数"), both exclamation; each
// given field is a number (name + "不是有效的数字: " + text, critical).
// Amounts are read as written ("1,234.50" too) and rounded half away from
// zero to cents (2.675 -> 2.68); an amount or quantity that is empty or zero
// is stored as NULL. Titles "TZ305提示"; nothing is written on a refusal.
OpResult SetOpeningBalance(Session &session, const QString &code, const OpeningEdit &edit, Dialogs &dialogs);

// Totals of the working copy over all accounts, in exact cents.
struct TrialBalance
{
    Cents debit = 0;
    Cents credit = 0;

    // Each total is rounded to cents as it is shown, so the two agree to
    // within half a cent either way: 1,000.00 against 1,000.004 balances,
    // against 1,000.01 it does not.
    bool isBalanced() const { return debit == credit; }
    QString debitText() const;  // "#,0.00": "1,234.50"; "0.00" when nothing
    QString creditText() const;
    QString statusText() const; // "平衡" or "不平衡"
};

// Sums 借方金额 and 贷方金额 of 科目表 (a sum of nothing is 0). Writes nothing
// and shows nothing unless the database fails.
OpResult ComputeTrialBalance(Session &session, TrialBalance &trial, Dialogs &dialogs);

// The first ID of the opening lines and their greatest sequence number: an
// opening line's ID is "800" followed by seven digits.
inline constexpr qint64 kOpeningIdBase = 8'000'000'000;
inline constexpr qint64 kMaxOpeningLines = 9'999'999;

// ID of the n-th opening line (n from 1): 8000000001, ...; nullopt when n
// is outside 1..kMaxOpeningLines.
std::optional<qint64> openingLineId(qint64 sequence);

// Loads the working copy into 分录表 as opening lines. Runs the trial
// balance first (its totals go to `trial` when given) and refuses an
// unbalanced copy with "借贷不平" (title "TZ305", critical); refuses more
// accounts with amounts than seven digits can number (critical, "TZ305提示");
// asks "是否装入年初数据?请认真核对里边的数据！！！" (title "TZ305"; No
// refuses silently). Then, in one transaction, deletes every line whose ID
// begins with '800' and inserts one line per account with a debit or credit
// amount, in ascending code order, with IDs 8000000001, 8000000002, ...,
// 摘要说明 '年初余额' and 数量, 借方金额, 贷方金额 copied (NULL stays NULL);
// an account with only a quantity gets no line. Every other column stays
// NULL. After the commit shows "已装入成功" (title "TZ305", no icon).
OpResult LoadOpeningBalances(Session &session, Dialogs &dialogs, TrialBalance *trial = nullptr);

} // namespace tz
