// The three-column ledgers of the query window, both written into the work
// table 三总式 (and both emptying 三栏帐页, which the ledger pages refill):
// the detail ledger (三栏式, 明细帐) of one account and the general ledger
// (总帐式, 总帐) of a top-level account.
//
// Balances are debit minus credit, rounded to the cent; rows whose account
// direction is '贷' carry them negated, so a positive 余额 lies on the
// account's own side; a balance below 0.009 shows the direction '平'.
#pragma once

#include <optional>

#include <QString>

#include "store/operation.h"
#include "store/pagedrows.h"

namespace tz {

// 三栏式 of account `code` with direction `direction` (借, 贷, or empty:
// then nothing is negated). Rows, keys as text in sort order:
//  - every journal line of exactly this account: ID the entry's ID, 日期,
//    字号 "字号-号码" ("-" on opening lines), 摘要说明, 借方金额/贷方金额
//    (NULL on the '800' opening lines), 方向 and the running 余额;
//  - per month with lines: mm prefix + "9999998" " 本月合计" and
//    prefix + "9999999" " 本年累计" (months only, never the opening
//    amounts), 字号 empty text, no 方向 or 余额;
//  - '813' "结转下年" with the final balance when it is not zero.
// An account without lines leaves the table empty. One transaction.
OpResult BuildDetailLedger(Session &session, const QString &code, const QString &direction, Dialogs &dialogs);
// The rows BuildDetailLedger writes, in the columns and order of 三总式,
// computed a block at a time as they are read; nothing is written. nullopt
// when a line's ID lies outside the year's periods or among the keys of a
// month's totals (such books are built). Throws DbError.
std::optional<PagedRows> DetailLedgerRows(Session &session, const QString &code, const QString &direction);

// 总帐式 of the top-level account made of the first four characters of
// `code`, over every account under it; `direction` as above. Rows:
//  - '8001' " 年初余额" with the opening balance (no amounts, 字号 NULL);
//  - per month: "8" mm "1" " 本月合计", 日期 "yyyy-MM", 字号 "汇-1", the
//    month's sums, 方向 and the balance at month end;
//    "8" mm "2" " 本年累计" with the sums from January (opening excluded);
//  - '813' "结转下年" with the final balance when it is at least 0.01,
//    also when the account has nothing but opening lines.
// One transaction.
OpResult BuildGeneralLedger(Session &session, const QString &code, const QString &direction, Dialogs &dialogs);

} // namespace tz
