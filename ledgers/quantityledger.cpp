// The quantity ledger in 数量式.
#include "ledgers/quantityledger.h"

#include "ledgers/ledgersql.h"
#include "ledgers/periodrows.h"
#include "store/guard.h"
#include "store/session.h"
#include "store/worktables.h"
#include "store/transaction.h"

using namespace Qt::Literals::StringLiterals;

namespace tz {

namespace {

using ledgersql::kFirstMonthId;
using ledgersql::kQuantityChange;

// Quantities are sums of REAL values; six decimals keep every quantity a
// user can type and drop the binary noise (0.1 + 0.2), so that a quantity
// balance that should be zero is zero. Cutting noise needs no half-up rule.
constexpr int kQuantityDecimals = 6;

// One row per journal line of the account (?2), in the columns of 数量式,
// from the lines' running balances `running` (rowid r, 余额 and the
// quantity 数) as far as `limit` takes them. A line without a credit
// amount is a receipt (借数), one without a debit amount an issue (贷数).
// ?1 is the direction, ?3 the first month ID, ?4 the price decimals,
// ?5 the quantity decimals. The running balances are summed over the code
// index alone (rowid and the two balances), and each line is then read
// once by its rowid, so the window's buffer does not carry whole lines.
// A whole running quantity is its own rounding (round() would format and
// parse it); the limit (OFFSET 0 when none) keeps that subquery from being
// merged into the outer ones, which would repeat the rounding for every
// use of 余数.
QString quantityLineRows(const QString &running, const QString &limit)
{
    return u"SELECT CAST(ID AS TEXT) AS ID, 日期, 字号, NULL AS 备注, 摘要说明, "
           "CASE WHEN 月行 THEN 借数 END AS 借数, "
           "CASE WHEN 月行 AND 借数 <> 0 THEN round_half_up(借金 / 借数, ?4) END AS 借单, "
           "CASE WHEN 月行 THEN 借金 END AS 借金, "
           "CASE WHEN 月行 THEN 贷数 END AS 贷数, "
           "CASE WHEN 月行 AND 贷数 <> 0 THEN round_half_up(贷金 / 贷数, ?4) END AS 贷单, "
           "CASE WHEN 月行 THEN 贷金 END AS 贷金, "_s
        + ledgersql::directionShown(u"余额"_s, u"?1"_s) + u" AS 方向, "_s
        + ledgersql::signedBalance(u"余数"_s, u"?1"_s) + u" AS 余数, "
          "CASE WHEN 余数 <> 0 THEN round_half_up(余额 / 余数, ?4) END AS 余单, "_s
        + ledgersql::signedBalance(u"余额"_s, u"?1"_s) + u" AS 余额 "
          "FROM (SELECT a.ID, a.日期, "_s + ledgersql::kReference + u" AS 字号, a.摘要说明, a.ID >= ?3 AS 月行, "
          "a.借方金额 AS 借金, a.贷方金额 AS 贷金, "
          "CASE WHEN a.贷方金额 IS NULL THEN a.数量 END AS 借数, CASE WHEN a.借方金额 IS NULL THEN a.数量 END AS 贷数, "
          "s.余额, s.余数 "
          "FROM (SELECT r, 余额, CASE WHEN 数 = CAST(数 AS INTEGER) THEN 数 ELSE round(数, ?5) END AS 余数 "
          "FROM "_s + running + u" "_s + limit + u") s JOIN 分录表 a ON a.rowid = s.r)"_s;
}
const QString kColumns = u"INSERT INTO 数量式 (ID, 日期, 字号, 备注, 摘要说明, 借数, 借单, 借金, 贷数, 贷单, 贷金, 方向, "
                         "余数, 余单, 余额) "_s;
const QString kLinesSql = kColumns
    + quantityLineRows(u"(SELECT rowid AS r, sum("_s + ledgersql::kNetCents + u") OVER w / 100.0 AS 余额, "
                       "sum("_s + kQuantityChange + u") OVER w AS 数 "
                       "FROM 分录表 WHERE 科目代码 = ?2 WINDOW w AS (ORDER BY ID))"_s,
                       u"LIMIT -1 OFFSET 0"_s);

// The same rows for ?10 lines of one period (IDs from ?8 below ?9) from its
// ?11-th line on, with the balances carried into the period: ?6 cents, ?7
// the quantity.
const QString kPeriodLinesSql =
    quantityLineRows(u"(SELECT rowid AS r, (?6 + sum("_s + ledgersql::kNetCents + u") OVER w) / 100.0 AS 余额, "
                     "?7 + sum("_s + kQuantityChange + u") OVER w AS 数 "
                     "FROM 分录表 WHERE 科目代码 = ?2 AND ID >= ?8 AND ID < ?9 WINDOW w AS (ORDER BY ID))"_s,
                     u"LIMIT ?10 OFFSET ?11"_s)
    + u" ORDER BY ID"_s;

// Month totals (prefix + 9999998) and year-to-date totals (prefix +
// 9999999) of the month lines of the account (?1, ?2 the first month ID,
// ?3 the quantity decimals).
const QList<std::pair<QString, QString>> kMonthSums = {
    {u"round_half_up(sum(借方金额), 2)"_s, u"借金"_s},
    {u"round_half_up(sum(贷方金额), 2)"_s, u"贷金"_s},
    {u"round_half_up(sum(CASE WHEN 贷方金额 IS NULL THEN 数量 END), ?3)"_s, u"借数"_s},
    {u"round_half_up(sum(CASE WHEN 借方金额 IS NULL THEN 数量 END), ?3)"_s, u"贷数"_s},
};
// The same sums from the kept balances (?2 the first month's period): a
// side or quantity without values on any line stays NULL.
const QList<std::pair<QString, QString>> kKeptMonthSums = {
    {u"CASE WHEN 借笔 > 0 THEN 借方 / 100.0 END"_s, u"借金"_s},
    {u"CASE WHEN 贷笔 > 0 THEN 贷方 / 100.0 END"_s, u"贷金"_s},
    {u"CASE WHEN 借数笔 > 0 THEN round_half_up(借数, ?3) END"_s, u"借数"_s},
    {u"CASE WHEN 贷数笔 > 0 THEN round_half_up(贷数, ?3) END"_s, u"贷数"_s},
};
const QString kTotalRows =
    u"SELECT 期 || '9999998' AS ID, NULL AS 日期, '' AS 字号, NULL AS 备注, ' 本月合计' AS 摘要说明, 借数, "
    "NULL AS 借单, 借金, 贷数, NULL AS 贷单, 贷金, NULL AS 方向, NULL AS 余数, NULL AS 余单, NULL AS 余额 FROM 月计 "
    "UNION ALL "
    "SELECT 期 || '9999999', NULL, '', NULL, ' 本年累计', round_half_up(sum(借数) OVER w, ?3), NULL, "
    "round_half_up(sum(借金) OVER w, 2), round_half_up(sum(贷数) OVER w, ?3), NULL, round_half_up(sum(贷金) OVER w, 2), "
    "NULL, NULL, NULL, NULL FROM 月计 WINDOW w AS (ORDER BY 期)"_s;
const QString kTotalsSql = kColumns + kTotalRows;

// The balances after the account's last line (?1): the line row of the
// greatest ID (the totals have no direction, so a line of voucher 9999
// sharing a total's ID is still told apart).
const QString kFinalBalanceSql =
    u"SELECT 余数, 余额 FROM 数量式 WHERE ID = (SELECT CAST(max(ID) AS TEXT) FROM 分录表 WHERE 科目代码 = ?1) "
    "AND 方向 IS NOT NULL"_s;

const QString kCarryForwardSql =
    u"INSERT INTO 数量式 (ID, 摘要说明, 余数, 余额) VALUES ('813', '结转下年', ?, ?)"_s;

} // namespace

int priceDecimalsFor(int n)
{
    return n >= 0 && n <= 3 ? n : 4;
}

OpResult BuildQuantityLedger(Session &session, const QString &code, const QString &direction, int priceDigits,
                             Dialogs &dialogs)
{
    const int priceDecimals = priceDecimalsFor(priceDigits);
    return guarded(dialogs, [&] {
        Transaction transaction(session, Transaction::Mode::WorkTables);
        setWorkTablesAside(session, {u"数量式"_s});
        emptyWorkTables(session, {u"数量帐页"_s});
        session.execSql(kLinesSql, {direction, code, kFirstMonthId, priceDecimals, kQuantityDecimals});
        session.execSql(ledgersql::keptMonthSums(kKeptMonthSums) + kTotalsSql,
                        {code, ledgersql::kFirstMonthPeriod, kQuantityDecimals});
        const ResultSet last = session.RunSql(kFinalBalanceSql, {code});
        if (last.recordCount() > 0) {
            const double quantity = last.value(0, 0).toDouble();
            const double amount = last.value(0, 1).toDouble();
            if (quantity != 0.0 || amount != 0.0)
                session.execSql(kCarryForwardSql, {quantity, amount});
        }
        dropSetAside(session, {u"数量式"_s});
        transaction.commit();
        return OpResult::done();
    });
}

std::optional<PagedRows> QuantityLedgerRows(Session &session, const QString &code, const QString &direction,
                                            int priceDigits)
{
    using namespace periodrows;
    const int priceDecimals = priceDecimalsFor(priceDigits);
    Transaction read(session, Transaction::Mode::Read);
    std::optional<QList<Period>> periods = accountPeriods(session, code);
    if (!periods)
        return std::nullopt;
    const QList<PeriodNet> before = carried(periodNets(session, {code}));
    const ResultSet totals =
        session.RunSql(ledgersql::monthSums(kMonthSums, true) + kTotalRows + u" ORDER BY ID"_s,
                       {code, kFirstMonthId, kQuantityDecimals});
    placeAfter(totals.rows(), *periods);
    const LineReader lines = [session = &session, code, direction, priceDecimals, before](int period, int offset,
                                                                                          int n) {
        return session
            ->RunSql(kPeriodLinesSql, {direction, code, kFirstMonthId, priceDecimals, kQuantityDecimals,
                                       before.at(period).cents, before.at(period).quantity, firstIdOf(period),
                                       pastIdOf(period), n, offset})
            .rows();
    };
    // The carry forward as the build writes it: the balances of the last
    // line row, when either is not zero.
    QList<ResultSet::Row> last;
    for (int period = kPeriods - 1; period >= 0; --period) {
        if (periods->at(period).lines == 0)
            continue;
        const QList<ResultSet::Row> lastLine = lines(period, periods->at(period).lines - 1, 1);
        if (!lastLine.isEmpty()) {
            const QVariant quantity = lastLine.first().at(12);
            const QVariant amount = lastLine.first().at(14);
            if (quantity.toDouble() != 0.0 || amount.toDouble() != 0.0) {
                last.append({u"813"_s, QVariant(), QVariant(), QVariant(), u"结转下年"_s, QVariant(), QVariant(),
                             QVariant(), QVariant(), QVariant(), QVariant(), QVariant(), quantity.toDouble(),
                             QVariant(), amount.toDouble()});
            }
        }
        break;
    }
    read.commit();
    return periodRows(session, totals.columnNames(), *periods, last, lines);
}

} // namespace tz
