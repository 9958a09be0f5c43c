#!/usr/bin/python3
"""Writes store/pinyininitials.txt, the data of the initial-letter table behind
tz::PinyinInitials (account search by the initials of account names).

Regenerate (from the repository root) after changing this script or when a
newer Unihan is wanted:

    /usr/bin/python3 scripts/gen_pinyin_table.py \
        [/usr/share/unicode/Unihan_Readings.txt.bz2] [store/pinyininitials.txt]

Both arguments are optional; the defaults are shown. The Unihan file comes
from the Debian package unicode-data. Only the Python standard library is
used. Commit the regenerated store/pinyininitials.txt together with the change;
the build makes it the string literals of store/pinyintable.cpp.

How each ideograph of the covered blocks (U+3400-4DBF, U+4E00-9FFF,
U+F900-FAFF) gets its letter:

* GB2312 first-level characters (codes B0A1..D7F9, ordered by sound) take
  the letter of the code range they fall in. This is the rule the account
  initials stored in existing books were built with, so it must stay exact,
  including for polyphonic characters where it picks one reading.
* Every other ideograph (GB2312 second-level, GBK-only, and characters
  outside both) takes the first letter of its first kMandarin reading, tone
  marks stripped. The ranges would give second-level characters (ordered by
  radical) wrong letters and GBK-only ones none at all.
* Ideographs without a kMandarin reading get no letter (blank in the table);
  PinyinInitials then repeats the previous letter.
"""

import bz2
import codecs
import sys
import unicodedata

DEFAULT_UNIHAN = '/usr/share/unicode/Unihan_Readings.txt.bz2'
DEFAULT_OUTPUT = 'store/pinyininitials.txt'

# Blocks stored in the table: (C++ array name, first code point, last).
BLOCKS = [
    ('kExtA', 0x3400, 0x4DBF),
    ('kUnified', 0x4E00, 0x9FFF),
    ('kCompat', 0xF900, 0xFAFF),
]

# GB2312 code ranges of the first-level characters, by initial letter.
# Existing books' stored initials depend on these exact bounds.
GB_RANGES = [
    ('A', 0xB0A1, 0xB0C4), ('B', 0xB0C5, 0xB2C0), ('C', 0xB2C1, 0xB4ED),
    ('D', 0xB4EE, 0xB6E9), ('E', 0xB6EA, 0xB7A1), ('F', 0xB7A2, 0xB8C0),
    ('G', 0xB8C1, 0xB9FD), ('H', 0xB9FE, 0xBBF6), ('J', 0xBBF7, 0xBFA5),
    ('K', 0xBFA6, 0xC0AB), ('L', 0xC0AC, 0xC2E7), ('M', 0xC2E8, 0xC4C2),
    ('N', 0xC4C3, 0xC5B5), ('O', 0xC5B6, 0xC5BD), ('P', 0xC5BE, 0xC6D9),
    ('Q', 0xC6DA, 0xC8BA), ('R', 0xC8BB, 0xC8F5), ('S', 0xC8F6, 0xCBF9),
    ('T', 0xCBFA, 0xCDD9), ('W', 0xCDDA, 0xCEF3), ('X', 0xCEF4, 0xD1B8),
    ('Y', 0xD1B9, 0xD4D0), ('Z', 0xD4D1, 0xF351),
]
FIRST_LEVEL_FIRST = 0xB0A1
FIRST_LEVEL_LAST = 0xD7F9

LINE_WIDTH = 64


def range_letter(code):
    """Letter of the GB2312 range holding code, or None."""
    for letter, lo, hi in GB_RANGES:
        if lo <= code <= hi:
            return letter
    return None


def first_level_letters():
    """Maps each GB2312 first-level character to its range letter.

    Walks every code of rows B0..D7 through Python's gb2312 codec, so codes
    that the codec rejects (the unassigned D7FA..D7FE) are skipped.
    """
    decode = codecs.getdecoder('gb2312')
    letters = {}
    for hi in range(0xB0, 0xD8):
        for lo in range(0xA1, 0xFF):
            code = (hi << 8) | lo
            if code > FIRST_LEVEL_LAST:
                try:
                    decode(bytes([hi, lo]))
                except UnicodeDecodeError:
                    continue
                sys.exit('gb2312 codec assigns unexpected code %04X' % code)
            ch = decode(bytes([hi, lo]))[0]
            if len(ch) != 1 or ch in letters:
                sys.exit('unexpected gb2312 mapping at %04X' % code)
            if ch.encode('gb2312') != bytes([hi, lo]):
                sys.exit('gb2312 round trip fails at %04X' % code)
            letter = range_letter(code)
            if letter is None:
                sys.exit('first-level code %04X outside every range' % code)
            letters[ch] = letter
    return letters


def reading_letter(reading):
    """Upper-case first letter of a pinyin reading, tone mark removed."""
    base = unicodedata.normalize('NFD', reading)[0].upper()
    if not ('A' <= base <= 'Z'):
        sys.exit('unexpected reading %r' % reading)
    return base


def mandarin_letters(path):
    """Maps each ideograph with a kMandarin reading to its initial letter."""
    letters = {}
    with bz2.open(path, 'rt', encoding='utf-8') as f:
        for line in f:
            if line.startswith('#') or not line.strip():
                continue
            cp, field, value = line.rstrip('\n').split('\t', 2)
            if field != 'kMandarin':
                continue
            letters[chr(int(cp[2:], 16))] = reading_letter(value.split()[0])
    return letters


def main():
    unihan = sys.argv[1] if len(sys.argv) > 1 else DEFAULT_UNIHAN
    output = sys.argv[2] if len(sys.argv) > 2 else DEFAULT_OUTPUT

    first_level = first_level_letters()
    mandarin = mandarin_letters(unihan)

    covered = set()
    for _, first, last in BLOCKS:
        covered.update(chr(cp) for cp in range(first, last + 1))
    missing = [ch for ch in first_level if ch not in covered]
    if missing:
        sys.exit('first-level characters outside the table: %r' % missing)

    def letter(cp):
        ch = chr(cp)
        return first_level.get(ch) or mandarin.get(ch) or '.'

    out = [
        '# Pinyin initials of the ideographs U+3400-4DBF, U+4E00-9FFF and U+F900-FAFF,',
        '# written by scripts/gen_pinyin_table.py from Unihan_Readings.txt (Debian',
        '# unicode-data): rerun the script rather than edit. Each line: the first',
        '# code point (hex), a blank, then one character per code point from it on:',
        "# the upper-case initial, or '.' where the character has no letter. The",
        '# build turns the lines into the table of store/pinyintable.cpp.',
    ]
    for name, first, last in BLOCKS:
        for start in range(first, last + 1, LINE_WIDTH):
            stop = min(start + LINE_WIDTH, last + 1)
            chunk = ''.join(letter(cp) for cp in range(start, stop))
            out.append('%04X %s' % (start, chunk))
    out.append('')

    with open(output, 'w', encoding='ascii', newline='\n') as f:
        f.write('\n'.join(out))


if __name__ == '__main__':
    main()
