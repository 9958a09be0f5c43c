// The command line's voucher line: "摘要|科目代码|数量|借方|贷方|流代|流金"
// (trailing fields may be left out, an empty field is an empty cell).
#pragma once

#include <optional>

#include <QString>

#include "vouchers/voucherline.h"

namespace tz {

// Reads one voucher line. More than seven fields or a quantity that is no
// finite number is a usage problem; an amount that is no number, has more
// than two decimals or is too large is refused with its Chinese message
// (store/money.h typedAmountProblem) and `refused` set. On nullopt `problem`
// says why.
std::optional<VoucherLine> parseLineText(const QString &text, QString &problem, bool &refused);

} // namespace tz
