// The kept balances: reading, rebuilding and checking them.
#include "store/keptbalances.h"

#include "store/connection.h"
#include "store/dberror.h"
#include "store/session.h"

using namespace Qt::Literals::StringLiterals;

namespace tz {

namespace {

// A line's whole cents of `column`, as the triggers count them.
QString cents(const QString &column)
{
    return u"CAST(round(ifnull(%1, 0) * 100) AS INTEGER)"_s.arg(column);
}

// The journal's totals in the columns of 科目月计, grouped as the triggers
// keep them. total() for the amounts: a damaged amount far out of range
// must not stop a check with an integer overflow.
QString journalAccountTotals()
{
    return u"SELECT ifnull(科目代码, '') AS 科目代码, ifnull(ID / 10000000, -1) AS 期, count(*) AS 行数, "
           "total(%1) AS 借方, total(%2) AS 贷方, count(借方金额) AS 借笔, count(贷方金额) AS 贷笔, "
           "total(CASE WHEN 借方金额 IS NULL THEN -ifnull(数量, 0) ELSE ifnull(数量, 0) END) AS 净数, "
           "total(CASE WHEN 贷方金额 IS NULL THEN ifnull(数量, 0) ELSE 0 END) AS 借数, "
           "total(贷方金额 IS NULL AND 数量 IS NOT NULL) AS 借数笔, "
           "total(CASE WHEN 借方金额 IS NULL THEN ifnull(数量, 0) ELSE 0 END) AS 贷数, "
           "total(借方金额 IS NULL AND 数量 IS NOT NULL) AS 贷数笔, "
           "total(CASE WHEN 结帐 = 2 THEN %1 ELSE 0 END) AS 转借, total(CASE WHEN 结帐 = 2 THEN %2 ELSE 0 END) AS 转贷 "
           "FROM 分录表 GROUP BY 1, 2"_s.arg(cents(u"借方金额"_s), cents(u"贷方金额"_s));
}

QString journalFlowTotals()
{
    return u"SELECT 流代, ifnull(ID / 10000000, -1) AS 期, count(*) AS 行数, total(%1) AS 流金 FROM 分录表 "
           "WHERE ifnull(流代, '') <> '' GROUP BY 1, 2"_s.arg(cents(u"流金"_s));
}

QString periodText(const QVariant &period)
{
    const int p = period.toInt();
    if (p == kOpeningPeriod)
        return u"年初"_s;
    if (p > kOpeningPeriod && p <= kLastPeriod)
        return QString::number(p - kOpeningPeriod) + u"月"_s;
    return u"期"_s + period.toString();
}

QString centsText(const QVariant &value)
{
    return value.isNull() ? u"无"_s : centsToText(qint64(value.toDouble()));
}

// The rows of `kept` and `journal` (each with the key columns first) that
// differ, quantities compared to six decimals, with the two amounts named
// in `figures` of each side: key, kept figures, journal figures.
QList<QVariantList> differences(Session &session, const QString &kept, const QString &journal, const QString &key,
                                const QStringList &figures)
{
    QStringList keptFigures;
    QStringList journalFigures;
    for (const QString &figure : figures) {
        keptFigures << u"k."_s + figure;
        journalFigures << u"j."_s + figure;
    }
    const QString sql =
        u"WITH k AS (%1), j AS (%2), d AS (SELECT %3 FROM (SELECT * FROM k EXCEPT SELECT * FROM j) "
        "UNION SELECT %3 FROM (SELECT * FROM j EXCEPT SELECT * FROM k)) "
        "SELECT d.*, %4, %5 FROM d LEFT JOIN k USING (%3) LEFT JOIN j USING (%3) ORDER BY 1, 2 LIMIT 50"_s.arg(
            kept, journal, key, keptFigures.join(u", "_s), journalFigures.join(u", "_s));
    return session.RunSql(sql).rows();
}

// Quantities to six decimals, so sums added in another order agree.
QString roundedQuantities(const QString &rows)
{
    return u"SELECT 科目代码, 期, 行数, 借方, 贷方, 借笔, 贷笔, round(净数, 6) AS 净数, round(借数, 6) AS 借数, 借数笔, "
           "round(贷数, 6) AS 贷数, 贷数笔, 转借, 转贷 FROM ("_s
        + rows + u")"_s;
}

} // namespace

KeptTotals keptTotals(Session &session, const QString &codePrefix, int firstPeriod, int lastPeriod)
{
    // Every code under the prefix sorts from the prefix up to the prefix
    // followed by U+FFFF, so the key's range finds the rows.
    const ResultSet row = session.RunSql(
        u"SELECT ifnull(sum(行数), 0), ifnull(sum(借方), 0), ifnull(sum(贷方), 0), ifnull(sum(借笔), 0), "
        "ifnull(sum(贷笔), 0), total(净数), total(借数), total(贷数), ifnull(sum(转借), 0), ifnull(sum(转贷), 0) "
        "FROM 科目月计 WHERE 科目代码 >= ?1 AND 科目代码 < ?2 AND substr(科目代码, 1, length(?1)) = ?1 "
        "AND 期 BETWEEN ?3 AND ?4"_s,
        {codePrefix, codePrefix + QChar(0xFFFF), firstPeriod, lastPeriod});
    // The columns in the order of KeptTotals' members.
    const auto whole = [&row](int column) { return row.value(0, column).toLongLong(); };
    const auto real = [&row](int column) { return row.value(0, column).toDouble(); };
    return {whole(0), whole(1), whole(2), whole(3), whole(4), real(5), real(6), real(7), whole(8), whole(9)};
}

void rebuildKeptBalances(Connection &connection)
{
    connection.execute(u"DELETE FROM 科目月计"_s);
    connection.execute(u"DELETE FROM 流量月计"_s);
    connection.execute(u"INSERT INTO 科目月计 "_s + journalAccountTotals());
    connection.execute(u"INSERT INTO 流量月计 "_s + journalFlowTotals());
}

void emptyJournal(Session &session)
{
    TriggersOff off(session.mainConnection());
    session.execSql(u"DELETE FROM 分录表"_s);
    session.execSql(u"DELETE FROM 科目月计"_s);
    session.execSql(u"DELETE FROM 流量月计"_s);
}

void shadowKeptBalances(Connection &connection)
{
    if (connection.query(u"SELECT 1 FROM main.sqlite_master WHERE name = '科目月计'"_s).recordCount() > 0)
        return;
    try {
        connection.executeScript(u"CREATE TEMP TABLE 科目月计 AS "_s + journalAccountTotals());
        connection.executeScript(u"CREATE TEMP TABLE 流量月计 AS "_s + journalFlowTotals());
    } catch (const DbError &) {
        // A journal that does not read: the readers report it when they run.
    }
}

QStringList keptBalanceProblems(Session &session)
{
    QStringList problems;
    // A write-protected older set keeps none: nothing to compare.
    if (session.RunSql(u"SELECT 1 FROM main.sqlite_master WHERE name = '科目月计'"_s).eof())
        return problems;
    const QList<QVariantList> accounts =
        differences(session, roundedQuantities(u"SELECT * FROM 科目月计"_s), roundedQuantities(journalAccountTotals()),
                    u"科目代码, 期"_s, {u"借方"_s, u"贷方"_s});
    for (const QVariantList &r : accounts)
        problems << u"科目%1 %2的保存余额与分录不符: 保存借方 %3、贷方 %4, 分录借方 %5、贷方 %6"_s.arg(
            r.at(0).toString(), periodText(r.at(1)), centsText(r.at(2)), centsText(r.at(3)), centsText(r.at(4)),
            centsText(r.at(5)));
    const QList<QVariantList> flows = differences(session, u"SELECT * FROM 流量月计"_s, journalFlowTotals(),
                                                  u"流代, 期"_s, {u"流金"_s});
    for (const QVariantList &r : flows)
        problems << u"现金流量项目%1 %2的保存金额与分录不符: 保存 %3, 分录 %4"_s.arg(
            r.at(0).toString(), periodText(r.at(1)), centsText(r.at(2)), centsText(r.at(3)));
    return problems;
}

} // namespace tz
