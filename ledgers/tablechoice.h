// The month and depth choices of the query window (Combo1, Combo2) as the
// balance table, the voucher summary and the entry journal read them.
#pragma once

#include <optional>

#include <QString>

namespace tz {

// The month choices that are no single month.
inline constexpr char16_t kWholeYearChoice[] = u"全部";
inline constexpr char16_t kOpeningChoice[] = u"年初";

// The month named by a choice: digits only (blanks around them ignored)
// with a value 1 to 12. "全部", "年初", empty text and anything else give
// nullopt.
std::optional<int> monthOfChoice(const QString &text);

// The depth named by a choice: "1" to "4" (blanks ignored); 0 for any other
// text, which lists no account rows.
int depthOfChoice(const QString &text);

} // namespace tz
