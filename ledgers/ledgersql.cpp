// SQL pieces shared by the ledger builds.
#include "ledgers/ledgersql.h"

#include <QStringList>

#include "store/session.h"

using namespace Qt::Literals::StringLiterals;

namespace tz::ledgersql {

QString underPrefix(const QString &column, int index, int minExtra)
{
    const QString prefix = u"?"_s + QString::number(index);
    const QString bound = u"?"_s + QString::number(index + 1);
    return u"(%1 >= %2 AND %1 < %3 AND substr(%1, 1, length(%2)) = %2 AND length(%1) >= length(%2) + %4)"_s.arg(
        column, prefix, bound, QString::number(minExtra));
}

QString runningBalances(const QString &where)
{
    return u"(SELECT rowid AS r, sum("_s + kNetCents + u") OVER (ORDER BY ID) / 100.0 AS 余额 FROM 分录表 WHERE "_s
        + where + u")"_s;
}

QString directionShown(const QString &balance, const QString &direction)
{
    return u"CASE WHEN abs(%1) < 0.009 THEN '平' ELSE %2 END"_s.arg(balance, direction);
}

QString signedBalance(const QString &balance, const QString &direction)
{
    return u"CASE WHEN %2 = '贷' THEN 0.0 - %1 ELSE %1 END"_s.arg(balance, direction);
}

QString upperBound(const QString &prefix)
{
    // Every text that begins with the prefix sorts below prefix + U+FFFF.
    return prefix + QChar(0xFFFF);
}

QString monthSums(const QList<std::pair<QString, QString>> &sums, bool ranged)
{
    QStringList columns;
    for (const auto &[sum, name] : sums)
        columns.append(sum + u" AS "_s + name);
    if (!ranged) {
        return u"WITH 月计 AS (SELECT "_s + kPeriod + u" AS 期, "_s + columns.join(u", "_s)
            + u" FROM 分录表 WHERE 科目代码 = ?1 AND ID >= ?2 GROUP BY 期) "_s;
    }
    // One aggregate per month over its ID range (from ?2 on), all sums in
    // one pass of the range; a month without lines gives no row.
    QStringList months;
    for (int month = 1; month <= 12; ++month) {
        const qint64 offset = (month - 1) * kMonthIdSpan;
        months.append(u"SELECT '%1' AS 期, %2 FROM 分录表 WHERE 科目代码 = ?1 AND ID >= ?2 + %3 AND ID < ?2 + %4 "
                      "HAVING count(*) > 0"_s.arg(QString::number(800 + month), columns.join(u", "_s),
                                                  QString::number(offset), QString::number(offset + kMonthIdSpan)));
    }
    return u"WITH 月计 AS ("_s + months.join(u" UNION ALL "_s) + u") "_s;
}

QString keptMonthSums(const QList<std::pair<QString, QString>> &sums)
{
    QStringList columns;
    for (const auto &[sum, name] : sums)
        columns.append(sum + u" AS "_s + name);
    return u"WITH 月计 AS (SELECT CAST(期 AS TEXT) AS 期, "_s + columns.join(u", "_s)
        + u" FROM 科目月计 WHERE 科目代码 = ?1 AND 期 >= ?2) "_s;
}

bool monthLinesRanged(Session &session, const QString &code)
{
    return session.RunSql(u"SELECT ifnull(max(ID), 0) < ?2 FROM 分录表 WHERE 科目代码 = ?1"_s, {code, kPastYearId})
        .value(0, 0)
        .toBool();
}

} // namespace tz::ledgersql
