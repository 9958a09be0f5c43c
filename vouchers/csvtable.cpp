// CSV reading.
#include "vouchers/csvtable.h"

#include <QIODevice>

using namespace Qt::Literals::StringLiterals;

namespace tz {

CsvReader::CsvReader(QStringView text, int firstLine)
    : m_text(firstLine == 1 && text.startsWith(QChar(0xFEFF)) ? text.mid(1) : text)
    , m_line(firstLine)
{
}

bool CsvReader::fail(const QString &error, int line)
{
    m_error = error;
    m_errorLine = line;
    m_at = m_text.size();
    return false;
}

bool CsvReader::next(CsvRecord &record)
{
    const QStringView text = m_text;
    const qsizetype size = text.size();
    qsizetype &i = m_at;
    while (i < size) {
        record.line = m_line;
        record.fields.clear();
        bool recordDone = false;
        while (!recordDone) {
            QString field;
            if (i < size && text.at(i) == u'"') {
                ++i;
                bool closed = false;
                while (i < size) {
                    const QChar c = text.at(i);
                    if (c == u'"') {
                        if (i + 1 < size && text.at(i + 1) == u'"') {
                            field += u'"';
                            i += 2;
                            continue;
                        }
                        ++i;
                        closed = true;
                        break;
                    }
                    if (c == u'\n')
                        ++m_line;
                    field += c;
                    ++i;
                }
                if (!closed)
                    return fail(u"引号没有结束"_s, record.line);
                if (i < size && text.at(i) != u',' && text.at(i) != u'\n' && text.at(i) != u'\r')
                    return fail(u"引号后面只能是逗号或行尾"_s, record.line);
            } else {
                const qsizetype from = i;
                while (i < size && text.at(i) != u',' && text.at(i) != u'\n' && text.at(i) != u'\r') {
                    if (text.at(i) == u'"')
                        return fail(u"引号只能出现在加引号的字段中"_s, record.line);
                    ++i;
                }
                field = text.mid(from, i - from).toString();
            }
            record.fields.append(field);
            if (i < size && text.at(i) == u',') {
                ++i;
                continue;
            }
            // End of the record: CRLF, LF, a lone CR, or the end of the text.
            if (i < size && text.at(i) == u'\r')
                ++i;
            if (i < size && text.at(i) == u'\n')
                ++i;
            ++m_line;
            recordDone = true;
        }
        const bool blank = record.fields.size() == 1 && record.fields.first().trimmed().isEmpty();
        if (!blank)
            return true;
    }
    return false;
}

CsvFileReader::CsvFileReader(QIODevice &file, qsizetype blockBytes)
    : m_file(file)
    , m_blockBytes(blockBytes)
{
}

bool CsvFileReader::readBlock()
{
    for (;;) {
        if (!m_atEnd) {
            const QByteArray more = m_file.read(m_blockBytes);
            m_atEnd = more.isEmpty();
            m_bytes += more;
        }
        // After the last line feed outside quotes: a quote opens or closes
        // a quoted field, and a doubled quote inside one does both.
        qsizetype cut = 0;
        bool quoted = false;
        for (qsizetype i = 0; i < m_bytes.size(); ++i) {
            if (m_bytes.at(i) == '"')
                quoted = !quoted;
            else if (m_bytes.at(i) == '\n' && !quoted)
                cut = i + 1;
        }
        if (m_atEnd)
            cut = m_bytes.size();
        if (cut == 0) {
            if (m_atEnd)
                return false;
            continue;
        }
        m_text = m_decoder(QByteArrayView(m_bytes).first(cut));
        if (m_decoder.hasError()) {
            m_notUtf8 = true;
            return false;
        }
        m_bytes.remove(0, cut);
        m_reader.emplace(m_text, m_line);
        return true;
    }
}

bool CsvFileReader::next(CsvRecord &record)
{
    for (;;) {
        if (m_reader) {
            if (m_reader->next(record))
                return true;
            if (!m_reader->error().isEmpty()) {
                m_error = m_reader->error();
                m_errorLine = m_reader->errorLine();
                return false;
            }
            m_line = m_reader->line();
            m_reader.reset();
        }
        if (!readBlock())
            return false;
    }
}

bool isUtf8File(QIODevice &file)
{
    QStringDecoder decoder(QStringDecoder::Utf8);
    while (!file.atEnd()) {
        const QString text = decoder(file.read(1 << 20));
        if (decoder.hasError())
            return false;
    }
    return true;
}

CsvTable readCsv(QStringView text)
{
    CsvTable table;
    CsvReader reader(text);
    CsvRecord record;
    while (reader.next(record))
        table.records.append(record);
    table.error = reader.error();
    table.errorLine = reader.errorLine();
    return table;
}

} // namespace tz
