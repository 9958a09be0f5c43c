// The report data behind the statements: the work table 报表数据, rebuilt
// from the kept balances (store/keptbalances.h) for one month each time a
// statement is evaluated, and the formulas that pick figures out of it.
//
// 报表数据 holds one row per account code of every level (4, 7, 10, 13
// digits; a code's row adds up its sub-accounts) or per cash-flow item
// with a non-zero figure, plus a mirror row per row whose code is "-" and
// the code (built as text, so the item code 011 gives -011) and whose
// figures are negated, 方向 "TZ". A formula "1001+1002-1602" thus adds the
// rows 1001, 1002 and -1602.
#pragma once

#include <QHash>
#include <QSet>
#include <QString>

#include "store/money.h"

namespace tz {

class Session;

enum class ReportData {
    Accounts, // balance sheet and income statement
    CashFlow, // cash-flow statement
};

// Empties 报表数据 and fills it for `month` (1..12). Throws DbError; the
// caller holds the transaction.
//
// Accounts, from the journal's totals per account and period: per account of 科目表 at every level,
// debit minus credit (NULL amounts 0) of the lines whose code begins with
// it, rounded to the cent: 年初 the opening lines (ID 800…), 期末 the
// opening lines and every month up to `month`, 本期 the profit-and-loss
// transfer lines (结帐 2) of the month, 累计 those of every month up to it.
// Accounts whose four figures are all 0.00 get no row. 年初 and 期末 are
// negated for credit-direction accounts of classes 1 to 4 (code below
// 5000), 本期 and 累计 for codes above 5400 (expenses), so every normal
// figure is positive.
//
// CashFlow: row 888 with 累计 the cash (codes below 1100) of the opening
// lines and 本期 the cash before the month; row 999 with both the cash at
// the month's end; one row per 流代 with 本期 the month's 流金 and 累计
// the year's up to the month, where either is not 0.00. Rows 888 and 999
// are always there, so 999-888 is the change in cash even without an
// opening cash line.
void buildReportData(Session &session, int month, ReportData kind);

// The two figures a statement line takes from a row of 报表数据: 年初 and
// 期末 for a balance sheet, 本期 and 累计 otherwise.
struct FigurePair
{
    Cents first = 0;
    Cents second = 0;

    bool operator==(const FigurePair &) const = default;
};

// Every row of 报表数据 by code, with the pair of figures `kind` reads.
QHash<QString, FigurePair> readReportData(Session &session, bool balanceSheet);

// The codes a formula names: the text split before every "+" and "-", the
// "-" kept with the code after it ("1001+1002-1003" names 1001, 1002 and
// -1003). Codes are taken exactly as written, blanks included, a code
// written twice is one code, and an empty code (a leading "+" or "-")
// names nothing. An empty or NULL formula names nothing.
QSet<QString> formulaCodes(const QString &formula);

// True when the formula holds only digits, blanks, "+" and "-", the
// characters codes are written with.
bool isFormulaText(const QString &formula);

// The sum of the rows the formula names; codes without a row add nothing.
FigurePair evaluateFormula(const QHash<QString, FigurePair> &data, const QString &formula);

} // namespace tz
