// Evaluating a statement: its template's formulas against the report data
// of one month, the figures written back into the template rows (printing
// and the workbook read them there), and the rows as the window shows them.
#pragma once

#include <optional>

#include <QList>
#include <QString>
#include <QVariant>

#include "statements/statementtable.h"
#include "store/operation.h"
#include "store/resultset.h"

namespace tz {

struct PendingRefusal;

// Evaluates `table` for `month` in one transaction: rebuilds 报表数据 (the
// account data for balance sheets and income statements, the cash-flow
// data for 现流表) and writes every template row's figures: 期末余额1/
// 年初余额1 from 公式1 and 期末余额2/年初余额2 from 公式2 (期末 and 年初
// of the report data), or 本月金额/本年累计金额 from 公式 (本期 and 累计).
// A figure of 0.00 is written as NULL.
//
// No month (nothing or not 1..12): "请选择月份" (critical, "TZ305"); the
// statement is evaluated against empty data, so every figure becomes NULL.
// A formula holding anything but digits, blanks, "+" and "-": nothing is
// written and the plain box titled "错误提示" says
// "行次N公式有误: F" + "\n\n" + "请检查：多个科目代码时可以连加或连减。如: 1001+1002-1003"
// (101+102-103 for 现流表).
// After a cash-flow evaluation, always: "1.如果本月栏23行值≠【 X 】,请检查分录或检查第2条提示。"
// + "\n\n" + "2.如果年初货币资金为空,请装入年初数:库存现金=0。" (exclamation,
// "TZ305友情提示"), X the month's change in cash (999-888) as "#,#0.00".
// Given `deferredCheck`, that message is left there instead of shown, for
// a window to show once the new statement is on screen.
OpResult EvaluateStatement(Session &session, StatementTable table, std::optional<int> month, Dialogs &dialogs,
                           PendingRefusal *deferredCheck = nullptr);

// The template rows as the display grid shows them, in line order (行次1 or
// 行次): balance sheets 序号, 资产, 行次1, 公式1, 期末余额1, 年初余额1,
// 负债及所有者权益, 行次2, 公式2, 期末余额2, 年初余额2; the others 序号,
// 项目, 行次, 公式, 本年累计金额, 本月金额. 序号 is the row number 1, 2, …
OpResult ReadStatement(Session &session, StatementTable table, ResultSet &rows, Dialogs &dialogs);

// The display grid's header texts and column widths in twips (formula
// columns 0: hidden).
QStringList statementHeaders(StatementTable table);
QList<int> statementColumnWidths(StatementTable table);

// Columns of ReadStatement's rows that hold amounts.
QList<int> statementAmountColumns(StatementTable table);

} // namespace tz
