// Exact money: parsing typed amounts, reading SQL REALs as cents, and the
// decimal-text rounding that must not be fooled by binary doubles.
#include "store/money.h"

#include <cmath>
#include <limits>
#include <optional>
#include <vector>

#include <random>

#include <gtest/gtest.h>

namespace tz {
namespace {

struct ParseRow {
    const char16_t *text;
    std::optional<Cents> cents;
};

TEST(ParseAmount, Table)
{
    const ParseRow rows[] = {
        {u"0", 0}, {u"12", 1200}, {u"12.3", 1230}, {u"-12.34", -1234}, {u"+5", 500},
        {u"  7.5\t", 750}, {u".5", 50}, {u"5.", 500}, {u"0000012.5", 1250},
        {u"1,234.50", 123450}, {u"-1,234,567.89", -123456789},
        // Beyond two decimals: half away from zero on the digits as written.
        {u"2.675", 268}, {u"-2.675", -268}, {u"0.125", 13}, {u"2.6749", 267}, {u"1.005", 101},
        {u"0.005", 1}, {u"-0.005", -1}, {u"-0.004", 0}, {u"99.995", 10000}, {u"0.99999999", 100},
        {u"99999999999.99", 9999999999999}, {u"90000000000000", kMaxCents},
        {u"-90,000,000,000,000.004", -kMaxCents},
        // Refused.
        {u"", std::nullopt}, {u"   ", std::nullopt}, {u"-", std::nullopt}, {u"+", std::nullopt},
        {u".", std::nullopt}, {u"-.", std::nullopt}, {u"abc", std::nullopt}, {u"12a", std::nullopt},
        {u"1.2.3", std::nullopt}, {u"1e5", std::nullopt}, {u"1E-2", std::nullopt},
        {u"--1", std::nullopt}, {u"+-1", std::nullopt}, {u"1-", std::nullopt}, {u"1 234", std::nullopt},
        {u",123", std::nullopt}, {u"123,", std::nullopt}, {u"1,,234", std::nullopt},
        {u"1.234,5", std::nullopt}, {u"- 5", std::nullopt}, {u"\uFF11\uFF12", std::nullopt},
        {u"90000000000000.01", std::nullopt}, {u"-90000000000000.005", std::nullopt},
        {u"100000000000000000000000000000", std::nullopt},
    };
    for (const ParseRow &row : rows) {
        SCOPED_TRACE(QString::fromUtf16(row.text).toStdString());
        EXPECT_EQ(parseAmount(row.text), row.cents);
    }
}

struct RealRow {
    double value;
    Cents cents;
};

TEST(RoundToCents, BinaryDoublesRoundAsWritten)
{
    const double inf = std::numeric_limits<double>::infinity();
    const RealRow rows[] = {
        {2.675, 268}, {-2.675, -268}, {1.005, 101}, {-1.005, -101}, {0.285, 29}, {1.115, 112},
        {-1.115, -112}, {0.1 + 0.2, 30}, {0.005, 1}, {-0.005, -1}, {0.0049999, 0}, {2.5, 250},
        {1e-05, 0}, {5e-324, 0}, {0.0, 0}, {-0.0, 0}, {1234567.891, 123456789},
        {99999999999.99, 9999999999999}, {-99999999999.99, -9999999999999},
        {90000000000000.0, kMaxCents},
        // Out of range clamps; NaN carries no amount.
        {1.5e20, kMaxCents}, {-1.5e20, -kMaxCents}, {90000000000000.02, kMaxCents},
        {inf, kMaxCents}, {-inf, -kMaxCents}, {std::nan(""), 0},
    };
    for (const RealRow &row : rows) {
        SCOPED_TRACE(shortestText(row.value).toStdString());
        EXPECT_EQ(roundToCents(row.value), row.cents);
    }
}

struct TextRow {
    Cents cents;
    const char16_t *plain;
    const char16_t *grouped;
};

TEST(CentsToText, PlainAndGrouped)
{
    const TextRow rows[] = {
        {0, u"0.00", u"0.00"}, {5, u"0.05", u"0.05"}, {-5, u"-0.05", u"-0.05"},
        {99999, u"999.99", u"999.99"}, {100000, u"1000.00", u"1,000.00"},
        {123450, u"1234.50", u"1,234.50"}, {-123450, u"-1234.50", u"-1,234.50"},
        {9999999999999, u"99999999999.99", u"99,999,999,999.99"},
        {std::numeric_limits<Cents>::min(), u"-92233720368547758.08", u"-92,233,720,368,547,758.08"},
    };
    for (const TextRow &row : rows) {
        SCOPED_TRACE(row.cents);
        EXPECT_EQ(centsToText(row.cents), QString::fromUtf16(row.plain));
        EXPECT_EQ(centsToText(row.cents, true), QString::fromUtf16(row.grouped));
    }
}

TEST(Money, RoundTripsThroughTextAndReal)
{
    std::vector<Cents> samples{kMaxCents, -kMaxCents, 9999999999999, -9999999999999,
                               123456789012, 100000000, -100000000};
    for (Cents c = -250000; c <= 250000; c += 7)
        samples.push_back(c);
    for (Cents c = 1; c < kMaxCents / 10; c = c * 10 + 7)
        samples.push_back(c);
    for (Cents c : samples) {
        SCOPED_TRACE(c);
        ASSERT_EQ(parseAmount(centsToText(c)), c);
        ASSERT_EQ(parseAmount(centsToText(c, true)), c);
        ASSERT_EQ(roundToCents(centsToDouble(c)), c);
        ASSERT_EQ(shortestText(centsToDouble(c)).toDouble(), centsToDouble(c));
    }
}

struct HalfUpRow {
    double value;
    int decimals;
    double expected;
};

TEST(RoundHalfUp, DecimalTextRule)
{
    const HalfUpRow rows[] = {
        {2.675, 2, 2.68}, {-2.675, 2, -2.68}, {1.005, 2, 1.01}, {0.285, 2, 0.29}, {1.115, 2, 1.12},
        {2.5, 0, 3.0}, {-2.5, 0, -3.0}, {0.5, 0, 1.0}, {123.4565, 3, 123.457}, {2.4, 0, 2.0},
        {0.0000005, 6, 0.000001}, {99999999999.995, 2, 100000000000.0}, {1.5e20, 2, 1.5e20},
        // Decimals outside 0..6 are clamped.
        {1.2345675, 9, 1.234568}, {1.5, -1, 2.0},
    };
    for (const HalfUpRow &row : rows) {
        SCOPED_TRACE(shortestText(row.value).toStdString() + " @" + std::to_string(row.decimals));
        EXPECT_EQ(roundHalfUp(row.value, row.decimals), row.expected);
    }
    EXPECT_FALSE(std::signbit(roundHalfUp(-0.004, 2)));
    EXPECT_TRUE(std::isnan(roundHalfUp(std::nan(""), 2)));
    EXPECT_EQ(roundHalfUp(-std::numeric_limits<double>::infinity(), 2), -std::numeric_limits<double>::infinity());
}

// The quick way must round exactly as the decimal text does: quotients
// like a ledger's prices and balances, sums of cents with binary noise,
// values at and next to halves, at every magnitude up to 10^13.
TEST(RoundHalfUp, AgreesWithTheDecimalTextEverywhere)
{
    std::mt19937_64 random(20261207);
    std::uniform_int_distribution<qint64> cents(-99'999'999'999'999, 99'999'999'999'999);
    std::uniform_int_distribution<int> places(0, 6), scale(0, 13), divisor(1, 9999);
    for (int i = 0; i < 300'000; ++i) {
        const double magnitude = std::pow(10.0, scale(random) - 6);
        double value = 0;
        switch (i % 4) {
        case 0: value = double(cents(random)) / 100.0 / double(divisor(random)); break;
        case 1: value = double(cents(random) % 1'000'000) / 1000.0 + 0.1 + 0.2; break;
        case 2: value = (double(cents(random) % 100'000) + 0.5) / std::pow(10.0, places(random)); break;
        default: value = double(cents(random)) * magnitude / 1e13; break;
        }
        const int decimals = places(random);
        const double byText = roundDecimalText(shortestText(value), decimals)->toDouble();
        ASSERT_EQ(roundHalfUp(value, decimals), byText == 0.0 ? 0.0 : byText)
            << shortestText(value).toStdString() << " @" << decimals;
    }
}

} // namespace
} // namespace tz
