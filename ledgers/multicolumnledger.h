// The multi-column ledger (多栏式, 多栏帐): one parent account with one
// amount column per sub-account directly below it. The row build prepares
// the work table 多栏式1 (one row per journal line of every descendant and
// per synthetic total of each descendant); the pivot turns it into the
// table 多栏式, made anew with one column per sub-account heading.
#pragma once

#include <optional>

#include <QString>

#include "store/operation.h"
#include "store/pagedrows.h"

namespace tz {

enum class MultiColumnVariant {
    // 多栏[增] "反向不参与合计(增税除外)": month and year-to-date rows keep
    // each sub-account's debit and credit sums apart; balance and
    // carry-forward rows net onto the parent's side, except for a credit
    // parent under 2221 (VAT), which keeps both sums there too. Columns:
    // debit amounts for a debit parent, credit amounts for a credit parent,
    // credit minus debit for the 2221 credit parent.
    Increase,
    // 多栏式1 "反向明细负值列出": every synthetic row holds each
    // sub-account's net amount on the parent's side; columns show amounts
    // net on the parent's side (an opposite-side line is negative), and the
    // row totals of month and year-to-date rows are the parent's gross sums
    // (kept in 分录始表).
    Net,
};

// The most descendant accounts a multi-column ledger takes.
inline constexpr int kMaxMultiColumnAccounts = 245;

// Builds 多栏式1 and 多栏式 for parent `code` with direction `direction`.
// Empties 分录始表, 多栏式1 and 多栏式 first. Refuses an empty code with
// "请选择科目" (no icon, "TZ305"), and a parent with no descendant accounts
// or more than 245 (every depth counted) with "此代码下没有明细或者明细超过250个,
// 不能生成多栏式" (information, "TZ305提示"); 多栏式 is then left empty with
// its nine leading columns only.
//
// 多栏式1 rows (P a period key, '800' the opening group):
//  - every line of a descendant, its code, 方向 and the parent's running
//    balance (negated from month 1 on for a '贷' parent; '平' below 0.009);
//  - per descendant: P + "9999996" " 本月合计" (P = '800' too),
//    P + "9999997" " 本年累计" and P + "9999998" " 余额" for the months,
//    and MAXP + "9999999" "结转下年" (MAXP the last period with lines);
//  - codes rolled up to the level directly below the parent, 科目名称 the
//    heading "code name" of that sub-account.
// 多栏式: ID, 日期, 字号, 备注, 摘要说明, 借方金额1, 贷方金额1, 方向, 余额,
// then one REAL column per heading in ascending order; one row per ID. The
// individual opening lines are dropped; '8009999996' becomes "年初余额"
// with direction `direction`, the opening balance in 余额 and no totals.
// One transaction.
OpResult BuildMultiColumnLedger(Session &session, const QString &code, const QString &direction,
                                MultiColumnVariant variant, Dialogs &dialogs);
// The rows BuildMultiColumnLedger writes into 多栏式, in its columns and
// order, computed a block at a time as they are read; nothing is written
// but the connection's temporary tables. nullopt where the build refuses,
// and as for DetailLedgerRows. Throws DbError.
std::optional<PagedRows> MultiColumnLedgerRows(Session &session, const QString &code, const QString &direction,
                                               MultiColumnVariant variant);

} // namespace tz
