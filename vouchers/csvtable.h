// Reading comma-separated text (RFC 4180): fields separated by ',', records
// by LF or CRLF; a field in double quotes may hold commas, line breaks and
// doubled quotes ("" for one "). Used by the voucher import.
#pragma once

#include <optional>

#include <QList>
#include <QString>
#include <QStringList>
#include <QStringDecoder>
#include <QStringView>

class QIODevice;

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
    // `firstLine`: the line number of the text's first line (a later part
    // of a longer text); only a text starting at line 1 has its mark skipped.
    explicit CsvReader(QStringView text, int firstLine = 1);

    // The next record; false at the end of the text or at an error.
    bool next(CsvRecord &record);
    // The line the next record starts on.
    int line() const { return m_line; }

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

// The records of a UTF-8 file, read a block of whole records at a time, so
// that a year's import file is never held whole, neither as bytes nor as
// text. Records, line numbers and errors are those CsvReader gives on the
// whole text. A block ends after a line break outside quotes (where a
// record must end); a record longer than a block makes the block longer.
class CsvFileReader
{
public:
    explicit CsvFileReader(QIODevice &file, qsizetype blockBytes = 1 << 20);

    // The next record; false at the end of the file, at an error, or at
    // bytes that are no UTF-8 (notUtf8()).
    bool next(CsvRecord &record);

    const QString &error() const { return m_error; }
    int errorLine() const { return m_errorLine; }
    bool notUtf8() const { return m_notUtf8; }

private:
    bool readBlock();

    QIODevice &m_file;
    qsizetype m_blockBytes;
    QByteArray m_bytes; // read and not yet decoded: whole records' start
    QString m_text;     // the block being read
    std::optional<CsvReader> m_reader;
    QStringDecoder m_decoder{QStringDecoder::Utf8};
    int m_line = 1;
    bool m_atEnd = false;
    bool m_notUtf8 = false;
    QString m_error;
    int m_errorLine = 0;
};

// True when every byte the file holds from its current position is UTF-8;
// the file is read a block at a time.
bool isUtf8File(QIODevice &file);

// Every record of a text (CsvReader), the records up to an error kept.
CsvTable readCsv(QStringView text);

} // namespace tz
