// Display formats: numeric rounding and grouping, NULL cells, dates, and
// text that is left alone; and the key filter of the amount cells.
#include "store/numberformat.h"

#include <limits>
#include <optional>
#include <vector>

#include <QDate>
#include <QDateTime>
#include <QMetaType>
#include <QTime>

#include <gtest/gtest.h>

#include "store/money.h"
#include "store/numerickeyfilter.h"

using namespace Qt::Literals::StringLiterals;

namespace tz {
namespace {

struct FormatRow {
    QVariant value;
    QString format;
    QString expected;
};

void checkRows(const std::vector<FormatRow> &rows)
{
    for (const FormatRow &row : rows) {
        SCOPED_TRACE((row.value.toString() + u" | "_s + row.format).toStdString());
        EXPECT_EQ(formatValue(row.value, row.format), row.expected);
    }
}

TEST(FormatValue, EmptyCells)
{
    checkRows({
        {QVariant(), u"0.00"_s, QString()},
        {QVariant(QMetaType::fromType<double>()), u"#,##0.00"_s, QString()},
        {QVariant(QMetaType::fromType<qlonglong>()), u"0"_s, QString()},
        {QVariant(QString()), u"0.00"_s, QString()},
        {QVariant(u""_s), u"0.00"_s, QString()},
        {QVariant(u"  "_s), u"#,##0.00"_s, QString()},
        {QVariant(QDate()), u"yyyy-MM-dd"_s, QString()},
        {QVariant(u""_s), u"unknown"_s, QString()},
    });
}

TEST(FormatValue, Numbers)
{
    checkRows({
        {2.675, u"0.00"_s, u"2.68"_s}, {-2.675, u"0.00"_s, u"-2.68"_s}, {1.005, u"0.00"_s, u"1.01"_s},
        {0.285, u"0.00"_s, u"0.29"_s}, {1.115, u"0.00"_s, u"1.12"_s}, {0.1 + 0.2, u"0.00"_s, u"0.30"_s},
        {-0.004, u"0.00"_s, u"0.00"_s}, {-0.0, u"0.00"_s, u"0.00"_s}, {-0.4, u"0"_s, u"0"_s},
        {1234.5, u"0"_s, u"1235"_s}, {0.05, u"0.0"_s, u"0.1"_s}, {1.2, u"0.000"_s, u"1.200"_s},
        {2.00005, u"0.0000"_s, u"2.0001"_s}, {1234567.891, u"0.00"_s, u"1234567.89"_s},
        {1234567.891, u"#,##0.00"_s, u"1,234,567.89"_s}, {1234567.891, u"#,#0.00"_s, u"1,234,567.89"_s},
        {1234567.891, u"#,0.00"_s, u"1,234,567.89"_s}, {-1234.5, u"#,##0"_s, u"-1,235"_s},
        {999.995, u"#,##0.00"_s, u"1,000.00"_s}, {99999999999.99, u"#,##0.00"_s, u"99,999,999,999.99"_s},
        {1.5e20, u"0.00"_s, u"150000000000000000000.00"_s},
        {QVariant(-7), u"0.00"_s, u"-7.00"_s},
        {QVariant(qlonglong(123456789012)), u"#,##0"_s, u"123,456,789,012"_s},
        {QVariant(std::numeric_limits<qulonglong>::max()), u"#,##0"_s, u"18,446,744,073,709,551,615"_s},
        {QVariant(0.1f), u"0.0000"_s, u"0.1000"_s}, {QVariant(2.675f), u"0.00"_s, u"2.68"_s},
        {2.5, u" 0 "_s, u"3"_s},
    });
}

TEST(FormatValue, TextValues)
{
    checkRows({
        {u"1,234.5"_s, u"0.00"_s, u"1234.50"_s}, {u"-2.675"_s, u"#,##0.00"_s, u"-2.68"_s},
        {u" 12 "_s, u"0"_s, u"12"_s}, {u"1.5e3"_s, u"0.00"_s, u"1500.00"_s},
        {u"abc"_s, u"0.00"_s, u"abc"_s}, {u"1.2.3"_s, u"0.00"_s, u"1.2.3"_s},
        {u"12元"_s, u"#,##0.00"_s, u"12元"_s}, {u"1e"_s, u"0.00"_s, u"1e"_s}, {u"1e999"_s, u"0"_s, u"1e999"_s},
        {u"-0.004"_s, u"0.00"_s, u"0.00"_s}, {u"999.5"_s, u"#,##0"_s, u"1,000"_s},
        {QVariant(QByteArray("3.145")), u"0.00"_s, u"3.15"_s},
    });
}

TEST(FormatValue, Dates)
{
    const QDate date(2024, 3, 5);
    checkRows({
        {date, u"YYYY-MM-DD"_s, u"2024-03-05"_s}, {date, u"yyyy-MM-dd"_s, u"2024-03-05"_s},
        {QDateTime(date, QTime(23, 59, 59)), u"yyyy-MM-dd"_s, u"2024-03-05"_s},
        {u"2024-03-05"_s, u"YYYY-MM-DD"_s, u"2024-03-05"_s},
        {u"2024-03-05 10:00:00"_s, u"yyyy-MM-dd"_s, u"2024-03-05"_s},
        {u"2024-03-05T10:00:00"_s, u"yyyy-MM-dd"_s, u"2024-03-05"_s},
        // Not a date: returned as it is.
        {u"2024-13-05"_s, u"yyyy-MM-dd"_s, u"2024-13-05"_s}, {u"2024-03-051"_s, u"yyyy-MM-dd"_s, u"2024-03-051"_s},
        {u"memo"_s, u"yyyy-MM-dd"_s, u"memo"_s}, {12.5, u"yyyy-MM-dd"_s, u"12.5"_s},
    });
}

TEST(FormatValue, UnknownFormatGivesPlainText)
{
    checkRows({
        {2.5, QString(), u"2.5"_s}, {0.1 + 0.2, u"@"_s, u"0.30000000000000004"_s},
        {u"abc"_s, u"0.00000"_s, u"abc"_s}, {2.675, u"#,##0.000"_s, u"2.675"_s}, {QVariant(42), u"%d"_s, u"42"_s},
    });
}

TEST(FormatValue, GroupedAmountsReadBackExactly)
{
    for (Cents c : {Cents(0), Cents(1), Cents(-1), Cents(123450), Cents(-100000000), Cents(9999999999999), kMaxCents}) {
        const QString shown = formatValue(centsToDouble(c), u"#,##0.00");
        EXPECT_EQ(parseAmount(shown), c) << shown.toStdString();
        EXPECT_EQ(parseAmount(stripGrouping(shown)), c) << shown.toStdString();
    }
}

TEST(StripGrouping, Table)
{
    const std::pair<QString, QString> rows[] = {
        {u"1,234.50"_s, u"1234.50"_s}, {u"-1,234,567"_s, u"-1234567"_s}, {u""_s, u""_s},
        {u",,"_s, u""_s}, {u"abc"_s, u"abc"_s},
    };
    for (const auto &[text, expected] : rows)
        EXPECT_EQ(stripGrouping(text), expected) << text.toStdString();
}

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
