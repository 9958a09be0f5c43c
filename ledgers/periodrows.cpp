// Ledger rows computed by period for the rows on screen.
#include "ledgers/periodrows.h"

#include <algorithm>

#include "ledgers/ledgersql.h"
#include "store/keptbalances.h"
#include "store/session.h"
#include "store/transaction.h"

using namespace Qt::Literals::StringLiterals;

namespace tz::periodrows {

qint64 firstIdOf(int period)
{
    return ledgersql::kFirstOpeningId + period * ledgersql::kMonthIdSpan;
}

qint64 pastIdOf(int period)
{
    return firstIdOf(period + 1);
}

QString placeholders(int first, int count)
{
    QStringList marks;
    for (int i = 0; i < count; ++i)
        marks.append(u"?"_s + QString::number(first + i));
    return marks.join(u", "_s);
}

namespace {

QVariantList codeParams(const QStringList &codes)
{
    return QVariantList(codes.cbegin(), codes.cend());
}

QString linesOf(const QStringList &codes)
{
    return u"科目代码 IN ("_s + placeholders(1, int(codes.size())) + u")"_s;
}

} // namespace

std::optional<QList<int>> periodLineCounts(Session &session, const QStringList &codes, qint64 reserved,
                                           qint64 openingReserved)
{
    const QString in = linesOf(codes);
    const QString lo = u"?"_s + QString::number(codes.size() + 1);
    const QString hi = u"?"_s + QString::number(codes.size() + 2);
    // Lines outside the year's periods: a few seeks of the code index a code.
    const QString outsideSql = u"SELECT (SELECT count(*) FROM 分录表 WHERE %1 AND ID IS NULL) "
                               "+ (SELECT count(*) FROM 分录表 WHERE %1 AND ID < %2) "
                               "+ (SELECT count(*) FROM 分录表 WHERE %1 AND ID >= %3)"_s.arg(in, lo, hi);
    if (session.RunSql(outsideSql, codeParams(codes) + QVariantList{firstIdOf(0), pastIdOf(kPeriods - 1)})
            .value(0, 0)
            .toLongLong()
        > 0)
        return std::nullopt;
    const QString countSql = u"SELECT count(*) FROM 分录表 WHERE %1 AND ID >= %2 AND ID < %3"_s.arg(in, lo, hi);
    QList<int> counts;
    for (int period = 0; period < kPeriods; ++period) {
        const qint64 first = firstIdOf(period);
        const qint64 past = pastIdOf(period);
        const qint64 keys = first + (period == 0 ? openingReserved : reserved);
        if (keys < past && session.RunSql(countSql, codeParams(codes) + QVariantList{keys, past}).value(0, 0).toLongLong() > 0)
            return std::nullopt;
        counts.append(session.RunSql(countSql, codeParams(codes) + QVariantList{first, past}).value(0, 0).toInt());
    }
    return counts;
}

QList<PeriodNet> periodNets(Session &session, const QStringList &codes)
{
    // The kept balances (store/keptbalances.h) hold these per account and
    // period: whole cents, and the quantities of the lines without a credit
    // amount and of those without a debit amount.
    const ResultSet sums = session.RunSql(
        u"SELECT 期, sum(借方 - 贷方), total(借数) - total(贷数) FROM 科目月计 WHERE "_s + linesOf(codes)
            + u" AND 期 >= ?"_s + QString::number(codes.size() + 1) + u" AND 期 <= ?"_s
            + QString::number(codes.size() + 2) + u" GROUP BY 期"_s,
        codeParams(codes) + QVariantList{kOpeningPeriod, kLastPeriod});
    QList<PeriodNet> nets(kPeriods);
    for (const ResultSet::Row &row : sums.rows())
        nets[row.at(0).toInt() - kOpeningPeriod] = {row.at(1).toLongLong(), row.at(2).toDouble()};
    return nets;
}

QList<PeriodNet> carried(const QList<PeriodNet> &nets)
{
    QList<PeriodNet> before{PeriodNet{}};
    for (const PeriodNet &net : nets)
        before.append({before.last().cents + net.cents, before.last().quantity + net.quantity});
    return before;
}

std::optional<QList<Period>> accountPeriods(Session &session, const QString &code)
{
    const std::optional<QList<int>> counts = periodLineCounts(session, {code}, 9'999'998);
    if (!counts)
        return std::nullopt;
    QList<Period> periods(kPeriods);
    for (int period = 0; period < kPeriods; ++period)
        periods[period].lines = counts->at(period);
    return periods;
}

void placeAfter(const QList<ResultSet::Row> &rows, QList<Period> &periods, int idColumn)
{
    for (const ResultSet::Row &row : rows) {
        const int period = row.at(idColumn).toString().left(3).toInt() - 800;
        if (period >= 0 && period < periods.size())
            periods[period].after.append(row);
    }
}

PagedRows periodRows(Session &session, const QStringList &columns, const QList<Period> &periods,
                     const QList<ResultSet::Row> &last, LineReader read)
{
    QList<int> starts;
    int count = 0;
    for (const Period &period : periods) {
        starts.append(count);
        count += period.lines + int(period.after.size());
    }
    const int lastStart = count;
    count += int(last.size());
    return PagedRows(columns, count,
                     [session = &session, periods, last, starts, lastStart, read](int first, int n) {
                         QList<ResultSet::Row> rows;
                         rows.reserve(n);
                         const int end = first + n;
                         int r = first;
                         Transaction transaction(*session, Transaction::Mode::Read);
                         for (qsizetype p = 0; p < periods.size() && r < end; ++p) {
                             const Period &period = periods.at(p);
                             const int linesEnd = starts.at(p) + period.lines;
                             const int periodEnd = linesEnd + int(period.after.size());
                             if (r >= periodEnd)
                                 continue;
                             if (r < linesEnd) {
                                 const int take = std::min(end, linesEnd) - r;
                                 QList<ResultSet::Row> lines = read(int(p), r - starts.at(p), take);
                                 // A period that lost lines since it was counted
                                 // shows empty rows in their place.
                                 lines.resize(take);
                                 rows += lines;
                                 r += take;
                             }
                             for (; r < end && r < periodEnd; ++r)
                                 rows.append(period.after.at(r - linesEnd));
                         }
                         for (; r < end; ++r)
                             rows.append(last.at(r - lastStart));
                         transaction.commit();
                         return rows;
                     });
}

} // namespace tz::periodrows
