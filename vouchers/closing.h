// Month closing with the profit-and-loss transfer voucher, and reopening.
// Closing marks every journal line of the month 1 (结帐) and appends one
// generated voucher "结转本期损益", marked 2, that moves the month's income
// (codes 50xx-53xx) and expense (54xx-59xx) movements to the profit account
// 3103. Reopening removes that voucher and the marks. After either, the
// caller refreshes the closed-month boxes (RefreshClosedMonthMarkers).
#pragma once

#include <optional>

#include <QDate>
#include <QString>
#include <QtGlobal>

#include "store/operation.h"

namespace tz {

// What a closing produced.
struct ClosingResult
{
    int month = 0;
    std::optional<int> voucherNumber; // 号码 of the transfer voucher; none when nothing was transferred
    int lines = 0;                    // lines of the transfer voucher
};

// Closes the working month of `workingDate` (the voucher window's date).
// Checks, in order:
//  - the date's year is the fiscal year: "会计年度不一致" (title "TZ305", no icon);
//  - a reviewer is given: "审核不能为空" (critical);
//  - the month is not closed yet, December included:
//    m + "  月份已结帐,请先进行反结帐" (exclamation).
// Then, in one transaction: stages the transfer lines in 分录始表 (emptied
// first) in this order (each taking the staging table's next TZID):
//  1. one debit line per income account, amount credit minus debit of the
//     month, quantity the month's quantity sum;
//  2. 3103 credit, the income total;
//  3. 3103 debit, the expense total;
//  4. one credit line per expense account, amount debit minus credit.
// Amounts are exact cents; each total is the sum of its accounts' lines, so
// the voucher balances to the cent. A negative amount (an income account
// with a net debit) stays; lines whose amount is 0.00 are dropped. Every
// line of the month is marked 1. When lines remain they become voucher n =
// the month's largest 号码 + 1 (1 in an empty month): ID "8" + mm + nnnn +
// the line's rank 001, 002, ... in the order above, 日期 the month's last
// day, 字号 "记", 摘要说明 "结转本期损益", 附件 1, 审核 the reviewer, 制单
// the operator, 结帐 2; they are appended to 分录表 and stay staged. Refused and rolled back, the month left open (exclamation):
//  - a voucher number past 9999: m + "  月份凭证号已到9999,不能生成结转凭证,没有结帐";
//  - more than 999 lines: m + "  月份结转凭证超过999行,不能生成,没有结帐";
//  - a line on a code that is no detail account of the chart (3103 with
//    sub-accounts under it, or a journal code the chart lost):
//    code + "  不是明细科目,不能生成结转凭证,没有结帐" or
//    code + "  此科目不存在,没有结帐".
// The closed check and every read run inside the BEGIN IMMEDIATE
// transaction, so no voucher posted meanwhile lands unmarked in the month.
// After the commit: "收入/费用已成功结转！并自动生成最后一张凭证"
// (information), or, when nothing was left to transfer, the month is closed
// without a voucher and "没有要结转的数据,没有生成凭证" (exclamation); both
// titled "结帐成功^_^". Titles of the refusals "TZ305提示" unless named.
OpResult CloseMonth(Session &session, const QDate &workingDate, const QString &reviewer, Dialogs &dialogs,
                    ClosingResult *result = nullptr);

// Reopens month `month`. Refuses a month that is not closed with
// month + "  月份未结帐" (exclamation, "TZ305提示"); asks
// "是否进行反结帐?(" + month + "月份)" (title "TZ305提示"; No ends
// silently). Then, in one transaction that checks again that the month is
// closed, deletes the month's lines marked 2 (the transfer voucher), moves
// the vouchers numbered after it one number down as a deletion does (a
// closed December takes postings behind its transfer voucher), so the
// month stays numbered without a gap, does the same to the voucher staged
// in 分录始表, and sets the month's marks back to NULL. After the commit:
// "已反结成功" (information, "TZ305提示"). `removedLines` receives the
// lines deleted.
OpResult ReopenMonth(Session &session, int month, Dialogs &dialogs, qint64 *removedLines = nullptr);

} // namespace tz
