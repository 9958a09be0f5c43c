// Exact money: amounts are held as integer cents (分) and every conversion
// from text or from an SQL REAL goes through decimal digits, so that a value
// such as 2.675 (stored in binary as 2.67499999…) rounds the way the user
// reads it. All rounding here is half away from zero on the decimal text.
#pragma once

#include <optional>

#include <QString>
#include <QStringView>
#include <QtGlobal>

namespace tz {

using Cents = qint64;

// Largest amount kept, in cents (9e13 yuan). Below 2^53, so every amount in
// range is also exact when stored as an SQL REAL.
inline constexpr Cents kMaxCents = 9'000'000'000'000'000;

// Most decimals roundHalfUp works with.
inline constexpr int kMaxRoundDecimals = 6;

// Turns amount text typed by a user or shown in a grid into cents. Accepts
// surrounding blanks, an optional leading '-' or '+', digits with ','
// separators between them in the integer part ("1,234.50"), an optional '.'
// and any number of decimals (".5" and "5." are fine). More than two
// decimals round half away from zero on the third decimal digit itself:
// "2.675" -> 268, "-2.675" -> -268, "2.6749" -> 267. Returns nullopt for
// empty text, a lone sign or point, letters, a second point, exponent
// notation, or a magnitude above kMaxCents.
std::optional<Cents> parseAmount(QStringView text);

// Largest amount one journal line or opening figure takes: 999,999,999,999.99
// yuan. Sums of a year of such amounts stay exact as SQL REALs (below 2^53
// cents) and fit the money columns of every page and workbook.
inline constexpr Cents kMaxPostedCents = 99'999'999'999'999;

// How typed amount text (the command line, an import file) reads when taken
// exactly as written: nothing is rounded silently.
enum class AmountText {
    Valid,
    NotANumber,      // empty, letters, a lone sign or point
    TooManyDecimals, // a non-zero digit after the second decimal
    TooLarge,        // beyond kMaxPostedCents (exponent notation is read, so 1e14 is too large)
};
struct TypedAmount
{
    AmountText verdict = AmountText::NotANumber;
    Cents cents = 0;
};
TypedAmount readTypedAmount(QStringView text);

// The refusal of a verdict other than Valid, naming the field:
// field + "不是有效的数字: " / "最多只能有两位小数: " / "太大,最多为999999999999.99: " + text.
QString typedAmountProblem(AmountText verdict, const QString &field, const QString &text);

// The amount an SQL REAL stands for: value is read through its shortest
// round-trip decimal text and rounded half away from zero on the cent
// (2.675 -> 268, 1.005 -> 101, 0.1 + 0.2 -> 30, 1e-05 -> 0). NaN gives 0;
// infinities and magnitudes beyond kMaxCents clamp to +/-kMaxCents.
Cents roundToCents(double value);

// cents / 100 as the nearest double; exact in its shortest decimal text for
// every amount within kMaxCents. No rounding.
double centsToDouble(Cents cents);

// Plain amount text with always two decimals: "1234.50", "-0.05"; grouped
// puts ',' between thousands: "1,234.50", "-1,234.50". Exact, no rounding;
// parseAmount reads either form back to the same cents.
QString centsToText(Cents cents, bool grouped = false);

// Rounds value to `decimals` places (clamped to 0..kMaxRoundDecimals) half
// away from zero on its shortest decimal text: roundHalfUp(2.675, 2) is 2.68
// and roundHalfUp(-2.5, 0) is -3. SQLite's own round() works on the binary
// value and gives round(2.675, 2) = 2.67; this is the rule the books use.
// NaN and infinities are returned unchanged; a result of zero is +0.0.
double roundHalfUp(double value, int decimals);

// Shortest decimal text that reads back as exactly value
// (QString::number(value, 'g', QLocale::FloatingPointShortest)), e.g.
// "2.675", "1e-05", "1.5e+20". No rounding.
QString shortestText(double value);

// Rounds the decimal number written in text to `decimals` places (negative
// treated as 0) half away from zero on its digits and writes it with exactly
// that many decimals, '.' point, optional ',' grouping, and no '-' on a
// result of zero ("-0.004" -> "0.00"). Accepts what parseAmount accepts plus
// exponent notation ("1.5e+20"), with no limit on magnitude. Returns nullopt
// when text is not a number.
std::optional<QString> roundDecimalText(QStringView text, int decimals, bool grouped = false);

} // namespace tz
