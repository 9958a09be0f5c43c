// Lookup into the generated initial-letter table (store/pinyintable.cpp)
// that gives Chinese ideographs the first letter of their pinyin.
#pragma once

namespace tz {

// Returns the upper-case pinyin initial ('A'..'Z') of the ideograph ch, or 0
// when the table holds no letter for it (no reading, not an ideograph, or
// outside the covered blocks U+3400-4DBF, U+4E00-9FFF, U+F900-FAFF).
char pinyinTableLetter(char32_t ch);

} // namespace tz
