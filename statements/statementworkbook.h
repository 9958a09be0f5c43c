// The statement workbook: one evaluated statement written as an .xlsx in
// its statutory layout.
#pragma once

#include <QString>

#include "statements/statementtable.h"
#include "store/opresult.h"

namespace tz {

class Dialogs;
class Session;

// Writes the figures last evaluated into `table` (EvaluateStatement) for
// `month` to the workbook `path`: one sheet named after the statement, the
// title merged across the table, the form number, "编制单位：" + company,
// the date (balance sheet: the month's last day) or the period (the others:
// year and month), "单位：元"; then the header row and one row per line
// with the visible columns only (captions, line numbers, amounts as numbers
// in "#,##0.00", empty where there is no figure), every cell bordered.
// Printed on one A4 page. The file goes through confirmTarget (an existing
// file only after Yes; never over an account set) and a scratch file
// renamed into place. A template without lines: "没有数据" (plain box,
// "TZ305提示"). After success: "报表已导出: " + path (information, "TZ305").
OpResult WriteStatementWorkbook(Session &session, StatementTable table, int month, const QString &path,
                                Dialogs &dialogs);

// A default file name for the workbook: short name + statement title +
// month, e.g. "华新资产负债表2024年3月.xlsx".
QString statementWorkbookName(const QString &shortName, StatementTable table, int year, int month);

} // namespace tz
