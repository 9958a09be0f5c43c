// Reading comma-separated text (RFC 4180): fields separated by ',', records
// by LF or CRLF; a field in double quotes may hold commas, line breaks and
// doubled quotes ("" for one "). Used by the voucher import.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

namespace tz {

struct CsvRecord
{
    int line = 0; // the text line the record starts on, 1 for the first
    QStringList fields;
};

struct CsvTable
{
    QList<CsvRecord> records; // blank lines are left out
    QString error;            // empty when the whole text was read
    int errorLine = 0;        // the line of the record the error is in

    bool isValid() const { return error.isEmpty(); }
};

// Splits text into records. A leading byte-order mark is skipped. Refused
// (error set, records up to it kept): a quote inside an unquoted field,
// text after a closing quote other than ',' or the line end, and a quoted
// field that is never closed.
CsvTable readCsv(QStringView text);

} // namespace tz
