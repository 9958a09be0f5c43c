// The balance table (科目余额表 and 数量余额表): for one month and down to a
// chosen depth of the chart, each account's opening balance, the month's and
// the year's debits and credits and the closing balance, in amount and in
// quantity, with a grand-total row. It fills the work table 数量式余额表,
// which the grid, the report page and the worksheet export read.
#pragma once

#include <QString>

#include "store/operation.h"
#include "store/resultset.h"

namespace tz {

// The two ways the query window shows the table.
enum class BalanceView {
    Amount,   // 科目余额表: the quantity columns hidden
    Quantity, // 数量余额表: every column
};

// Empties 数量式余额表 and refills it for month `month` and depth `depth`
// (the texts of the month and depth choices, "1".."12" and "1".."4").
//
// Refuses, after emptying the table, a month that is empty, "全部", "年初"
// or no month 1..12, and an empty depth: "请选择月份和级数" (critical,
// "TZ305"). A depth other than "1".."4" lists no accounts, only the total.
//
// Periods by the first three characters P of a journal line's ID and
// M = "8" and the month as two digits: opening P < M, this month P = M, year to date
// "800" < P <= M, closing P <= M. One row per account of 科目表 with a code
// of depth 1..depth (4, 7, 10, 13 digits) whose journal lines (every line
// whose code begins with the account's) have year-to-date debits or
// credits or a non-zero opening amount:
//  - 科目名称 indented by depth: none, one, three, four blanks;
//  - opening and closing quantity and amount are debit minus credit (a
//    line's quantity counts positive when it has a debit amount), negated
//    when the account's 方向 is not '借'; a zero quantity and an amount
//    below 0.01 are NULL;
//  - month and year-to-date debits and credits as sums of each side (NULL
//    when a side has none); quantities of lines without a credit amount are
//    the debit quantity, of lines without a debit amount the credit one.
// Amount sums are rounded half up to the cent, quantity sums to six
// decimals, before any zero test. Then the total row: 科目代码 '8',
// 科目名称 "合  计", the month and year-to-date columns summed over the
// depth-1 rows (0 when none), no direction, opening or closing figures.
// One transaction; nothing is shown on success.
OpResult BuildBalanceTable(Session &session, const QString &month, const QString &depth, Dialogs &dialogs);

// The rows of 数量式余额表 in 科目代码 order as the view shows them: every
// column in stored order for Quantity; for Amount the quantity columns
// (期初数量, 本期借数, 本期贷数, 累计借数, 累计贷数, 期末数量) left out.
OpResult ReadBalanceTable(Session &session, BalanceView view, ResultSet &rows, Dialogs &dialogs);

// The status line after a build: month + " 月份金额式余额表  [共n条记录]"
// (Amount) or month + " 月份数量式余额   [共n条记录]" (Quantity).
QString balanceTableCaption(BalanceView view, const QString &month, int rows);

} // namespace tz
