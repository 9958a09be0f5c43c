// The quantity ledger (数量式, 数量金额明细帐): the detail ledger of one
// account in quantity and amount, written into the work table 数量式 (and
// emptying 数量帐页, which the ledger pages refill).
#pragma once

#include <optional>

#include <QString>

#include "store/operation.h"
#include "store/pagedrows.h"

namespace tz {

// Digits of a unit price for the price box value n: 0 to 3 as given, any
// other value 4 ("0", "0.0", "0.00", "0.000", "0.0000").
int priceDecimalsFor(int n);

// 数量式 of account `code` with direction `direction`. Rows, keys as text:
//  - every journal line of the account: 借数/借金 for a line without a
//    credit amount, 贷数/贷金 for one without a debit amount; the unit
//    prices 借单 = 借金/借数, 贷单 = 贷金/贷数 where the quantity is not
//    zero; the running 余数 (debit-line minus credit-line quantities) and
//    余额 (debit minus credit, to the cent) and 余单 = 余额/余数 where 余数
//    is not zero. Prices are rounded half away from zero to
//    priceDecimalsFor(priceDigits) places. Opening lines ('800') keep only
//    their balances and 余单;
//  - per month: prefix + "9999998" " 本月合计" and prefix + "9999999"
//    " 本年累计" with the sums of 借金, 贷金, 借数, 贷数 (empty text 字号);
//  - '813' "结转下年" with the final 余数 and 余额 when either is not zero.
// '贷' negates 余数 and 余额 (prices keep their value); an amount balance
// below 0.009 shows '平'. Quantities are kept to six decimals, which only
// removes the binary noise of their sums. One transaction.
OpResult BuildQuantityLedger(Session &session, const QString &code, const QString &direction, int priceDigits,
                             Dialogs &dialogs);
// The rows BuildQuantityLedger writes, in the columns and order of 数量式,
// computed a block at a time as they are read; nothing is written. nullopt
// as for DetailLedgerRows. Throws DbError.
std::optional<PagedRows> QuantityLedgerRows(Session &session, const QString &code, const QString &direction,
                                            int priceDigits);

} // namespace tz
