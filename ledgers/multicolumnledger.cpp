// The multi-column ledger: the row build into 多栏式1 and the pivot into
// 多栏式, whose SQL is generated here from the distinct headings.
#include "ledgers/multicolumnledger.h"

#include <QStringList>

#include <QHash>

#include "ledgers/ledgersql.h"
#include "ledgers/periodrows.h"
#include "store/connection.h"
#include "store/dialogs.h"
#include "store/guard.h"
#include "store/session.h"
#include "store/worktables.h"
#include "store/transaction.h"

using namespace Qt::Literals::StringLiterals;

namespace tz {

namespace {

using ledgersql::kFirstMonthId;

const QString kDebit = u"借"_s;
const QString kCredit = u"贷"_s;

const QString kPivotLeadingColumns =
    u"ID TEXT, 日期 TEXT, 字号 TEXT, 备注 TEXT, 摘要说明 TEXT, 借方金额1 REAL, 贷方金额1 REAL, 方向 TEXT, 余额 REAL"_s;

// Descendant accounts of the parent (?1, ?2), every depth.
const QString kCountDescendantsSql =
    u"SELECT count(*) FROM 科目表 WHERE "_s + ledgersql::underPrefix(u"科目代码"_s, 1, 1);

// The sub-account a descendant's code rolls up to (the level directly below
// the parent, its length bound as ?n), and that sub-account's column
// heading: its code, a blank, its name; a code missing from the chart is
// headed by the code alone, so its amounts still get a column. The rows
// are written rolled up and headed, so they are written once. `code` must
// be qualified: inside the heading's subquery a bare 科目代码 is 科目表's.
QString rolledCode(const QString &code, int level)
{
    return u"substr(%1, 1, ?%2)"_s.arg(code).arg(level);
}
QString heading(const QString &code, int level)
{
    const QString rolled = rolledCode(code, level);
    return u"ifnull((SELECT b.科目代码 || ' ' || ifnull(b.科目名称, '') FROM 科目表 b WHERE b.科目代码 = %1), %1)"_s.arg(
        rolled);
}

// The rolled-up code and column heading of every descendant code with
// lines (the codes of 户期; ?1 the length of the rolled-up codes), so that
// each line finds its heading by its own code instead of a lookup in the
// chart and a string built per line.
const QString kDropHeadingsSql = u"DROP TABLE IF EXISTS temp.户名"_s;
const QString kHeadingsSql = u"CREATE TEMP TABLE 户名 (科目代码 TEXT PRIMARY KEY, 户 TEXT, 名 TEXT)"_s;
const QString kFillHeadingsSql = u"INSERT INTO temp.户名 SELECT d.科目代码, "_s + rolledCode(u"d.科目代码"_s, 1) + u", "_s
    + heading(u"d.科目代码"_s, 1) + u" FROM (SELECT DISTINCT 科目代码 FROM temp.户期) d"_s;

// Lines of the descendants (?1, ?2) with the parent's running balance; ?3
// the direction, ?4 the first month ID: a '贷' parent's balances are
// negated from month 1 on (the opening lines keep debit minus credit).
// Each line is read once by its rowid, in the order of the balances (CROSS
// JOIN keeps the rows in ID order).
const QString kLinesSql =
    u"INSERT INTO 多栏式1 (ID, 科目代码, 科目名称, 日期, 字号, 摘要说明, 借方金额, 贷方金额, 方向, 余额) "
    "SELECT CAST(a.ID AS TEXT), h.户, h.名, a.日期, "_s + ledgersql::kReference + u", a.摘要说明, a.借方金额, a.贷方金额, "_s
    + ledgersql::directionShown(u"s.余额"_s, u"?3"_s) + u", "
    "CASE WHEN ?3 = '贷' AND a.ID >= ?4 THEN 0.0 - s.余额 ELSE s.余额 END "
    "FROM "_s + ledgersql::runningBalances(ledgersql::underPrefix(u"科目代码"_s, 1, 1)) + u" s "
    "CROSS JOIN 分录表 a ON a.rowid = s.r CROSS JOIN temp.户名 h ON h.科目代码 = a.科目代码"_s;

// Sums per descendant and period of the descendants' lines (?1, ?2):
// 借/贷 the plain sums (NULL when no amount), 借零/贷零 with a missing
// amount as 0, 余借/余贷 each line on one side with the other side negated.
// Every synthetic row reads them, so they are summed once into a temporary
// table of the connection rather than once per kind of row.
const QString kDropSumsSql = u"DROP TABLE IF EXISTS temp.户期"_s;
const QString kSums = u"sum(借方金额) AS 借, sum(贷方金额) AS 贷, total(借方金额) AS 借零, total(贷方金额) AS 贷零, "
                      "sum(CASE WHEN 借方金额 IS NULL THEN -贷方金额 ELSE 借方金额 END) AS 余借, "
                      "sum(CASE WHEN 贷方金额 IS NULL THEN -借方金额 ELSE 贷方金额 END) AS 余贷"_s;
const QString kSumsSql = u"CREATE TEMP TABLE 户期 AS SELECT 科目代码, "_s + ledgersql::kPeriod + u" AS 期, "_s + kSums
    + u" FROM 分录表 WHERE "_s + ledgersql::underPrefix(u"科目代码"_s, 1, 1) + u" GROUP BY 科目代码, 期"_s;

// The descendant codes with lines (?1, ?2), each found by one seek of the
// code index from the code before it instead of reading every line.
const QString kDropLineCodesSql = u"DROP TABLE IF EXISTS temp.户码"_s;
const QString kLineCodesSql =
    u"CREATE TEMP TABLE 户码 AS WITH RECURSIVE 码 (科目代码) AS ("
    "SELECT min(科目代码) FROM 分录表 WHERE "_s + ledgersql::underPrefix(u"科目代码"_s, 1, 1)
    + u" UNION ALL SELECT (SELECT min(科目代码) FROM 分录表 WHERE 科目代码 > 码.科目代码 AND "_s
    + ledgersql::underPrefix(u"科目代码"_s, 1, 1) + u") FROM 码 WHERE 科目代码 IS NOT NULL) "
      "SELECT 科目代码 FROM 码 WHERE 科目代码 IS NOT NULL"_s;

// Every line of those codes has its period read off its ID range: IDs from
// the opening group's first (?1) to the end of month 12 (below ?2); two
// seeks a code.
const QString kLineCodesRangedSql =
    u"SELECT NOT EXISTS (SELECT 1 FROM temp.户码 c "
    "WHERE (SELECT min(ID) FROM 分录表 WHERE 科目代码 = c.科目代码) < ?1 "
    "OR (SELECT max(ID) FROM 分录表 WHERE 科目代码 = c.科目代码) >= ?2)"_s;

// The same sums as kSumsSql, each period's the lines of its ID range of
// the code index, code by code (the IN list walks the index in code order,
// so no line is sorted); the rows in the order kSumsSql leaves them.
QString rangedSumsSql()
{
    QStringList periods;
    for (int period = 0; period <= 12; ++period) {
        const qint64 first = ledgersql::kFirstOpeningId + period * ledgersql::kMonthIdSpan;
        periods.append(u"SELECT 科目代码, '%1' AS 期, %2 FROM 分录表 WHERE 科目代码 IN temp.户码 "
                       "AND ID >= %3 AND ID < %4 GROUP BY 科目代码"_s.arg(QString::number(800 + period), kSums,
                                                                         QString::number(first),
                                                                         QString::number(first + ledgersql::kMonthIdSpan)));
    }
    return u"CREATE TEMP TABLE 户期 AS SELECT * FROM ("_s + periods.join(u" UNION ALL "_s)
        + u") ORDER BY 科目代码, 期"_s;
}

// Fills temp.户期 by ranges when every line's ID allows, else by grouping.
void sumCodesAndPeriods(Session &session, const QVariantList &prefix)
{
    session.execSql(kDropSumsSql);
    session.execSql(kDropLineCodesSql);
    session.execSql(kLineCodesSql, prefix);
    const bool ranged =
        session.RunSql(kLineCodesRangedSql, {ledgersql::kFirstOpeningId, ledgersql::kPastYearId}).value(0, 0).toBool();
    if (ranged)
        session.execSql(rangedSumsSql());
    else
        session.execSql(kSumsSql, prefix);
    session.execSql(kDropLineCodesSql);
}

const QString kSumsCte = u"WITH 月表 AS (SELECT DISTINCT 期 FROM temp.户期 WHERE 期 > '800') "_s;

// The debit and credit amounts of one kind of synthetic row, as sums over
// the 户期 rows of its group.
struct Amounts
{
    QString debit;
    QString credit;
};

const Amounts kGross{u"sum(h.借)"_s, u"sum(h.贷)"_s};
const Amounts kBoth{u"sum(h.借零)"_s, u"sum(h.贷零)"_s};
const Amounts kNetDebit{u"sum(h.借零) - sum(h.贷零)"_s, u"NULL"_s};
const Amounts kNetCredit{u"NULL"_s, u"sum(h.贷零) - sum(h.借零)"_s};
const Amounts kSidedDebit{u"sum(h.余借)"_s, u"NULL"_s};
const Amounts kSidedCredit{u"NULL"_s, u"sum(h.余贷)"_s};

// ?1 the length of the rolled-up codes; the rows go into `table` (多栏式1,
// or a temporary table of its columns).
QString insertRows(const QString &id, const QString &summary, const Amounts &amounts, const QString &from,
                   const QString &table)
{
    return kSumsCte + u"INSERT INTO "_s + table + u" (ID, 科目代码, 科目名称, 摘要说明, 借方金额, 贷方金额) SELECT "_s + id
        + u", "_s + rolledCode(u"h.科目代码"_s, 1) + u", "_s + heading(u"h.科目代码"_s, 1) + u", '"_s + summary
        + u"', round_half_up("_s + amounts.debit + u", 2), round_half_up("_s + amounts.credit + u", 2) "_s + from;
}

// Month rows, every period with lines (the opening group too).
QString monthRowsSql(const Amounts &amounts, const QString &table = u"多栏式1"_s)
{
    return insertRows(u"h.期 || '9999996'"_s, u" 本月合计"_s, amounts, u"FROM temp.户期 h GROUP BY h.期, h.科目代码"_s,
                      table);
}

// Year-to-date rows of each month P over the months up to P.
QString yearRowsSql(const Amounts &amounts, const QString &table = u"多栏式1"_s)
{
    return insertRows(u"m.期 || '9999997'"_s, u" 本年累计"_s, amounts,
                      u"FROM 月表 m JOIN temp.户期 h ON h.期 <= m.期 AND h.期 <> '800' GROUP BY m.期, h.科目代码"_s, table);
}

// Balance rows of each month P over the opening group and the months up to P.
QString balanceRowsSql(const Amounts &amounts, const QString &table = u"多栏式1"_s)
{
    return insertRows(u"m.期 || '9999998'"_s, u" 余额"_s, amounts,
                      u"FROM 月表 m JOIN temp.户期 h ON h.期 <= m.期 GROUP BY m.期, h.科目代码"_s, table);
}

// Carry-forward rows over everything, keyed by the last period with lines.
QString carryForwardRowsSql(const Amounts &amounts, const QString &table = u"多栏式1"_s)
{
    return insertRows(u"(SELECT max(期) FROM temp.户期) || '9999999'"_s, u"结转下年"_s, amounts,
                      u"FROM temp.户期 h GROUP BY h.科目代码"_s, table);
}

// The parent's gross sums of the month rows (every period) and of the
// year-to-date rows (the months up to each month), for the 多栏式1 variant.
const QString kGrossTotalRows =
    kSumsCte
    + u"SELECT CAST(h.期 || '9999996' AS INTEGER), round_half_up(sum(h.借), 2), round_half_up(sum(h.贷), 2) "
      "FROM temp.户期 h GROUP BY h.期 "
      "UNION ALL "
      "SELECT CAST(m.期 || '9999997' AS INTEGER), round_half_up(sum(h.借), 2), round_half_up(sum(h.贷), 2) "
      "FROM 月表 m JOIN temp.户期 h ON h.期 <= m.期 AND h.期 <> '800' GROUP BY m.期"_s;
const QString kGrossTotalsSql = u"INSERT INTO 分录始表 (ID, 借方金额, 贷方金额) "_s + kGrossTotalRows;

// The headings of 多栏式1's rows: every row, line or synthetic, is headed
// from the codes of 户期, so the headings are those of 户名.
const QString kDistinctHeadingsSql = u"SELECT DISTINCT 名 FROM temp.户名 ORDER BY 名"_s;

// How one variant fills the rows and the sub-account columns.
struct VariantRules
{
    Amounts month;
    Amounts year;
    Amounts balance;
    Amounts carry;
    QString cell;           // amount of a 多栏式1 row in its heading's column
    QString openingBalance; // 余额 of the '8009…' rows from their row totals
    bool grossTotals;       // row totals of month and year rows from 分录始表
};

VariantRules rulesFor(MultiColumnVariant variant, const QString &code, const QString &direction)
{
    const bool debitParent = direction == kDebit;
    if (variant == MultiColumnVariant::Net) {
        const QString netDebit = u"ifnull(借方金额, 0) - ifnull(贷方金额, 0)"_s;
        const QString netCredit = u"ifnull(贷方金额, 0) - ifnull(借方金额, 0)"_s;
        return debitParent ? VariantRules{kNetDebit, kNetDebit, kSidedDebit, kNetDebit, netDebit, u"借方金额1"_s, true}
                           : VariantRules{kNetCredit, kNetCredit, kSidedCredit, kNetCredit, netCredit,
                                          u"贷方金额1"_s, true};
    }
    // The opening balance is the opening group's net on the parent's side.
    const QString openingDebit = u"ifnull(借方金额1, 0) - ifnull(贷方金额1, 0)"_s;
    const QString openingCredit = u"ifnull(贷方金额1, 0) - ifnull(借方金额1, 0)"_s;
    if (debitParent)
        return {kGross, kGross, kNetDebit, kNetDebit, u"借方金额"_s, openingDebit, false};
    if (code.left(4) == u"2221"_s && direction == kCredit)
        return {kGross, kGross, kBoth, kBoth, u"ifnull(贷方金额, 0) - ifnull(借方金额, 0)"_s, openingCredit, false};
    return {kGross, kGross, kNetCredit, kNetCredit, u"贷方金额"_s, openingCredit, false};
}

// Makes 多栏式 anew: the nine leading columns, one REAL column per heading;
// the old table is set aside until the build ends (see setWorkTablesAside).
void createPivotTable(Session &session, const QStringList &headings)
{
    QString columns = kPivotLeadingColumns;
    for (const QString &heading : headings)
        columns += u", "_s + quotedIdentifier(heading) + u" REAL"_s;
    setWorkTablesAside(session, {u"多栏式"_s}, false);
    session.execSql(createWorkTableText(session) + u"多栏式 ("_s + columns + u")"_s);
}

// The rows of 多栏式 from the rows of 多栏式1: one per ID, the heading
// columns summing the rows of their sub-account (NULL where it has none).
// Amounts of 多栏式1 are whole cents, so the sums add whole cents too.
struct Pivot
{
    QString targets = u"ID, 日期, 字号, 摘要说明, 借方金额1, 贷方金额1, 方向, 余额"_s;
    QString sums = u"ID, max(日期) AS 日期, max(字号) AS 字号, max(摘要说明) AS 摘要说明, "
                   "sum(round(借方金额 * 100)) / 100.0 AS 借方金额1, sum(round(贷方金额 * 100)) / 100.0 AS 贷方金额1, "
                   "max(方向) AS 方向, max(余额) AS 余额"_s;
    // The same for an ID held by one row: the sums of one row, no grouping.
    QString single = u"ID, 日期, 字号, 摘要说明, round(借方金额 * 100) / 100.0 AS 借方金额1, "
                     "round(贷方金额 * 100) / 100.0 AS 贷方金额1, 方向, 余额"_s;
    // The columns in the order of 多栏式, from a select of `sums` or `single`.
    QString shown = u"ID, 日期, 字号, NULL AS 备注, 摘要说明, 借方金额1, 贷方金额1, 方向, 余额"_s;
    QVariantList params;

    Pivot(const QStringList &headings, const QString &cell)
    {
        for (qsizetype i = 0; i < headings.size(); ++i) {
            const QString column = quotedIdentifier(headings.at(i));
            targets += u", "_s + column;
            sums += u", sum(CASE WHEN 科目名称 = ?%1 THEN round((%2) * 100) END) / 100.0 AS %3"_s.arg(i + 1).arg(
                cell, column);
            single += u", CASE WHEN 科目名称 = ?%1 THEN round((%2) * 100) / 100.0 END AS %3"_s.arg(i + 1).arg(cell, column);
            shown += u", "_s + column;
            params.append(headings.at(i));
        }
    }
};

// The line rows of 多栏式1 are its first rows, up to rowid ?n (bound after
// the headings). A line's ID is its own (the books never repeat one), so a
// month line needs no grouping unless its ID could be a synthetic row's
// (voucher digits '9999'). The synthetic rows, the opening lines and those
// lines are grouped first and given their finishing touches (which touch
// only IDs of the opening group and synthetic IDs); then the other month
// lines follow one row each, without sorting a year of rows by ID.
QString groupedRowsSql(const Pivot &pivot, int lastLineParam)
{
    return u"INSERT INTO 多栏式 ("_s + pivot.targets + u") SELECT "_s + pivot.sums
        + u" FROM 多栏式1 WHERE rowid > ?%1 OR substr(ID, 4, 4) = '9999' OR ID < '801' GROUP BY ID"_s.arg(lastLineParam);
}
QString singleRowsSql(const Pivot &pivot, int lastLineParam)
{
    return u"INSERT INTO 多栏式 ("_s + pivot.targets + u") SELECT "_s + pivot.single
        + u" FROM 多栏式1 WHERE rowid <= ?%1 AND substr(ID, 4, 4) <> '9999' AND ID >= '801'"_s.arg(lastLineParam);
}

enum class Outcome {
    Built,
    NoCode,
    NoDescendants,
};

} // namespace

OpResult BuildMultiColumnLedger(Session &session, const QString &code, const QString &direction,
                                MultiColumnVariant variant, Dialogs &dialogs)
{
    Outcome outcome = Outcome::Built;
    const QVariantList prefix = {code, ledgersql::upperBound(code)};
    const OpResult built = guarded(dialogs, [&] {
        Transaction transaction(session, Transaction::Mode::WorkTables);
        emptyWorkTables(session, {u"分录始表"_s});
        setWorkTablesAside(session, {u"多栏式1"_s});
        if (code.isEmpty()) {
            outcome = Outcome::NoCode;
        } else {
            const qint64 descendants = session.RunSql(kCountDescendantsSql, prefix).value(0, 0).toLongLong();
            if (descendants == 0 || descendants > kMaxMultiColumnAccounts)
                outcome = Outcome::NoDescendants;
        }
        if (outcome != Outcome::Built) {
            createPivotTable(session, {});
            dropSetAside(session, {u"多栏式1"_s, u"多栏式"_s});
            transaction.commit();
            return OpResult::done();
        }

        const VariantRules rules = rulesFor(variant, code, direction);
        // The descendants roll up to the level directly below the parent.
        const int level = code.size() == 4 ? 7 : code.size() == 10 ? 13 : 10;
        const QVariantList rolled = {level};
        sumCodesAndPeriods(session, prefix);
        session.execSql(kDropHeadingsSql);
        session.execSql(kHeadingsSql);
        session.execSql(kFillHeadingsSql, {level});
        session.execSql(kLinesSql, prefix + QVariantList{direction, kFirstMonthId});
        const qint64 lastLine = session.RunSql(u"SELECT ifnull(max(rowid), 0) FROM 多栏式1"_s).value(0, 0).toLongLong();
        session.execSql(monthRowsSql(rules.month), rolled);
        if (rules.grossTotals)
            session.execSql(kGrossTotalsSql);
        session.execSql(yearRowsSql(rules.year), rolled);
        session.execSql(balanceRowsSql(rules.balance), rolled);
        session.execSql(carryForwardRowsSql(rules.carry), rolled);
        QStringList headings;
        const ResultSet distinct = session.RunSql(kDistinctHeadingsSql);
        for (const QVariantList &row : distinct.rows())
            headings.append(row.at(0).toString());
        session.execSql(kDropSumsSql);
        session.execSql(kDropHeadingsSql);
        createPivotTable(session, headings);
        const Pivot pivot(headings, rules.cell);
        const int lastLineParam = int(headings.size()) + 1;
        const QVariantList pivotParams = pivot.params + QVariantList{lastLine};
        session.execSql(groupedRowsSql(pivot, lastLineParam), pivotParams);

        // The opening group: its balance from its totals, the individual
        // opening lines dropped, its month row relabelled, no row totals.
        session.execSql(u"UPDATE 多栏式 SET 余额 = "_s + rules.openingBalance + u" WHERE substr(ID, 1, 4) = '8009'"_s);
        session.execSql(u"DELETE FROM 多栏式 WHERE substr(ID, 1, 4) < '8009'"_s);
        session.execSql(u"UPDATE 多栏式 SET 摘要说明 = '年初余额', 方向 = ? WHERE ID = '8009999996'"_s, {direction});
        if (rules.grossTotals) {
            session.execSql(u"UPDATE 多栏式 SET 借方金额1 = b.借方金额, 贷方金额1 = b.贷方金额 FROM 分录始表 b "
                            "WHERE 多栏式.ID = CAST(b.ID AS TEXT)"_s);
        }
        session.execSql(u"UPDATE 多栏式 SET 借方金额1 = NULL, 贷方金额1 = NULL WHERE substr(ID, 1, 4) = '8009'"_s);
        session.execSql(singleRowsSql(pivot, lastLineParam), pivotParams);
        dropSetAside(session, {u"多栏式1"_s, u"多栏式"_s});
        transaction.commit();
        return OpResult::done();
    });
    if (!built.isDone())
        return built;
    switch (outcome) {
    case Outcome::NoCode:
        return refuse(dialogs, u"请选择科目"_s, applicationTitle(), Icon::None);
    case Outcome::NoDescendants:
        return refuse(dialogs, u"此代码下没有明细或者明细超过250个,不能生成多栏式"_s, u"TZ305提示"_s,
                      Icon::Information);
    case Outcome::Built:
        break;
    }
    return OpResult::done();
}

namespace {

// The synthetic rows of 多栏式1 go into this table of the connection when
// the ledger is computed for the screen.
const QString kSyntheticTable = u"temp.多栏合计"_s;

// A line row of 多栏式1 for `?n` lines of one period of the descendants with
// lines (bound from ?(base + 9) on) from the `?offset`-th line on, with the
// parent's running balance carried into the period; parameters after the
// headings' (base): the length of the rolled-up codes, the direction, the
// first month ID, the carried cents, the period's first ID and the first
// past it, the row count and the offset.
QString periodLineRows(int base, int codes)
{
    const auto p = [base](int n) { return u"?"_s + QString::number(base + n); };
    return u"SELECT CAST(a.ID AS TEXT) AS ID, "_s + heading(u"a.科目代码"_s, base + 1) + u" AS 科目名称, a.日期 AS 日期, "_s
        + ledgersql::kReference + u" AS 字号, a.摘要说明 AS 摘要说明, a.借方金额 AS 借方金额, a.贷方金额 AS 贷方金额, "_s
        + ledgersql::directionShown(u"s.余额"_s, p(2)) + u" AS 方向, CASE WHEN %1 = '贷' AND a.ID >= %2 "
          "THEN 0.0 - s.余额 ELSE s.余额 END AS 余额 "
          "FROM (SELECT r, (%3 + 分) / 100.0 AS 余额 FROM (SELECT rowid AS r, sum("_s.arg(p(2), p(3), p(4))
        + ledgersql::kNetCents + u") OVER (ORDER BY ID) AS 分 FROM 分录表 WHERE 科目代码 IN ("_s
        + periodrows::placeholders(base + 9, codes) + u") AND ID >= %1 AND ID < %2) LIMIT %3 OFFSET %4) s "
          "CROSS JOIN 分录表 a ON a.rowid = s.r"_s.arg(p(5), p(6), p(7), p(8));
}

} // namespace

std::optional<PagedRows> MultiColumnLedgerRows(Session &session, const QString &code, const QString &direction,
                                               MultiColumnVariant variant)
{
    using namespace periodrows;
    if (code.isEmpty())
        return std::nullopt;
    const QVariantList prefix = {code, ledgersql::upperBound(code)};
    Transaction read(session, Transaction::Mode::Read);
    const qint64 descendants = session.RunSql(kCountDescendantsSql, prefix).value(0, 0).toLongLong();
    if (descendants == 0 || descendants > kMaxMultiColumnAccounts)
        return std::nullopt;
    const VariantRules rules = rulesFor(variant, code, direction);
    const int level = code.size() == 4 ? 7 : code.size() == 10 ? 13 : 10;
    const QVariantList rolled = {level};

    // The sums by descendant and period, and the headings, as the build
    // makes them.
    sumCodesAndPeriods(session, prefix);
    QStringList codes;
    const ResultSet withLines = session.RunSql(u"SELECT DISTINCT 科目代码 FROM temp.户期 ORDER BY 1"_s);
    for (const ResultSet::Row &row : withLines.rows())
        codes.append(row.at(0).toString());
    // An opening line from '8009' on would stay among the rows, a month
    // line from voucher 9999's line 996 on would join a total row.
    const std::optional<QList<int>> counts = periodLineCounts(session, codes, 9'999'996, 9'000'000);
    if (!counts) {
        session.execSql(kDropSumsSql);
        return std::nullopt;
    }
    session.execSql(kDropHeadingsSql);
    session.execSql(kHeadingsSql);
    session.execSql(kFillHeadingsSql, rolled);
    QStringList headings;
    const ResultSet distinct = session.RunSql(kDistinctHeadingsSql);
    for (const ResultSet::Row &row : distinct.rows())
        headings.append(row.at(0).toString());
    session.execSql(kDropHeadingsSql);

    // The synthetic rows of 多栏式1 in a table of their own, pivoted as the
    // build pivots them, then given the build's finishing touches.
    session.execSql(u"DROP TABLE IF EXISTS "_s + kSyntheticTable);
    session.execSql(u"CREATE TEMP TABLE 多栏合计 AS SELECT * FROM 多栏式1 WHERE 0"_s);
    session.execSql(monthRowsSql(rules.month, kSyntheticTable), rolled);
    session.execSql(yearRowsSql(rules.year, kSyntheticTable), rolled);
    session.execSql(balanceRowsSql(rules.balance, kSyntheticTable), rolled);
    session.execSql(carryForwardRowsSql(rules.carry, kSyntheticTable), rolled);
    QHash<QString, ResultSet::Row> gross;
    if (rules.grossTotals) {
        const ResultSet totals = session.RunSql(kGrossTotalRows);
        for (const ResultSet::Row &row : totals.rows())
            gross.insert(QString::number(row.at(0).toLongLong()), row);
    }
    const Pivot pivot(headings, rules.cell);
    ResultSet synthetic = session.RunSql(u"SELECT "_s + pivot.shown + u" FROM (SELECT "_s + pivot.sums + u" FROM "_s
                                             + kSyntheticTable + u" GROUP BY ID) ORDER BY ID"_s,
                                         pivot.params);
    session.execSql(u"DROP TABLE "_s + kSyntheticTable);
    session.execSql(kDropSumsSql);
    const QString openingSql =
        u"SELECT CAST("_s + rules.openingBalance + u" AS REAL) FROM (SELECT ?1 AS 借方金额1, ?2 AS 贷方金额1)"_s;
    QList<ResultSet::Row> rows = synthetic.rows();
    for (ResultSet::Row &row : rows) {
        const QString id = row.at(0).toString();
        const bool opening = id.startsWith(u"8009"_s);
        if (opening)
            row[8] = session.RunSql(openingSql, {row.at(5), row.at(6)}).value(0, 0);
        if (id == u"8009999996"_s) {
            row[4] = u"年初余额"_s;
            row[7] = direction;
        }
        if (const auto sums = gross.constFind(id); sums != gross.constEnd()) {
            row[5] = sums->at(1);
            row[6] = sums->at(2);
        }
        if (opening) {
            row[5] = QVariant();
            row[6] = QVariant();
        }
    }

    QList<Period> periods(kPeriods);
    for (int period = 1; period < kPeriods; ++period)
        periods[period].lines = counts->at(period);
    placeAfter(rows, periods);
    const QList<PeriodNet> before = carried(periodNets(session, codes));
    read.commit();
    const int base = int(pivot.params.size());
    const QString linesSql = u"SELECT "_s + pivot.shown + u" FROM (SELECT "_s + pivot.single + u" FROM ("_s
        + periodLineRows(base, int(codes.size())) + u")) ORDER BY ID"_s;
    const QVariantList headingParams = pivot.params;
    const QVariantList codeParams(codes.cbegin(), codes.cend());
    return periodRows(session, synthetic.columnNames(), periods, {},
                      [session = &session, linesSql, headingParams, codeParams, level, direction,
                       before](int period, int offset, int n) {
                          return session
                              ->RunSql(linesSql, headingParams
                                                     + QVariantList{level, direction, ledgersql::kFirstMonthId,
                                                                    before.at(period).cents, firstIdOf(period),
                                                                    pastIdOf(period), n, offset}
                                                     + codeParams)
                              .rows();
                      });
}

} // namespace tz
