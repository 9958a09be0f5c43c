// Rules shared by the chart-of-accounts operations: how a typed name is
// cleaned before it is stored, which directions and account classes exist,
// the refusal every check of the chart window shows, and the window's help.
#pragma once

#include <QString>

#include "store/dialogs.h"
#include "store/opresult.h"

namespace tz {

// The title of the chart window's own messages.
QString chartTitle();

// The title of the "fill in every field" refusals of the add steps.
QString chartInputTitle();

// A name as it is stored: every CR and LF and every double quote removed,
// then leading and trailing blanks. Single quotes and '%' stay; they are
// ordinary data.
QString cleanAccountName(const QString &typed);

// True for the two balance directions, "借" and "贷".
bool isBalanceDirection(const QString &direction);

// True for 0 (every class) and the account classes 1 to 5 (资产, 负债,
// 权益, 成本, 损益), the first digit of a top-level code.
bool isAccountClass(int accountClass);

// "<code>  此科目不存在!": the code names no account of the chart, or is no
// account code at all.
QString noSuchAccountText(const QString &code);

// "<code>  此科目不存在": what the opening balances and the postings say
// of a code the chart lacks.
QString noSuchChartAccountText(const QString &code);

// "<code>  不是明细科目," + what cannot be done: a parent account takes no
// opening figure and no journal line.
QString notDetailAccountText(const QString &code, const QString &refused);

// Shows `text` and returns a refusal carrying it. The chart window's
// messages are titled "TZ305提示" with the question icon unless a step
// names another title or a plain box.
OpResult refuseInChart(
    Dialogs &dialogs, const QString &text, const QString &title = chartTitle(), Icon icon = Icon::Question);

// The chart window's three-paragraph help text (简单说明).
QString chartHelpText();

} // namespace tz
