// The statement workbook: one evaluated statement written as an .xlsx in
// its statutory layout.
#pragma once

#include <QString>

#include "statements/statementtable.h"
#include "store/operation.h"

namespace tz {

// Writes the figures last evaluated into `table` (EvaluateStatement) for
// `month` to the workbook `path`: one sheet named after the statement; the
// spaced title ("资 产 负 债  表", "利  润  表", "现 金 流 量 表") at 22
// points merged over rows 1 and 2 (A1:H2, A1:D2); in row 3 "编制单位:" +
// company in A3 (merged A3:C3 on the balance sheet), the balance sheet's
// last day of the month as a date in E3 (format yyyy"年"m"月"d"日";@) and
// " 单位:元  " in H3, or the others' period "2024年3月   " in C3 and
// "  单位:元 " in D3; rows 1 to 4 centred; from row 4 the header row and
// one row per line with the visible columns only (captions, line numbers,
// amounts as numbers in "#,##0.00", empty where there is no figure), every
// cell bordered, the balance sheet's shrinking to fit; columns 16, 3, 11,
// 11, 16, 3, 11, 11 or 45, 4, 14, 14 characters wide; every row 20 points.
// Printed on one A4 page with the form number in the page header. The
// file goes through confirmTarget (an existing file only after Yes; never
// over an account set) and a scratch file renamed into place. A template
// without lines: "没有数据" (plain box, "TZ305提示"). After success: "报表已
// 导出: " + path (information, "TZ305").
OpResult WriteStatementWorkbook(Session &session, StatementTable table, int month, const QString &path,
                                Dialogs &dialogs);

} // namespace tz
