// Pinyin initials of account names, the key users type to find an account
// (e.g. "YSZK" for 应收账款). The result is stored with each account, so
// its rule must stay stable across versions.
#pragma once

#include <QString>

namespace tz {

// Returns the search initials of text: ASCII letters upper-cased, other ASCII
// characters kept, Chinese ideographs replaced by the upper-case initial of
// their pinyin, blanks dropped. A non-ASCII character without a letter (a
// full-width mark, a symbol, an ideograph with no reading) repeats the letter
// produced for the character before it, or yields nothing when there is none
// or it was a blank.
QString PinyinInitials(const QString &text);

} // namespace tz
