// Tests of the account-search initials (PinyinInitials) and the generated
// letter table behind them.
#include "store/pinyininitials.h"

#include <ostream>

#include <QString>

#include <gtest/gtest.h>

#include "store/pinyintable.h"

using namespace Qt::Literals::StringLiterals;

namespace tz {
namespace {

struct InitialsCase {
    const char *input;    // UTF-8
    const char *expected; // ASCII
};

void PrintTo(const InitialsCase &c, std::ostream *os)
{
    *os << '"' << c.input << "\" -> \"" << c.expected << '"';
}

class PinyinInitialsTest : public ::testing::TestWithParam<InitialsCase> {};

TEST_P(PinyinInitialsTest, ProducesExpectedInitials)
{
    const InitialsCase &c = GetParam();
    EXPECT_EQ(PinyinInitials(QString::fromUtf8(c.input)).toStdString(), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Names, PinyinInitialsTest, ::testing::Values(
    // Typical account names, including polyphonic first-level characters whose
    // letter comes from their code range (长 -> C, 厦 -> X) rather than from the
    // reading a dictionary lists first; existing books store these letters.
    InitialsCase{"银行存款2号", "YXCK2H"},
    InitialsCase{"应收账款", "YSZK"},
    InitialsCase{"库存现金", "KCXJ"},
    InitialsCase{"长期借款", "CQJK"},
    InitialsCase{"厦门分公司", "XMFGS"},
    InitialsCase{"应交税费-增值税", "YJSF-ZZS"},
    InitialsCase{"工商银行 A01", "GSYXA01"},
    InitialsCase{"", ""},
    InitialsCase{"abc", "ABC"},
    InitialsCase{"AbZz", "ABZZ"},
    InitialsCase{"a b", "AB"},
    InitialsCase{"   ", ""},
    InitialsCase{"1002.01", "1002.01"},
    InitialsCase{"x-(y)_#@", "X-(Y)_#@"},
    InitialsCase{"a\tb", "A\tB"},
    // Full-width marks and other non-ASCII characters without a letter repeat
    // the previous letter; after a blank or at the start they give nothing.
    InitialsCase{"现金（人民币）", "XJJRMBB"},
    InitialsCase{"（现金）", "XJJ"},
    InitialsCase{"，", ""},
    InitialsCase{"a （", "A"},
    InitialsCase{"现 ，金", "XJ"},
    InitialsCase{"1，2", "112"},
    InitialsCase{"现金\u3000", "XJJ"},
    InitialsCase{"单价€", "DJJ"},
    InitialsCase{"é", ""},
    // GB2312 second-level characters are ordered by radical, so their code
    // range says nothing about their sound; they take their Mandarin initial.
    InitialsCase{"亍", "C"},
    InitialsCase{"丌", "J"},
    InitialsCase{"丞", "C"},
    InitialsCase{"鑫淼贸易", "XMMY"},
    // Ideographs outside GB2312 (GBK-only, extension A, compatibility block).
    InitialsCase{"堃", "K"},
    InitialsCase{"喆", "Z"},
    InitialsCase{"昇", "S"},
    InitialsCase{"张喆a", "ZZA"},
    InitialsCase{"\u3400", "Q"},
    InitialsCase{"\uFA18", "L"},
    InitialsCase{"a\uF900", "AA"},
    // Characters beyond the BMP count as one character with no letter.
    InitialsCase{"银\U00020000", "YY"},
    InitialsCase{"\U00020000银", "Y"},
    InitialsCase{"a\U0001F600b", "AAB"},
    InitialsCase{"a \U00020000", "A"}));

TEST(PinyinInitialsTest, LoneSurrogateRepeatsPreviousLetter)
{
    QString text = u"a"_s;
    text.append(QChar(char16_t(0xD800)));
    text.append(u"b"_s);
    EXPECT_EQ(PinyinInitials(text), u"AAB"_s);
}

struct TableCase {
    char32_t ch;
    char letter;
};

void PrintTo(const TableCase &c, std::ostream *os)
{
    *os << "U+" << std::hex << std::uppercase << static_cast<unsigned>(c.ch)
        << " -> " << (c.letter ? c.letter : '0');
}

class PinyinTableTest : public ::testing::TestWithParam<TableCase> {};

TEST_P(PinyinTableTest, GivesLetter)
{
    EXPECT_EQ(pinyinTableLetter(GetParam().ch), GetParam().letter);
}

// The first and last first-level character of each GB2312 code range
// (啊 B0A1 .. 澳 B0C4, 芭 B0C5 .. 怖 B2C0, ...), and 座 D7F9, the last
// first-level character: an off-by-one bound shows up here.
INSTANTIATE_TEST_SUITE_P(Letters, PinyinTableTest, ::testing::Values(
    TableCase{U'啊', 'A'}, TableCase{U'澳', 'A'}, TableCase{U'芭', 'B'},
    TableCase{U'怖', 'B'}, TableCase{U'擦', 'C'}, TableCase{U'错', 'C'},
    TableCase{U'搭', 'D'}, TableCase{U'堕', 'D'}, TableCase{U'蛾', 'E'},
    TableCase{U'贰', 'E'}, TableCase{U'发', 'F'}, TableCase{U'咐', 'F'},
    TableCase{U'噶', 'G'}, TableCase{U'过', 'G'}, TableCase{U'哈', 'H'},
    TableCase{U'祸', 'H'}, TableCase{U'击', 'J'}, TableCase{U'骏', 'J'},
    TableCase{U'喀', 'K'}, TableCase{U'阔', 'K'}, TableCase{U'垃', 'L'},
    TableCase{U'络', 'L'}, TableCase{U'妈', 'M'}, TableCase{U'穆', 'M'},
    TableCase{U'拿', 'N'}, TableCase{U'诺', 'N'}, TableCase{U'哦', 'O'},
    TableCase{U'沤', 'O'}, TableCase{U'啪', 'P'}, TableCase{U'瀑', 'P'},
    TableCase{U'期', 'Q'}, TableCase{U'群', 'Q'}, TableCase{U'然', 'R'},
    TableCase{U'弱', 'R'}, TableCase{U'撒', 'S'}, TableCase{U'所', 'S'},
    TableCase{U'塌', 'T'}, TableCase{U'唾', 'T'}, TableCase{U'挖', 'W'},
    TableCase{U'误', 'W'}, TableCase{U'昔', 'X'}, TableCase{U'迅', 'X'},
    TableCase{U'压', 'Y'}, TableCase{U'孕', 'Y'}, TableCase{U'匝', 'Z'},
    TableCase{U'座', 'Z'},
    // Edges of the stored blocks and code points just outside them.
    TableCase{0x3400, 'Q'}, TableCase{0x33FF, 0}, TableCase{0x4DB5, 'C'},
    TableCase{0x4DC0, 0}, TableCase{0x4E00, 'Y'}, TableCase{0x9FA5, 'Y'},
    TableCase{0xA000, 0}, TableCase{0xF8FF, 0}, TableCase{0xF900, 0},
    TableCase{0xFA18, 'L'}, TableCase{0xFB00, 0}, TableCase{U'a', 0},
    TableCase{U'（', 0}, TableCase{0x20000, 0}));

} // namespace
} // namespace tz
