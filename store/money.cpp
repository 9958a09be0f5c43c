// Exact money and decimal-text rounding; see store/money.h.
//
// Every rounding is decided by a number's decimal digits (held as strings,
// or, where the binary value is clearly away from a half, read off the
// scaled value with the same outcome), so no binary fraction ever decides
// which way a half goes and there is no limit on magnitude until a result
// has to fit an integer.
#include "store/money.h"

#include <cmath>
#include <iterator>
#include <string>

#include <QLocale>

using namespace Qt::Literals::StringLiterals;

namespace tz {

namespace {

// A decimal number as written: sign, integer digits without leading zeros
// (empty for zero) and the fraction digits.
struct Decimal {
    bool negative = false;
    std::string whole;
    std::string fraction;

    bool isZero() const
    {
        return whole.empty() && fraction.find_first_not_of('0') == std::string::npos;
    }
};

// Exponents beyond this cannot come from a double; text asking for more is
// refused rather than expanded into a huge digit string.
constexpr int kMaxExponent = 400;

bool isAsciiDigit(QChar c)
{
    return c.unicode() >= u'0' && c.unicode() <= u'9';
}

// Moves the decimal point of d by exponent places.
void shiftPoint(Decimal &d, int exponent)
{
    const std::string digits = d.whole + d.fraction;
    const long long point = static_cast<long long>(d.whole.size()) + exponent;
    if (point <= 0) {
        d.whole.clear();
        d.fraction = std::string(static_cast<size_t>(-point), '0') + digits;
    } else if (point >= static_cast<long long>(digits.size())) {
        d.whole = digits + std::string(static_cast<size_t>(point) - digits.size(), '0');
        d.fraction.clear();
    } else {
        d.whole = digits.substr(0, static_cast<size_t>(point));
        d.fraction = digits.substr(static_cast<size_t>(point));
    }
    const size_t firstSignificant = d.whole.find_first_not_of('0');
    d.whole.erase(0, firstSignificant == std::string::npos ? d.whole.size() : firstSignificant);
}

// Reads [sign] digits-with-commas [. digits] [e [sign] digits] after trimming.
// A ',' must sit between two digits of the integer part. At least one digit
// is required; anything else left over refuses the text.
std::optional<Decimal> parseDecimal(QStringView text, bool allowExponent)
{
    text = text.trimmed();
    const qsizetype n = text.size();
    qsizetype i = 0;
    Decimal d;
    bool anyDigit = false;

    if (i < n && (text[i] == u'-' || text[i] == u'+')) {
        d.negative = text[i] == u'-';
        ++i;
    }
    for (; i < n; ++i) {
        const QChar c = text[i];
        if (isAsciiDigit(c)) {
            if (!d.whole.empty() || c != u'0')
                d.whole.push_back(static_cast<char>(c.unicode()));
            anyDigit = true;
        } else if (c == u',' && anyDigit && i + 1 < n && isAsciiDigit(text[i + 1])) {
            continue;
        } else {
            break;
        }
    }
    if (i < n && text[i] == u'.') {
        for (++i; i < n && isAsciiDigit(text[i]); ++i) {
            d.fraction.push_back(static_cast<char>(text[i].unicode()));
            anyDigit = true;
        }
    }
    if (!anyDigit)
        return std::nullopt;

    if (allowExponent && i < n && (text[i] == u'e' || text[i] == u'E')) {
        ++i;
        bool negativeExponent = false;
        if (i < n && (text[i] == u'-' || text[i] == u'+')) {
            negativeExponent = text[i] == u'-';
            ++i;
        }
        if (i == n || !isAsciiDigit(text[i]))
            return std::nullopt;
        int exponent = 0;
        for (; i < n && isAsciiDigit(text[i]); ++i) {
            exponent = exponent * 10 + (text[i].unicode() - u'0');
            if (exponent > kMaxExponent)
                return std::nullopt;
        }
        shiftPoint(d, negativeExponent ? -exponent : exponent);
    }
    if (i != n)
        return std::nullopt;
    return d;
}

// Rounds d to exactly `decimals` fraction digits, half away from zero: the
// first dropped digit alone decides, since the sign is kept apart.
Decimal roundDecimal(Decimal d, int decimals)
{
    const size_t keep = static_cast<size_t>(decimals);
    if (d.fraction.size() <= keep) {
        d.fraction.append(keep - d.fraction.size(), '0');
        return d;
    }
    const bool up = d.fraction[keep] >= '5';
    d.fraction.resize(keep);
    if (up) {
        std::string digits = d.whole + d.fraction;
        size_t k = digits.size();
        while (k > 0 && digits[k - 1] == '9')
            digits[--k] = '0';
        if (k == 0)
            digits.insert(digits.begin(), '1');
        else
            ++digits[k - 1];
        d.whole = digits.substr(0, digits.size() - keep);
        d.fraction = digits.substr(digits.size() - keep);
    }
    return d;
}

// The rounded d as a count of 10^-decimals units, or nullopt when its
// magnitude exceeds limit (which must stay below INT64_MAX / 10).
std::optional<qint64> toUnits(const Decimal &d, qint64 limit)
{
    qint64 units = 0;
    for (char c : d.whole + d.fraction) {
        units = units * 10 + (c - '0');
        if (units > limit)
            return std::nullopt;
    }
    return d.negative ? -units : units;
}

// Inserts ',' between groups of three digits, counted from the right.
QString groupThousands(const QString &digits)
{
    QString out;
    out.reserve(digits.size() + digits.size() / 3);
    const qsizetype n = digits.size();
    for (qsizetype i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0)
            out.append(u',');
        out.append(digits[i]);
    }
    return out;
}

// Writes the rounded d with its fraction digits; zero never carries a sign.
QString decimalToText(const Decimal &d, bool grouped)
{
    QString whole = d.whole.empty() ? QStringLiteral("0") : QString::fromLatin1(d.whole);
    if (grouped)
        whole = groupThousands(whole);
    QString out;
    if (d.negative && !d.isZero())
        out.append(u'-');
    out.append(whole);
    if (!d.fraction.empty()) {
        out.append(u'.');
        out.append(QString::fromLatin1(d.fraction));
    }
    return out;
}

} // namespace

std::optional<Cents> parseAmount(QStringView text)
{
    const std::optional<Decimal> d = parseDecimal(text, false);
    if (!d)
        return std::nullopt;
    return toUnits(roundDecimal(*d, 2), kMaxCents);
}

TypedAmount readTypedAmount(QStringView text)
{
    std::optional<Decimal> d = parseDecimal(text, true);
    if (!d)
        return {AmountText::NotANumber, 0};
    while (!d->fraction.empty() && d->fraction.back() == '0')
        d->fraction.pop_back();
    // Whole digits first: "1e14" is a number, and too large, not a wrong one.
    if (d->whole.size() > 12)
        return {AmountText::TooLarge, 0};
    if (d->fraction.size() > 2)
        return {AmountText::TooManyDecimals, 0};
    const std::optional<Cents> cents = toUnits(roundDecimal(*d, 2), kMaxPostedCents);
    if (!cents)
        return {AmountText::TooLarge, 0};
    return {AmountText::Valid, *cents};
}

QString typedAmountProblem(AmountText verdict, const QString &field, const QString &text)
{
    switch (verdict) {
    case AmountText::Valid:
        break;
    case AmountText::NotANumber:
        return field + u"不是有效的数字: "_s + text;
    case AmountText::TooManyDecimals:
        return field + u"最多只能有两位小数: "_s + text;
    case AmountText::TooLarge:
        return field + u"太大,最多为%1: "_s.arg(centsToText(kMaxPostedCents)) + text;
    }
    return {};
}

Cents roundToCents(double value)
{
    if (std::isnan(value))
        return 0;
    const Cents clamped = value < 0 ? -kMaxCents : kMaxCents;
    if (std::isinf(value))
        return clamped;
    const std::optional<Decimal> d = parseDecimal(shortestText(value), true);
    if (!d)
        return 0;
    return toUnits(roundDecimal(*d, 2), kMaxCents).value_or(clamped);
}

double centsToDouble(Cents cents)
{
    return static_cast<double>(cents) / 100.0;
}

QString centsToText(Cents cents, bool grouped)
{
    // Work on the unsigned magnitude so that the most negative qint64 is safe.
    const quint64 magnitude = cents < 0 ? 0 - static_cast<quint64>(cents) : static_cast<quint64>(cents);
    QString whole = QString::number(magnitude / 100);
    if (grouped)
        whole = groupThousands(whole);
    const quint64 fraction = magnitude % 100;
    QString out;
    if (cents < 0)
        out.append(u'-');
    out.append(whole);
    out.append(u'.');
    out.append(QString::number(fraction).rightJustified(2, u'0'));
    return out;
}

double roundHalfUp(double value, int decimals)
{
    if (!std::isfinite(value))
        return value;
    decimals = qBound(0, decimals, kMaxRoundDecimals);
    // The quick way, taken unless the value lies next to a tie: the value
    // scaled by 10^decimals is within a relative 2^-52 of its shortest text
    // scaled (one rounding in the product, half an ulp in the text), so
    // away from .5 it rounds the same way; the whole units below 2^53 over
    // an exact power of ten give the double nearest the rounded text, as
    // reading the text does. Ledgers round a price or a sum on every line,
    // and the text way costs microseconds each.
    static constexpr double kPowers[] = {1.0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6};
    static_assert(std::size(kPowers) == kMaxRoundDecimals + 1);
    const double scaled = std::fabs(value) * kPowers[decimals];
    if (scaled < 1e15) {
        const double whole = std::floor(scaled);
        const double fraction = scaled - whole;
        if (std::fabs(fraction - 0.5) > scaled * 1e-15 + 1e-300) {
            const double rounded = (fraction > 0.5 ? whole + 1.0 : whole) / kPowers[decimals];
            if (rounded == 0.0)
                return 0.0;
            return value < 0 ? -rounded : rounded;
        }
    }
    const std::optional<QString> text = roundDecimalText(shortestText(value), decimals);
    if (!text)
        return value;
    // QString::toDouble always reads the C form ('.' point), whatever the locale.
    const double rounded = text->toDouble();
    return rounded == 0.0 ? 0.0 : rounded;
}

QString shortestText(double value)
{
    return QString::number(value, 'g', QLocale::FloatingPointShortest);
}

std::optional<QString> roundDecimalText(QStringView text, int decimals, bool grouped)
{
    const std::optional<Decimal> d = parseDecimal(text, true);
    if (!d)
        return std::nullopt;
    return decimalToText(roundDecimal(*d, qMax(0, decimals)), grouped);
}

} // namespace tz
