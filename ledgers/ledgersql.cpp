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

QString upperBound(const QString &prefix)
{
    // Every text that begins with the prefix sorts below prefix + U+FFFF.
    return prefix + QChar(0xFFFF);
}

QString monthSums(const QList<std::pair<QString, QString>> &sums, bool ranged)
{
    QStringList columns;
    if (!ranged) {
        for (const auto &[sum, name] : sums)
            columns.append(sum + u" AS "_s + name);
        return u"WITH 月计 AS (SELECT "_s + kPeriod + u" AS 期, "_s + columns.join(u", "_s)
            + u" FROM 分录表 WHERE 科目代码 = ?1 AND ID >= ?2 GROUP BY 期) "_s;
    }
    const QString range = u" FROM 分录表 WHERE 科目代码 = ?1 AND ID >= 起 AND ID < 起 + 10000000"_s;
    for (const auto &[sum, name] : sums)
        columns.append(u"(SELECT "_s + sum + range + u") AS "_s + name);
    return u"WITH RECURSIVE 月界 (期, 起) AS (SELECT '801', ?2 UNION ALL "
           "SELECT CAST(期 + 1 AS TEXT), 起 + 10000000 FROM 月界 WHERE 期 < '812'), "
           "月计 AS (SELECT 期, "_s
        + columns.join(u", "_s) + u" FROM 月界 WHERE EXISTS (SELECT 1"_s + range + u")) "_s;
}

bool monthLinesRanged(Session &session, const QString &code)
{
    return session.RunSql(u"SELECT ifnull(max(ID), 0) < 8130000000 FROM 分录表 WHERE 科目代码 = ?"_s, {code})
        .value(0, 0)
        .toBool();
}

} // namespace tz::ledgersql
