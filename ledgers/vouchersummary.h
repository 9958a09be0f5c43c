// The voucher summary (科目汇总表): for one month the debit and credit
// totals of every top-level account that moved, and a grand total. It fills
// the work table 凭证汇总表, which the grid, the summary report page and the
// worksheet export read.
#pragma once

#include <QString>

#include "store/operation.h"
#include "store/resultset.h"

namespace tz {

// Empties 凭证汇总表 and refills it for month `month` (the text of the
// month choice, "1".."12").
//
// Refuses, after emptying the table, a month that is empty, "全部", "年初"
// or no month 1..12: "请选择月份" (critical, "TZ305").
//
// One row per four-digit account of 科目表 whose month lines (every line of
// 分录表 with 月 = month and a code beginning with the account's) have a
// non-zero debit or credit total: 科目代码, 科目名称 the account's
// 科目全称, 借方金额 and 贷方金额 the totals (NULL for a side without
// lines). Then the total row: 科目代码 '8', 科目名称 "合 计", the totals of
// every line of the month (NULL in a month without lines). Sums are
// rounded half up to the cent. One transaction; nothing shown on success.
OpResult BuildVoucherSummary(Session &session, const QString &month, Dialogs &dialogs);

// The rows of 凭证汇总表 in 科目代码 order (the total row last), every
// column in stored order.
OpResult ReadVoucherSummary(Session &session, ResultSet &rows, Dialogs &dialogs);

// The status line after a build: month + " 月份科目汇总表   [共n条记录]".
QString voucherSummaryCaption(const QString &month, int rows);

} // namespace tz
