// Display formats shared by the windows, reports and workbooks: one place
// that turns a stored value into the text of a cell, independent of the
// process locale.
#pragma once

#include <QString>
#include <QStringView>
#include <QVariant>

namespace tz {

// Formats value for display under format:
//  - a null or invalid value, or blank text, gives "" (a NULL amount is an
//    empty cell, never 0.00);
//  - "0", "0.0", "0.00", "0.000", "0.0000": fixed decimals, no grouping;
//    "#,##0.00", "#,#0.00", "#,0.00": ',' between thousands, two decimals;
//    "#,##0": ',' between thousands, no decimals. Numbers and text holding a
//    number are rounded half away from zero on their shortest decimal text
//    (2.675 -> "2.68"); a result of zero has no '-' (-0.004 -> "0.00"). Text
//    that is not a number, and other kinds of value, come back as plain text;
//  - "yyyy-MM-dd" or "YYYY-MM-DD" (letter case ignored): a QDate, a QDateTime
//    or text starting with a yyyy-MM-dd date gives "2024-03-05"; anything
//    else comes back as plain text;
//  - any other format gives the value's plain text (a double as its shortest
//    decimal text).
// Surrounding blanks of format are ignored.
QString formatValue(const QVariant &value, QStringView format);

// The display format for a number of decimal places: 0 -> "0", 1 -> "0.0",
// 2 -> "0.00", 3 -> "0.000", anything else -> "0.0000". The query window's
// quantity and unit-price spinners set the formats this way.
QString decimalPlacesFormat(int places);

// text with every ',' group separator removed ("1,234.50" -> "1234.50"), for
// turning displayed text back into a number. No rounding.
QString stripGrouping(QStringView text);

} // namespace tz
