// CSV reading.
#include "vouchers/csvtable.h"

using namespace Qt::Literals::StringLiterals;

namespace tz {

CsvTable readCsv(QStringView text)
{
    CsvTable table;
    if (text.startsWith(QChar(0xFEFF)))
        text = text.mid(1);

    int line = 1;
    qsizetype i = 0;
    const qsizetype size = text.size();
    while (i < size) {
        CsvRecord record;
        record.line = line;
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
                        ++line;
                    field += c;
                    ++i;
                }
                if (!closed) {
                    table.error = u"引号没有结束"_s;
                    table.errorLine = record.line;
                    return table;
                }
                if (i < size && text.at(i) != u',' && text.at(i) != u'\n' && text.at(i) != u'\r') {
                    table.error = u"引号后面只能是逗号或行尾"_s;
                    table.errorLine = record.line;
                    return table;
                }
            } else {
                while (i < size && text.at(i) != u',' && text.at(i) != u'\n' && text.at(i) != u'\r') {
                    if (text.at(i) == u'"') {
                        table.error = u"引号只能出现在加引号的字段中"_s;
                        table.errorLine = record.line;
                        return table;
                    }
                    field += text.at(i);
                    ++i;
                }
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
            ++line;
            recordDone = true;
        }
        const bool blank = record.fields.size() == 1 && record.fields.first().trimmed().isEmpty();
        if (!blank)
            table.records.append(record);
    }
    return table;
}

} // namespace tz
