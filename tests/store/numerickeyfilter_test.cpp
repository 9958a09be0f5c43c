// Key filter of the amount cells: which keys pass with and without the
// field's current text.
#include "store/numerickeyfilter.h"

#include <optional>

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

namespace tz {
namespace {

struct KeyRow {
    int key;
    std::optional<QString> text;
    int expected;
};

TEST(NumericKeyFilter, Table)
{
    const KeyRow rows[] = {
        // Digits, backspace and Enter always pass.
        {'0', std::nullopt, '0'}, {'9', std::nullopt, '9'}, {8, std::nullopt, 8}, {13, std::nullopt, 13},
        {'5', u"12.5"_s, '5'}, {'7', u"-"_s, '7'}, {8, u"1.2"_s, 8}, {13, u""_s, 13},
        // Without the field's text, sign and point are dropped.
        {'-', std::nullopt, 0}, {'.', std::nullopt, 0},
        // A sign only into an empty field.
        {'-', u""_s, '-'}, {'-', u"1"_s, 0}, {'-', u"-"_s, 0}, {'-', u" "_s, 0},
        // One point per field.
        {'.', u""_s, '.'}, {'.', u"12"_s, '.'}, {'.', u"-"_s, '.'}, {'.', u"   "_s, '.'},
        {'.', u"12.5"_s, 0}, {'.', u"."_s, 0}, {'.', u" ."_s, 0},
        // Anything else is dropped.
        {'a', std::nullopt, 0}, {'a', u""_s, 0}, {',', u"1"_s, 0}, {'+', u""_s, 0}, {' ', u""_s, 0},
        {'/', std::nullopt, 0}, {':', std::nullopt, 0}, {0, std::nullopt, 0}, {-1, u""_s, 0},
        {127, std::nullopt, 0}, {9, std::nullopt, 0}, {10, std::nullopt, 0}, {0x30 + 0x10000, std::nullopt, 0},
    };
    for (const KeyRow &row : rows) {
        SCOPED_TRACE(testing::Message() << "key " << row.key << " text "
                                        << (row.text ? "\"" + row.text->toStdString() + "\"" : "none"));
        EXPECT_EQ(NumericKeyFilter(row.key, row.text), row.expected);
    }
}

} // namespace
} // namespace tz
