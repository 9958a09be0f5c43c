// The detail ledger and the general ledger in 三总式.
#include "ledgers/threecolumnledger.h"

#include <cmath>
#include <functional>

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

// Detail ledger, one row per journal line of the account (?2), in the
// columns of 三总式, from the lines' running balances `balances` (rowid r
// and 余额); ?1 is the direction: '贷' negates the balance, a balance below
// 0.009 shows '平'. Opening lines ('800', below ?3) show only their
// balance. Reading each line once by its rowid, the window's buffer
// carries two numbers a line instead of the whole line.
QString detailLineRows(const QString &balances)
{
    return u"SELECT CAST(a.ID AS TEXT) AS ID, a.日期 AS 日期, "_s + ledgersql::kReference
        + u" AS 字号, NULL AS 备注, a.摘要说明 AS 摘要说明, CASE WHEN a.ID >= ?3 THEN a.借方金额 END AS 借方金额, "
          "CASE WHEN a.ID >= ?3 THEN a.贷方金额 END AS 贷方金额, "_s
        + ledgersql::directionShown(u"s.余额"_s, u"?1"_s) + u" AS 方向, "_s
        + ledgersql::signedBalance(u"s.余额"_s, u"?1"_s) + u" AS 余额 FROM "_s + balances
        + u" s JOIN 分录表 a ON a.rowid = s.r"_s;
}
const QString kColumns = u"INSERT INTO 三总式 (ID, 日期, 字号, 备注, 摘要说明, 借方金额, 贷方金额, 方向, 余额) "_s;
const QString kDetailLinesSql = kColumns + detailLineRows(ledgersql::runningBalances(u"科目代码 = ?2"_s));

// The same rows for `?7` lines of one period (IDs from ?5 below ?6) from
// its `?8`-th line on, the balance carried into the period ?4 (cents).
const QString kDetailPeriodLinesSql =
    detailLineRows(u"(SELECT r, (?4 + 分) / 100.0 AS 余额 FROM (SELECT rowid AS r, sum("_s + ledgersql::kNetCents
                   + u") OVER (ORDER BY ID) AS 分 FROM 分录表 WHERE 科目代码 = ?2 AND ID >= ?5 AND ID < ?6) "
                     "LIMIT ?7 OFFSET ?8)"_s)
    + u" ORDER BY a.ID"_s;

// Month totals (prefix + 9999998) and year-to-date totals (prefix +
// 9999999) of the month lines of the account (?1): sums of the month, and
// running sums of the month sums. A side without amounts stays NULL.
const QString kDetailTotalRows =
    u"SELECT 期 || '9999998' AS ID, NULL AS 日期, '' AS 字号, NULL AS 备注, ' 本月合计' AS 摘要说明, 借 AS 借方金额, "
    "贷 AS 贷方金额, NULL AS 方向, NULL AS 余额 FROM 月计 "
    "UNION ALL "
    "SELECT 期 || '9999999', NULL, '', NULL, ' 本年累计', round_half_up(sum(借) OVER (ORDER BY 期), 2), "
    "round_half_up(sum(贷) OVER (ORDER BY 期), 2), NULL, NULL FROM 月计"_s;
const QString kDetailTotalsSql = kColumns + kDetailTotalRows;
const QList<std::pair<QString, QString>> kDetailMonthSums = {
    {u"round_half_up(sum(借方金额), 2)"_s, u"借"_s},
    {u"round_half_up(sum(贷方金额), 2)"_s, u"贷"_s},
};

// The same sums from the kept balances' whole cents.
const QList<std::pair<QString, QString>> kDetailKeptSums = {
    {u"CASE WHEN 借笔 > 0 THEN 借方 / 100.0 END"_s, u"借"_s},
    {u"CASE WHEN 贷笔 > 0 THEN 贷方 / 100.0 END"_s, u"贷"_s},
};

// The balance after the account's last line: the line rows are the rows
// with a direction (totals have none).
const QString kFinalBalanceSql =
    u"SELECT 余额 FROM 三总式 WHERE 方向 IS NOT NULL ORDER BY ID DESC LIMIT 1"_s;
// The same for a detail ledger, from the kept balances: the running
// balance of the last line is the sum of every line's whole cents, signed
// as the line rows are; ?1 the direction, ?2 the code.
const QString kDetailFinalBalanceSql =
    u"SELECT CASE WHEN ?1 = '贷' THEN 0.0 - sum(借方 - 贷方) / 100.0 ELSE sum(借方 - 贷方) / 100.0 END "
    "FROM 科目月计 WHERE 科目代码 = ?2"_s;

const QString kCarryForwardSql = u"INSERT INTO 三总式 (ID, 摘要说明, 余额) VALUES ('813', '结转下年', ?)"_s;

// General ledger: one row per period of the accounts under the top-level
// code (?2, ?3), from the kept balances: the opening group '800' and each
// month, with sums (a side without amounts stays NULL) and the running
// balance; then the year-to-date rows of the months. ?1 is the direction
// as above, ?4 the fiscal year: a month row is dated with its own month
// (every voucher is dated inside its month), the opening row with none
// (opening lines have no date).
const QString kGeneralPeriodsCte =
    u"WITH 期计 AS (SELECT CAST(期 AS TEXT) AS 期, CASE WHEN 期 > 800 THEN printf('%04d-%02d', ?4, 期 - 800) END "
    "AS 年月, CASE WHEN sum(借笔) > 0 THEN sum(借方) / 100.0 END AS 借, "
    "CASE WHEN sum(贷笔) > 0 THEN sum(贷方) / 100.0 END AS 贷, sum(借方 - 贷方) AS 净分 FROM 科目月计 WHERE "_s
    + ledgersql::underPrefix(u"科目代码"_s, 2) + u" GROUP BY 期), "
      "余计 AS (SELECT 期, 年月, 借, 贷, sum(净分) OVER (ORDER BY 期) / 100.0 AS 余额 FROM 期计) "_s;
const QString kGeneralRowsSql =
    u"INSERT INTO 三总式 (ID, 日期, 字号, 摘要说明, 借方金额, 贷方金额, 方向, 余额) "
    "SELECT 期 || '1', 年月, CASE WHEN 期 > '800' THEN '汇-1' END, "
    "CASE WHEN 期 > '800' THEN ' 本月合计' ELSE ' 年初余额' END, "
    "CASE WHEN 期 > '800' THEN round_half_up(借, 2) END, CASE WHEN 期 > '800' THEN round_half_up(贷, 2) END, "_s
    + ledgersql::directionShown(u"余额"_s, u"?1"_s) + u", "_s + ledgersql::signedBalance(u"余额"_s, u"?1"_s) + u" "
    "FROM 余计 "
    "UNION ALL "
    "SELECT 期 || '2', NULL, NULL, ' 本年累计', round_half_up(sum(借) OVER (ORDER BY 期), 2), "
    "round_half_up(sum(贷) OVER (ORDER BY 期), 2), NULL, NULL FROM 期计 WHERE 期 > '800'"_s;

// Runs the body in one transaction with the work tables made anew first;
// the "结转下年" row follows from the final balance (read by `finalSql`
// with `finalParams`) when `wanted` says so. No row or NULL is 0.
OpResult rebuild(Session &session, Dialogs &dialogs, const std::function<void()> &fill, const QString &finalSql,
                 const QVariantList &finalParams, const std::function<bool(double)> &wanted)
{
    return guarded(dialogs, [&] {
        Transaction transaction(session, Transaction::Mode::WorkTables);
        setWorkTablesAside(session, {u"三总式"_s});
        emptyWorkTables(session, {u"三栏帐页"_s});
        fill();
        const ResultSet last = session.RunSql(finalSql, finalParams);
        const double balance = last.recordCount() == 0 ? 0.0 : last.value(0, 0).toDouble();
        if (wanted(balance))
            session.execSql(kCarryForwardSql, {balance});
        dropSetAside(session, {u"三总式"_s});
        transaction.commit();
        return OpResult::done();
    });
}

} // namespace

OpResult BuildDetailLedger(Session &session, const QString &code, const QString &direction, Dialogs &dialogs)
{
    return rebuild(
        session, dialogs,
        [&] {
            session.execSql(kDetailLinesSql, {direction, code, kFirstMonthId});
            session.execSql(ledgersql::keptMonthSums(kDetailKeptSums) + kDetailTotalsSql,
                            {code, ledgersql::kFirstMonthPeriod});
        },
        kDetailFinalBalanceSql, {direction, code},
        // Any balance other than zero is carried forward (balances are cents).
        [](double balance) { return balance != 0.0; });
}

OpResult BuildGeneralLedger(Session &session, const QString &code, const QString &direction, Dialogs &dialogs)
{
    const QString topLevel = code.left(4);
    return rebuild(
        session, dialogs,
        [&] {
            session.execSql(kGeneralPeriodsCte + kGeneralRowsSql,
                            {direction, topLevel, ledgersql::upperBound(topLevel), session.fiscalYear()});
        },
        kFinalBalanceSql, {},
        // The general ledger carries forward from one cent up. Its last row
        // with a direction is the last month row, or the opening row when
        // there are only opening lines; that one is carried forward too.
        [](double balance) { return std::abs(balance) >= 0.01 - 1e-9; });
}

std::optional<PagedRows> DetailLedgerRows(Session &session, const QString &code, const QString &direction)
{
    using namespace periodrows;
    Transaction read(session, Transaction::Mode::Read);
    std::optional<QList<Period>> periods = accountPeriods(session, code);
    if (!periods)
        return std::nullopt;
    const QList<PeriodNet> before = carried(periodNets(session, {code}));
    const ResultSet totals = session.RunSql(
        ledgersql::monthSums(kDetailMonthSums, true) + kDetailTotalRows + u" ORDER BY ID"_s, {code, kFirstMonthId});
    placeAfter(totals.rows(), *periods);
    // The carry forward as the build writes it: any balance but zero.
    QList<ResultSet::Row> last;
    const double balance = double(before.last().cents) / 100.0;
    if (balance != 0.0) {
        last.append({u"813"_s, QVariant(), QVariant(), QVariant(), u"结转下年"_s, QVariant(), QVariant(), QVariant(),
                     direction == u"贷"_s ? 0.0 - balance : balance});
    }
    read.commit();
    return periodRows(session, totals.columnNames(), *periods, last,
                      [session = &session, code, direction, before](int period, int offset, int n) {
                          return session
                              ->RunSql(kDetailPeriodLinesSql,
                                       {direction, code, kFirstMonthId, before.at(period).cents, firstIdOf(period),
                                        pastIdOf(period), n, offset})
                              .rows();
                      });
}

} // namespace tz
