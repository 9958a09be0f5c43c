// The file and cell helpers of the query window's workbooks.
#include "export/workbookfile.h"

#include <QDate>
#include <QFile>
#include <QFileInfo>

#include "store/dialogs.h"
#include "store/guard.h"
#include "store/safefile.h"
#include "store/scratchfile.h"

using namespace Qt::Literals::StringLiterals;

namespace tz {

namespace {

quint32 littleEndian32(const char *bytes)
{
    return quint32(quint8(bytes[0])) | quint32(quint8(bytes[1])) << 8 | quint32(quint8(bytes[2])) << 16
           | quint32(quint8(bytes[3])) << 24;
}

quint16 littleEndian16(const char *bytes)
{
    return quint16(quint8(bytes[0]) | quint8(bytes[1]) << 8);
}

} // namespace

bool isWholeWorkbook(const QString &path)
{
    // A workbook is a zip archive: whole when it ends with the record that
    // closes the archive (no comment follows it, as the writer adds none)
    // and the central directory that record points at lies right before it
    // and begins with its signature.
    constexpr qint64 kEndRecord = 22;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() < kEndRecord)
        return false;
    const qint64 end = file.size() - kEndRecord;
    if (!file.seek(end))
        return false;
    const QByteArray record = file.read(kEndRecord);
    if (record.size() != kEndRecord || littleEndian32(record.constData()) != 0x06054b50u)
        return false;
    const quint16 entries = littleEndian16(record.constData() + 10);
    const qint64 size = littleEndian32(record.constData() + 12);
    const qint64 offset = littleEndian32(record.constData() + 16);
    if (entries == 0 || offset + size != end || !file.seek(offset))
        return false;
    const QByteArray first = file.read(4);
    return first.size() == 4 && littleEndian32(first.constData()) == 0x02014b50u;
}

OpResult writeWorkbookFile(const QString &path, Dialogs &dialogs, const std::function<bool(const QString &)> &write)
{
    return writeUserFile(
        path, dialogs,
        [&](ScratchFile &scratch) { return write(scratch.path()) ? FileWrite::Written : FileWrite::Failed; },
        isWholeWorkbook);
}

bool isNumberValue(const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::ULongLong:
        return true;
    default:
        return false;
    }
}

void writeCell(lxw_worksheet *sheet, lxw_row_t row, lxw_col_t col, const QVariant &value, const CellFormats &formats)
{
    if (isNumberValue(value)) {
        worksheet_write_number(sheet, row, col, value.toDouble(), formats.number);
        return;
    }
    const QString text = value.toString();
    if (value.isNull() || text.isEmpty()) {
        worksheet_write_blank(sheet, row, col, formats.text);
        return;
    }
    if (text.size() == 10 && text.at(4) == u'-' && text.at(7) == u'-') {
        const QDate date = QDate::fromString(text, Qt::ISODate);
        if (date.isValid()) {
            lxw_datetime when = {date.year(), uint8_t(date.month()), uint8_t(date.day()), 0, 0, 0.0};
            worksheet_write_datetime(sheet, row, col, &when, formats.date);
            return;
        }
    }
    worksheet_write_string(sheet, row, col, text.toUtf8().constData(), formats.text);
}

int displayWidth(const QString &text)
{
    int width = 0;
    for (const QChar c : text)
        width += c.unicode() >= 0x2E80 ? 2 : 1;
    return width;
}

} // namespace tz
