// The initial-letter table behind tz::PinyinInitials. Its letters are data
// (store/pinyininitials.txt), which the build writes out as one string
// literal per block of ideographs: one character per code point, the
// upper-case initial, or a blank where the character has no letter.
#include "store/pinyintable.h"

namespace tz {

namespace {

// kExtA (U+3400..U+4DBF), kUnified (U+4E00..U+9FFF), kCompat (U+F900..U+FAFF).
#include "pinyinblocks.inc"

static_assert(sizeof(kExtA) == 0x19C0 + 1);
static_assert(sizeof(kUnified) == 0x5200 + 1);
static_assert(sizeof(kCompat) == 0x200 + 1);

char letterIn(const char *block, char32_t first, char32_t last, char32_t ch)
{
    if (ch < first || ch > last)
        return 0;
    const char c = block[ch - first];
    return c == ' ' ? 0 : c;
}

} // namespace

char pinyinTableLetter(char32_t ch)
{
    if (const char c = letterIn(kExtA, 0x3400, 0x4DBF, ch))
        return c;
    if (const char c = letterIn(kUnified, 0x4E00, 0x9FFF, ch))
        return c;
    if (const char c = letterIn(kCompat, 0xF900, 0xFAFF, ch))
        return c;
    return 0;
}

} // namespace tz
