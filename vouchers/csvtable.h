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

// Reads the records of a text one at a time, so a file of a year's
// vouchers is never held as records all at once. A leading byte-order mark
// is skipped; blank lines are left out. Refused (next() false, error set):
// a quote inside an unquoted field, text after a closing quote other than
// ',' or the line end, and a quoted field that is never closed.
class CsvReader
{
public:
    explicit CsvReader(QStringView text);

    // The next record; false at the end of the text or at an error.
    bool next(CsvRecord &record);

    const QString &error() const { return m_error; }
    int errorLine() const { return m_errorLine; }

private:
    bool fail(const QString &error, int line);

    QStringView m_text;
    qsizetype m_at = 0;
    int m_line = 1;
    QString m_error;
    int m_errorLine = 0;
};

// Every record of a text (CsvReader), the records up to an error kept.
CsvTable readCsv(QStringView text);

} // namespace tz
