// The file and cell helpers of the query window's workbooks.
#include "export/workbookfile.h"

#include <QDate>
#include <QFile>
#include <QFileInfo>

#include "store/dialogs.h"
#include "store/guard.h"
#include "store/safefile.h"

using namespace Qt::Literals::StringLiterals;

namespace tz {

OpResult writeWorkbookFile(const QString &path, Dialogs &dialogs, const std::function<bool(const QString &)> &write)
{
    return writeUserFile(path, dialogs,
                         [&](const QString &scratch) { return write(scratch) ? FileWrite::Written : FileWrite::Failed; });
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
