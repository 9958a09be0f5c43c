// A ledger shown as it is computed, for the rows on screen, instead of
// written whole into its work table first. Its rows come in runs, one per
// period (the opening group, then months 1 to 12): the period's journal
// lines, each with its running balance, then the rows that follow them
// (month totals, the carry forward), computed when the ledger is opened.
// Where each period's lines lie is known from their counts through the
// code index; a block of line rows is read from its period's lines alone,
// its first balance the carried balance plus the lines before it.
#pragma once

#include <functional>
#include <optional>

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariantList>

#include "store/pagedrows.h"
#include "store/resultset.h"

namespace tz {
class Session;
}

namespace tz::periodrows {

// Period 0 is the opening group '800', periods 1..12 the months.
inline constexpr int kPeriods = 13;

// The first line ID of `period` and the first past it.
qint64 firstIdOf(int period);
qint64 pastIdOf(int period);

// "?first, ?first + 1, ..": one placeholder per code, for "科目代码 IN (..)".
QString placeholders(int first, int count);

// The journal lines of `codes` in each period, counted through the code
// index; nullopt when one of them has no ID inside the year's periods, or
// an ID whose last seven digits are `reserved` or more within a month,
// `openingReserved` or more within the opening group: those would sort
// among the rows that follow the period's lines (or stay where the build
// drops the lines), so such books are built instead.
std::optional<QList<int>> periodLineCounts(Session &session, const QStringList &codes, qint64 reserved,
                                           qint64 openingReserved = 10'000'000);

// What the lines of `codes` in each period add up to, from the kept
// balances: whole cents of debit minus credit, and the quantity received
// (no credit amount) minus the quantity issued (no debit amount). A
// period's carried balance is the sum of the periods before it.
struct PeriodNet
{
    qint64 cents = 0;
    double quantity = 0;
};
QList<PeriodNet> periodNets(Session &session, const QStringList &codes);

// The carried balances before each period (kPeriods + 1 entries, the last
// the balance after the year).
QList<PeriodNet> carried(const QList<PeriodNet> &nets);

struct Period
{
    int lines = 0;
    QList<ResultSet::Row> after; // the rows shown after the lines
};

// The periods of the ledger of one account whose month totals are keyed
// P9999998 and P9999999 (the detail and quantity ledgers), each with its
// line count; nullopt as for periodLineCounts.
std::optional<QList<Period>> accountPeriods(Session &session, const QString &code);

// Reads `n` line rows of `period` from its `offset`-th line on.
using LineReader = std::function<QList<ResultSet::Row>(int period, int offset, int n)>;

// The rows of every period in turn (kPeriods entries), then `last`; the
// line rows read a block at a time, in one read transaction a block.
PagedRows periodRows(Session &session, const QStringList &columns, const QList<Period> &periods,
                     const QList<ResultSet::Row> &last, LineReader read);

// The rows of `rows` whose column `idColumn` (an ID as text) begins with
// the period's key, into the periods' `after` lists, in their order.
void placeAfter(const QList<ResultSet::Row> &rows, QList<Period> &periods, int idColumn = 0);

} // namespace tz::periodrows
