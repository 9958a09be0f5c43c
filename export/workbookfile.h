// What the workbooks of the query window share: the file written through a
// scratch file renamed into place, and one cell written by the type of its
// value.
#pragma once

#include <functional>

#include <QString>
#include <QVariant>

#include <xlsxwriter.h>

#include "store/opresult.h"

namespace tz {

class Dialogs;

// Writes a workbook the user named through writeUserFile (store/safefile):
// `write` fills the scratch file and returns false when it could not; the
// file is installed only when isWholeWorkbook.
OpResult writeWorkbookFile(const QString &path, Dialogs &dialogs, const std::function<bool(const QString &)> &write);

// True when the file at `path` is a whole zip archive as libxlsxwriter
// writes it: it ends with the archive's end record, whose central directory
// lies right before it.
bool isWholeWorkbook(const QString &path);

// The formats a cell is written with, by the kind of its value.
struct CellFormats
{
    lxw_format *text = nullptr;
    lxw_format *number = nullptr;
    lxw_format *date = nullptr;
};

// Writes `value` at (row, col): a number as a number, a 'yyyy-MM-dd' text
// as a date, other text as text; NULL and empty text as a blank cell (with
// the text format, so a ruled sheet keeps its borders).
void writeCell(lxw_worksheet *sheet, lxw_row_t row, lxw_col_t col, const QVariant &value, const CellFormats &formats);

// True for a value written as a number.
bool isNumberValue(const QVariant &value);

// The width a text takes in a column, in characters: Chinese characters
// count two.
int displayWidth(const QString &text);

} // namespace tz
