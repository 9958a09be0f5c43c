// Display formats; see store/numberformat.h.
#include "store/numberformat.h"

#include <array>
#include <charconv>
#include <optional>

#include <QDate>
#include <QDateTime>
#include <QMetaType>

#include "store/money.h"

using namespace Qt::Literals::StringLiterals;

namespace tz {

namespace {

struct NumericFormat {
    QStringView name;
    int decimals;
    bool grouped;
};

constexpr std::array<NumericFormat, 9> kNumericFormats{{
    {u"0", 0, false},
    {u"0.0", 1, false},
    {u"0.00", 2, false},
    {u"0.000", 3, false},
    {u"0.0000", 4, false},
    {u"#,##0.00", 2, true},
    {u"#,#0.00", 2, true},
    {u"#,0.00", 2, true},
    {u"#,##0", 0, true},
}};

std::optional<NumericFormat> numericFormat(QStringView format)
{
    for (const NumericFormat &f : kNumericFormats) {
        if (format == f.name)
            return f;
    }
    return std::nullopt;
}

bool isDateFormat(QStringView format)
{
    return format.compare(u"yyyy-MM-dd", Qt::CaseInsensitive) == 0;
}

bool isTextType(int typeId)
{
    return typeId == QMetaType::QString || typeId == QMetaType::QByteArray;
}

// Exact decimal text of a number held in value, or nullopt when value holds
// no number. Integers are written in full; a float uses its own shortest
// text so that 0.1f reads as "0.1", not as the widened double.
std::optional<QString> numberText(const QVariant &value)
{
    switch (value.metaType().id()) {
    case QMetaType::Double:
        return shortestText(value.toDouble());
    case QMetaType::Float: {
        char buffer[64];
        const auto result = std::to_chars(buffer, buffer + sizeof buffer, value.toFloat());
        return QString::fromLatin1(buffer, result.ptr - buffer);
    }
    case QMetaType::Int:
    case QMetaType::Long:
    case QMetaType::LongLong:
    case QMetaType::Short:
    case QMetaType::SChar:
        return QString::number(value.toLongLong());
    case QMetaType::UInt:
    case QMetaType::ULong:
    case QMetaType::ULongLong:
    case QMetaType::UShort:
    case QMetaType::UChar:
        return QString::number(value.toULongLong());
    default:
        return std::nullopt;
    }
}

QString plainText(const QVariant &value)
{
    if (const std::optional<QString> number = numberText(value))
        return *number;
    return value.toString();
}

QString formatNumber(const QVariant &value, const NumericFormat &format)
{
    if (const std::optional<QString> number = numberText(value)) {
        // Only NaN and infinities fail here; they show as their plain text.
        return roundDecimalText(*number, format.decimals, format.grouped).value_or(*number);
    }
    if (isTextType(value.metaType().id())) {
        const QString text = value.toString();
        return roundDecimalText(text, format.decimals, format.grouped).value_or(text);
    }
    return value.toString();
}

QString formatDate(const QVariant &value)
{
    const QString dateFormat = u"yyyy-MM-dd"_s;
    switch (value.metaType().id()) {
    case QMetaType::QDate:
        return value.toDate().toString(dateFormat);
    case QMetaType::QDateTime:
        return value.toDateTime().date().toString(dateFormat);
    default:
        break;
    }
    const QString text = value.toString();
    if (isTextType(value.metaType().id())) {
        // "2024-03-05" alone or followed by a time ("2024-03-05 10:00:00",
        // "2024-03-05T10:00:00").
        const QStringView trimmed = QStringView(text).trimmed();
        if (trimmed.size() == 10 || (trimmed.size() > 10 && (trimmed[10] == u' ' || trimmed[10] == u'T'))) {
            const QDate date = QDate::fromString(trimmed.left(10).toString(), Qt::ISODate);
            if (date.isValid())
                return date.toString(dateFormat);
        }
    }
    return plainText(value);
}

} // namespace

QString formatValue(const QVariant &value, QStringView format)
{
    if (!value.isValid() || value.isNull())
        return QString();
    if (isTextType(value.metaType().id()) && value.toString().trimmed().isEmpty())
        return QString();

    format = format.trimmed();
    if (const std::optional<NumericFormat> numeric = numericFormat(format))
        return formatNumber(value, *numeric);
    if (isDateFormat(format))
        return formatDate(value);
    return plainText(value);
}

QString decimalPlacesFormat(int places)
{
    switch (places) {
    case 0:
        return u"0"_s;
    case 1:
        return u"0.0"_s;
    case 2:
        return u"0.00"_s;
    case 3:
        return u"0.000"_s;
    default:
        return u"0.0000"_s;
    }
}

QString stripGrouping(QStringView text)
{
    QString out;
    out.reserve(text.size());
    for (QChar c : text) {
        if (c != u',')
            out.append(c);
    }
    return out;
}

} // namespace tz
