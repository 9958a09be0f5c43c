// The fixed-asset cumulative ledger (固累式, "及累计折旧(摊销)  明细帐"): one
// asset account together with its accumulated depreciation or amortisation
// account, written into the work table 固累式 (and emptying 固累帐页).
#pragma once

#include <optional>

#include <QString>

#include "store/operation.h"
#include "store/pagedrows.h"

namespace tz {

// The companion (depreciation) account of an asset account: the same code
// with its fourth digit raised by one (1601 → 1602, 1701003 → 1702003,
// 1621001002003 → 1622001002003). Formed on the text, so codes of any
// length and value are safe. Empty for a code that is not 4, 7, 10 or 13
// characters long or whose fourth character is no digit below 9.
QString fixedAssetCompanion(const QString &code);

// 固累式 of asset account `code` (under 1601, 1701 or 1621) and its
// companion K. Refuses any other account with "只有固定资产(1601)或无形资产
// (1701)或生产性生物资产(1621)科目才能生成固累式帐页" (critical, "TZ305")
// after emptying the work tables. Rows, read in ID order:
//  - '8000000000' "年初余额" with the opening 原值 (the asset's opening
//    debit minus credit), 累计折旧 (K's opening credit minus debit) and
//    净值, when either is not zero;
//  - every month line of the asset (借方金额/贷方金额) and of K (借方金额1/
//    贷方金额1), interleaved by ID, each with the running 原值, 累计折旧 and
//    净值 after it;
//  - per month prefix + "9999998" " 本月合计" and prefix + "9999999"
//    " 本年累计" with the sums of the four movement columns;
//  - '813' "结转下年" with the final values when any is not zero.
// One transaction.
OpResult BuildFixedAssetLedger(Session &session, const QString &code, Dialogs &dialogs);
// The rows BuildFixedAssetLedger writes, in the columns and order of
// 固累式, computed a block at a time as they are read; nothing is written.
// nullopt for an account the build refuses, and as for DetailLedgerRows
// (such books are built). Throws DbError.
std::optional<PagedRows> FixedAssetLedgerRows(Session &session, const QString &code);

} // namespace tz
