// Editing the statement templates: captions, line numbers (行次) and
// formulas of their rows. Figures are left to the next evaluation.
#pragma once

#include <optional>

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

#include "statements/statementtable.h"
#include "store/operation.h"
#include "store/resultset.h"

namespace tz {

// The editable columns of a template, in the editing grid's order:
// 资产, 行次1, 公式1, 负债及所有者权益, 行次2, 公式2 for balance sheets;
// 项目, 行次, 公式 for the others.
QStringList templateColumns(StatementTable table);

// The rows for the editing grid in line order; the first column of each
// row is its rowid (hidden), the editable columns follow.
OpResult ReadTemplateRows(Session &session, StatementTable table, ResultSet &rows, Dialogs &dialogs);

// Saves one edited row (`values` in templateColumns order) of the row with
// `rowid`, in one transaction that makes the checks against the other rows:
//  - a line number is required where the side has a caption or a formula
//    (行次1 and 行次 always): "行次不能为空";
//  - line numbers are whole numbers: "行次只能是整数: T";
//  - no other line of the template has the same number: "行次N重复";
//  - a formula holds only codes of digits joined by "+" and "-" (a sign may
//    stand before the first code, none at the end, no blank in a code):
//    "公式只能录入科目代码,代码之间用加号或减号相连: F";
//  - every code names something the statement sums: an account of 科目表
//    ("公式中的代码不在科目表中: C"), for the cash-flow statement an item of
//    现流, 888 or 999 ("公式中的代码不是现金流量项目: C").
// Each refusal is critical, "TZ305提示", and leaves the row as it was.
OpResult SaveTemplateRow(Session &session, StatementTable table, qint64 rowid, const QStringList &values,
                         Dialogs &dialogs);

// Changes the caption and/or formula of line `line` (either side of a
// balance sheet). "没有行次N" (critical) when no line has that number; the
// formula is checked as SaveTemplateRow checks it, its codes in the same
// transaction as the write.
OpResult SetTemplateLine(Session &session, StatementTable table, int line, const std::optional<QString> &caption,
                         const std::optional<QString> &formula, Dialogs &dialogs);

// Every line of the template as 行次, 项目, 公式 in line order (both sides
// of a balance sheet).
OpResult ListTemplateLines(Session &session, StatementTable table, QList<QStringList> &lines, Dialogs &dialogs);

} // namespace tz
