// The fixed-asset cumulative ledger in 固累式.
#include "ledgers/fixedassetledger.h"

#include <algorithm>

#include "ledgers/ledgersql.h"
#include "ledgers/periodrows.h"
#include "store/dialogs.h"
#include "store/guard.h"
#include "store/money.h"
#include "store/session.h"
#include "store/worktables.h"
#include "store/transaction.h"

using namespace Qt::Literals::StringLiterals;

namespace tz {

namespace {

using ledgersql::kFirstMonthId;

const QStringList kAssetClasses = {u"1601"_s, u"1701"_s, u"1621"_s};

// Opening balance of an account (?1) on its debit side: the opening lines
// (IDs below ?2) debit minus credit.
const QString kOpeningDebitSql =
    u"SELECT total(借方金额) - total(贷方金额) FROM 分录表 WHERE 科目代码 = ?1 AND ID < ?2"_s;

const QString kOpeningRowSql =
    u"INSERT INTO 固累式 (ID, 摘要说明, 原值, 累计折旧, 净值) VALUES ('8000000000', '年初余额', ?, ?, ?)"_s;

// The month lines of the asset (?3) and of its companion (?4), in ID
// order, each with the running values after it: 原值 = opening cost (?1,
// in cents) + asset debits - credits, 累计折旧 = opening depreciation (?2,
// in cents) + companion credits - debits, 净值 = 原值 - 累计折旧, all in
// whole cents. ?5 is the first month ID.
const QString kLinesSql =
    u"INSERT INTO 固累式 (科目代码, ID, 日期, 字号, 号码, 摘要说明, 借方金额, 贷方金额, 原值, 借方金额1, 贷方金额1, "
    "累计折旧, 净值) "
    "SELECT 科目代码, CAST(ID AS TEXT), 日期, 字号, 号码, 摘要说明, 借, 贷, 原值分 / 100.0, 借1, 贷1, 累计分 / 100.0, "
    "(原值分 - 累计分) / 100.0 "
    "FROM (SELECT *, ?1 + sum("_s + ledgersql::centsOf(u"借"_s) + u" - "_s + ledgersql::centsOf(u"贷"_s)
    + u") OVER w AS 原值分, ?2 + sum("_s + ledgersql::centsOf(u"贷1"_s) + u" - "_s + ledgersql::centsOf(u"借1"_s)
    + u") OVER w AS 累计分 "
    "FROM (SELECT 科目代码, ID, 日期, "_s + ledgersql::kReference + u" AS 字号, 号码, 摘要说明, "
    "借方金额 AS 借, 贷方金额 AS 贷, NULL AS 借1, NULL AS 贷1 FROM 分录表 WHERE 科目代码 = ?3 AND ID >= ?5 "
    "UNION ALL "
    "SELECT 科目代码, ID, 日期, "_s + ledgersql::kReference + u", 号码, 摘要说明, "
    "NULL, NULL, 借方金额, 贷方金额 FROM 分录表 WHERE 科目代码 = ?4 AND ID >= ?5) "
    "WINDOW w AS (ORDER BY ID))"_s;

// Month totals (prefix + 9999998) and year-to-date totals (prefix +
// 9999999) of the four movement columns of the month lines just written.
const QString kTotalsSql =
    u"WITH 月计 AS (SELECT substr(ID, 1, 3) AS 期, round_half_up(sum(借方金额), 2) AS 借, "
    "round_half_up(sum(贷方金额), 2) AS 贷, round_half_up(sum(借方金额1), 2) AS 借1, "
    "round_half_up(sum(贷方金额1), 2) AS 贷1 FROM 固累式 WHERE substr(ID, 1, 3) > '800' GROUP BY 期) "
    "INSERT INTO 固累式 (ID, 摘要说明, 借方金额, 贷方金额, 借方金额1, 贷方金额1) "
    "SELECT 期 || '9999998', ' 本月合计', 借, 贷, 借1, 贷1 FROM 月计 "
    "UNION ALL "
    "SELECT 期 || '9999999', ' 本年累计', round_half_up(sum(借) OVER w, 2), round_half_up(sum(贷) OVER w, 2), "
    "round_half_up(sum(借1) OVER w, 2), round_half_up(sum(贷1) OVER w, 2) FROM 月计 WINDOW w AS (ORDER BY 期)"_s;

// The values after the last line, or the opening row when there is none.
const QString kFinalValuesSql =
    u"SELECT 原值, 累计折旧, 净值 FROM 固累式 WHERE 原值 IS NOT NULL ORDER BY ID DESC LIMIT 1"_s;

const QString kCarryForwardSql =
    u"INSERT INTO 固累式 (ID, 摘要说明, 原值, 累计折旧, 净值) VALUES ('813', '结转下年', ?, ?, ?)"_s;

// For the rows computed on screen: the columns of 固累式, and ?7 month
// lines of the asset (?3) and its companion (?4) with IDs from ?5 below ?6,
// from the ?8-th on, with the running values as kLinesSql gives them, the
// values carried into the month ?1 and ?2 (cents). The running sums are
// taken over the code index; only the lines shown are read from the table.
const QString kColumnNames =
    u"科目代码, ID, 日期, 字号, 号码, 摘要说明, 借方金额, 贷方金额, 原值, 借方金额1, 贷方金额1, 累计折旧, 净值"_s;
const QString kPeriodLinesSql =
    u"SELECT a.科目代码 AS 科目代码, CAST(a.ID AS TEXT) AS ID, a.日期 AS 日期, "_s
    + ledgersql::kReference + u" AS 字号, a.号码 AS 号码, a.摘要说明 AS 摘要说明, "
    "CASE WHEN a.科目代码 = ?3 THEN a.借方金额 END AS 借方金额, CASE WHEN a.科目代码 = ?3 THEN a.贷方金额 END AS 贷方金额, "
    "s.原值分 / 100.0 AS 原值, CASE WHEN a.科目代码 = ?4 THEN a.借方金额 END AS 借方金额1, "
    "CASE WHEN a.科目代码 = ?4 THEN a.贷方金额 END AS 贷方金额1, s.累计分 / 100.0 AS 累计折旧, "
    "(s.原值分 - s.累计分) / 100.0 AS 净值 "
    "FROM (SELECT r, 原值分, 累计分 FROM (SELECT rowid AS r, ID, ?1 + sum(CASE WHEN 科目代码 = ?3 THEN "_s
    + ledgersql::centsOf(u"借方金额"_s) + u" - "_s + ledgersql::centsOf(u"贷方金额"_s)
    + u" ELSE 0 END) OVER w AS 原值分, ?2 + sum(CASE WHEN 科目代码 = ?4 THEN "_s + ledgersql::centsOf(u"贷方金额"_s)
    + u" - "_s + ledgersql::centsOf(u"借方金额"_s)
    + u" ELSE 0 END) OVER w AS 累计分 FROM 分录表 WHERE 科目代码 IN (?3, ?4) AND ID >= ?5 AND ID < ?6 "
      "WINDOW w AS (ORDER BY ID)) ORDER BY ID LIMIT ?7 OFFSET ?8) s JOIN 分录表 a ON a.rowid = s.r ORDER BY a.ID"_s;

// The month totals kTotalsSql writes, in the columns of 固累式, from the
// month lines of the asset (?1) and its companion (?2) (IDs from ?3) as
// the code index holds them.
const QString kJournalTotalsSql =
    u"WITH 月计 AS (SELECT substr(ID, 1, 3) AS 期, "
    "round_half_up(sum(CASE WHEN 科目代码 = ?1 THEN 借方金额 END), 2) AS 借, "
    "round_half_up(sum(CASE WHEN 科目代码 = ?1 THEN 贷方金额 END), 2) AS 贷, "
    "round_half_up(sum(CASE WHEN 科目代码 = ?2 THEN 借方金额 END), 2) AS 借1, "
    "round_half_up(sum(CASE WHEN 科目代码 = ?2 THEN 贷方金额 END), 2) AS 贷1 "
    "FROM 分录表 WHERE 科目代码 IN (?1, ?2) AND ID >= ?3 GROUP BY 期) "
    "SELECT NULL AS 科目代码, 期 || '9999998' AS ID, NULL AS 日期, NULL AS 字号, NULL AS 号码, ' 本月合计' AS 摘要说明, "
    "借 AS 借方金额, 贷 AS 贷方金额, NULL AS 原值, 借1 AS 借方金额1, 贷1 AS 贷方金额1, NULL AS 累计折旧, NULL AS 净值 "
    "FROM 月计 "
    "UNION ALL "
    "SELECT NULL, 期 || '9999999', NULL, NULL, NULL, ' 本年累计', round_half_up(sum(借) OVER w, 2), "
    "round_half_up(sum(贷) OVER w, 2), NULL, round_half_up(sum(借1) OVER w, 2), round_half_up(sum(贷1) OVER w, 2), "
    "NULL, NULL FROM 月计 WINDOW w AS (ORDER BY 期) ORDER BY ID"_s;

// The opening 原值 and 累计折旧 of the asset and its companion, in cents.
std::pair<Cents, Cents> openingValues(Session &session, const QString &code, const QString &companion)
{
    const Cents cost = roundToCents(session.RunSql(kOpeningDebitSql, {code, kFirstMonthId}).value(0, 0).toDouble());
    const Cents depreciation =
        -roundToCents(session.RunSql(kOpeningDebitSql, {companion, kFirstMonthId}).value(0, 0).toDouble());
    return {cost, depreciation};
}

// The carry-forward row for the final values, when any is not zero.
bool anyValue(const QVariantList &values)
{
    return std::any_of(values.cbegin(), values.cend(), [](const QVariant &v) { return roundToCents(v.toDouble()) != 0; });
}

} // namespace

QString fixedAssetCompanion(const QString &code)
{
    if (code.size() != 4 && code.size() != 7 && code.size() != 10 && code.size() != 13)
        return {};
    const QChar fourth = code.at(3);
    if (fourth < u'0' || fourth >= u'9')
        return {};
    QString companion = code;
    companion[3] = QChar(fourth.unicode() + 1);
    return companion;
}

OpResult BuildFixedAssetLedger(Session &session, const QString &code, Dialogs &dialogs)
{
    const bool assetAccount = kAssetClasses.contains(code.left(4));
    const QString companion = fixedAssetCompanion(code);
    const OpResult built = guarded(dialogs, [&] {
        Transaction transaction(session, Transaction::Mode::WorkTables);
        emptyWorkTables(session, {u"固累式"_s, u"固累帐页"_s});
        if (!assetAccount) {
            transaction.commit();
            return OpResult::done();
        }
        const auto [cost, depreciation] = openingValues(session, code, companion);
        if (cost != 0 || depreciation != 0) {
            session.execSql(kOpeningRowSql,
                            {centsToDouble(cost), centsToDouble(depreciation), centsToDouble(cost - depreciation)});
        }
        session.execSql(kLinesSql, {cost, depreciation, code, companion, kFirstMonthId});
        session.execSql(kTotalsSql);
        const ResultSet last = session.RunSql(kFinalValuesSql);
        if (last.recordCount() > 0 && anyValue(last.rows().first()))
            session.execSql(kCarryForwardSql, last.rows().first());
        transaction.commit();
        return OpResult::done();
    });
    if (!built.isDone() || assetAccount)
        return built;
    return refuse(dialogs, u"只有固定资产(1601)或无形资产(1701)或生产性生物资产(1621)科目才能生成固累式帐页"_s,
                  applicationTitle(), Icon::Critical);
}

std::optional<PagedRows> FixedAssetLedgerRows(Session &session, const QString &code)
{
    using namespace periodrows;
    if (!kAssetClasses.contains(code.left(4)))
        return std::nullopt;
    const QString companion = fixedAssetCompanion(code);
    Transaction read(session, Transaction::Mode::Read);
    const std::optional<QList<int>> counts = periodLineCounts(session, {code, companion}, 9'999'998);
    if (!counts)
        return std::nullopt;
    const auto [cost, depreciation] = openingValues(session, code, companion);
    // The values carried into each month (and past the year): the opening
    // values plus the kept totals of the months before it.
    const QList<PeriodNet> costNets = periodNets(session, {code});
    const QList<PeriodNet> companionNets = periodNets(session, {companion});
    QList<std::pair<qint64, qint64>> carriedIn(kPeriods + 1, {cost, depreciation});
    for (int period = 2; period <= kPeriods; ++period) {
        carriedIn[period] = {carriedIn[period - 1].first + costNets.at(period - 1).cents,
                             carriedIn[period - 1].second - companionNets.at(period - 1).cents};
    }
    // A row of the three values alone: the opening row, the carry forward.
    const auto valuesRow = [](const QString &id, const QString &summary, qint64 costCents, qint64 depreciationCents) {
        return ResultSet::Row{QVariant(), id, QVariant(), QVariant(), QVariant(), summary, QVariant(), QVariant(),
                              centsToDouble(costCents), QVariant(), QVariant(), centsToDouble(depreciationCents),
                              centsToDouble(costCents - depreciationCents)};
    };
    // The opening lines are shown as the opening row alone.
    QList<Period> periods(kPeriods);
    for (int period = 1; period < kPeriods; ++period)
        periods[period].lines = counts->at(period);
    if (cost != 0 || depreciation != 0)
        periods[0].after.append(valuesRow(u"8000000000"_s, u"年初余额"_s, cost, depreciation));
    const ResultSet totals = session.RunSql(kJournalTotalsSql, {code, companion, kFirstMonthId});
    placeAfter(totals.rows(), periods, 1);
    // The values after the last month line (the opening ones without any).
    QList<ResultSet::Row> last;
    const auto [finalCost, finalDepreciation] = carriedIn.last();
    const ResultSet::Row carry = valuesRow(u"813"_s, u"结转下年"_s, finalCost, finalDepreciation);
    if (anyValue({carry.at(8), carry.at(11), carry.at(12)}))
        last.append(carry);
    read.commit();
    const QStringList columns = kColumnNames.split(u", "_s);
    return periodRows(session, columns, periods, last,
                      [session = &session, code, companion, carriedIn](int period, int offset, int n) {
                          return session
                              ->RunSql(kPeriodLinesSql,
                                       {carriedIn.at(period).first, carriedIn.at(period).second, code, companion,
                                        firstIdOf(period), pastIdOf(period), n, offset})
                              .rows();
                      });
}

} // namespace tz
