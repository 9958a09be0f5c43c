// SQL pieces shared by the ledger builds: the period key of a journal line,
// the range of month lines, and the test "code lies under a prefix" written
// so that the journal's (科目代码, ID) index answers it.
#pragma once

#include <initializer_list>
#include <utility>

#include <QList>
#include <QString>
#include <QVariantList>
#include <QtGlobal>

namespace tz {
class Session;
}

namespace tz::ledgersql {

// First line ID of month 1: every ID below it (the '800' group) is an
// opening-balance line, every ID from it on a month line.
inline constexpr qint64 kFirstMonthId = 8'010'000'000;
// The IDs of one period: period P's lines lie in [P0000000, P+1 0000000).
inline constexpr qint64 kMonthIdSpan = 10'000'000;
// The first ID of the opening group '800', and the first ID past month 12.
inline constexpr qint64 kFirstOpeningId = kFirstMonthId - kMonthIdSpan;
inline constexpr qint64 kPastYearId = kFirstMonthId + 12 * kMonthIdSpan;
// The period key of month 1 as a number (ID / 10000000).
inline constexpr int kFirstMonthPeriod = 801;

// The period key of a journal line: '800' opening, '801'..'812' months.
inline const QString kPeriod = QStringLiteral("substr(ID, 1, 3)");

// The voucher reference of a line as the ledgers show it: 字号 "-" 号码,
// missing parts as empty text (an opening line shows "-").
inline const QString kReference = QStringLiteral("ifnull(字号, '') || '-' || ifnull(号码, '')");

// Running balances add whole cents: the books store amounts rounded to the
// cent, so round(x * 100) is exact, a sum of whole numbers below 2^53 is
// exact, and cents / 100.0 is the same double as the amount written with
// two decimals. This is the figure round_half_up(sum, 2) gives, without a
// decimal rounding per row (which costs more than the rest of a build).
// netCents is debit minus credit of a line in cents.
inline const QString kNetCents =
    QStringLiteral("(round(ifnull(借方金额, 0) * 100) - round(ifnull(贷方金额, 0) * 100))");
// The quantity a line adds to a quantity balance: a receipt's (no credit
// amount) in, an issue's (no debit amount) out.
inline const QString kQuantityChange =
    QStringLiteral("CASE WHEN 贷方金额 IS NULL THEN ifnull(数量, 0) ELSE 0 END "
                   "- CASE WHEN 借方金额 IS NULL THEN ifnull(数量, 0) ELSE 0 END");
inline QString centsOf(const QString &column)
{
    return QStringLiteral("round(ifnull(%1, 0) * 100)").arg(column);
}

// "(SELECT rowid AS r, .. AS 余额 FROM 分录表 WHERE `where`)": each line the
// filter keeps, by rowid, with the running balance up to and including it
// (whole cents of debit minus credit summed in ID order, as an amount; IDs
// are unique, so RANGE and ROWS agree). Summed over the code index alone,
// so a ledger then reads each line once by its rowid.
QString runningBalances(const QString &where);

// The 方向 column beside `balance`: '平' when it lies below 0.009 either
// way, else the account's direction `direction` (a bound parameter).
QString directionShown(const QString &balance, const QString &direction);

// `balance` as the account's direction `direction` shows it: negated for
// '贷'.
QString signedBalance(const QString &balance, const QString &direction);

// "column starts with the prefix bound as ?index and is at least minExtra
// characters longer"; ?(index + 1) must hold upperBound(prefix). The range
// on the column lets the index find the rows; the exact prefix test keeps
// the meaning (codes are digits, so every code under the prefix also lies
// inside the range).
QString underPrefix(const QString &column, int index, int minExtra = 0);
QString upperBound(const QString &prefix);

// "WITH 月计 AS (..) ": one row per period 期 ('801'..'812') that has month
// lines of the account ?1 (IDs from the first month ID ?2), each column of `sums` ("aggregate" and its
// name) over the period's lines. Grouping by period sorts the account's
// lines; when `ranged` (monthLinesRanged), each period's lines are instead
// the ID range of the code index, summed where they lie. Both give the
// same rows.
QString monthSums(const QList<std::pair<QString, QString>> &sums, bool ranged);
// The same rows from the kept balances (科目月计, store/keptbalances.h):
// one row per period from ?2 (the first month's, 801) on that has lines of
// the account ?1, each column of `sums` an expression over that row's
// columns (借方 .. 转贷) and its name; no journal line is read.
QString keptMonthSums(const QList<std::pair<QString, QString>> &sums);
// True when every month line of the account has a period 801..812 read
// off the ID range (the last ID below kPastYearId; one seek of the index).
bool monthLinesRanged(Session &session, const QString &code);


} // namespace tz::ledgersql
