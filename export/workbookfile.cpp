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
    if (path.trimmed().isEmpty())
        return refuse(dialogs, u"请输入文件名"_s, u"TZ305提示"_s, Icon::Critical);
    bool replace = false;
    if (const OpResult target = confirmTarget(path, dialogs, replace); !target.isDone())
        return target;
    const QString scratch = scratchPathFor(path);
    if (!write(scratch) || QFileInfo(scratch).size() == 0) {
        QFile::remove(scratch);
        return fail(dialogs, u"无法写入文件: "_s + path);
    }
    const QString installed = installUserFile(scratch, path, replace);
    if (!installed.isEmpty()) {
        QFile::remove(scratch);
        return fail(dialogs, installed);
    }
    return OpResult::done();
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
