// The balance table: the kept totals of every posted account by period are
// rolled up to each depth's code prefix, and the accounts of 科目表 that
// qualify are written with the total row.
#include "ledgers/balancetable.h"

#include "ledgers/ledgersql.h"
#include "ledgers/tablechoice.h"
#include "store/dialogs.h"
#include "store/guard.h"
#include "store/session.h"
#include "store/worktables.h"
#include "store/transaction.h"

using namespace Qt::Literals::StringLiterals;

namespace tz {

namespace {

// ?1 the month's period key M (800 + month), ?2 the longest code listed
// (3 × depth + 1).
//
// The journal's totals are read from the rows the posting keeps per
// account and period (科目月计, store/keptbalances.h), not from its lines:
// accounts × periods, whatever the year's size. Amounts stay whole cents
// until the rows are written, so every sum is exact; a side's sum is none
// (NULL) where no line had an amount on it, as a sum over the lines gives.
//
// leaf: the sums of each posted code over the periods P <= M. rolled: the
// leaf sums added up to the code prefix of every depth (a line counts at
// depth k when its code is longer than the prefix of depth k-1, as a
// prefix of that length could only be a deeper account's). listed: the
// accounts of the chart at those prefixes that have year-to-date movements
// or an opening amount, with the sign that puts their balance on their own
// side.
const QString kFillSql = uR"(WITH
periods AS (
  SELECT 科目代码 AS code, 期 AS p, 净数 AS q, 借方 - 贷方 AS net,
         CASE WHEN 借数笔 > 0 THEN 借数 END AS dq, CASE WHEN 借笔 > 0 THEN 借方 END AS da,
         CASE WHEN 贷数笔 > 0 THEN 贷数 END AS cq, CASE WHEN 贷笔 > 0 THEN 贷方 END AS ca
    FROM 科目月计
   WHERE 期 BETWEEN 0 AND ?1),
leaf AS (
  SELECT code,
         sum(CASE WHEN p < ?1 THEN q END) AS oq, sum(CASE WHEN p < ?1 THEN net END) AS oa,
         sum(CASE WHEN p = ?1 THEN dq END) AS mdq, sum(CASE WHEN p = ?1 THEN da END) AS mda,
         sum(CASE WHEN p = ?1 THEN cq END) AS mcq, sum(CASE WHEN p = ?1 THEN ca END) AS mca,
         sum(CASE WHEN p > 800 THEN dq END) AS ydq, sum(CASE WHEN p > 800 THEN da END) AS yda,
         sum(CASE WHEN p > 800 THEN cq END) AS ycq, sum(CASE WHEN p > 800 THEN ca END) AS yca,
         sum(q) AS cq, sum(net) AS ca
    FROM periods
   GROUP BY code),
depths (n, indent) AS (VALUES (4, ''), (7, ' '), (10, '   '), (13, '    ')),
rolled AS (
  SELECT d.n AS n, d.indent AS indent, substr(l.code, 1, d.n) AS code,
         round_half_up(sum(l.oq), 6) AS oq, sum(l.oa) AS oa,
         round_half_up(sum(l.mdq), 6) AS mdq, sum(l.mda) AS mda,
         round_half_up(sum(l.mcq), 6) AS mcq, sum(l.mca) AS mca,
         round_half_up(sum(l.ydq), 6) AS ydq, sum(l.yda) AS yda,
         round_half_up(sum(l.ycq), 6) AS ycq, sum(l.yca) AS yca,
         round_half_up(sum(l.cq), 6) AS cq, sum(l.ca) AS ca
    FROM depths d JOIN leaf l ON length(l.code) > d.n - 3
   GROUP BY d.n, substr(l.code, 1, d.n)),
listed AS MATERIALIZED (
  SELECT r.n AS n, f.科目代码 AS code,
         CASE WHEN r.indent = '' THEN f.科目名称 ELSE r.indent || ifnull(f.科目名称, '') END AS name,
         f.方向 AS dir, CASE WHEN f.方向 = '借' THEN 1 ELSE -1 END AS sign,
         r.oq, r.oa, r.mdq, r.mda, r.mcq, r.mca, r.ydq, r.yda, r.ycq, r.yca, r.cq, r.ca
    FROM rolled r JOIN 科目表 f ON f.科目代码 = r.code
   WHERE r.yda <> 0 OR r.yca <> 0 OR r.oa <> 0)
INSERT INTO 数量式余额表 (科目代码, 科目名称, 方向, 期初数量, 期初金额, 本期借数, 本期借金, 本期贷数, 本期贷金,
                          累计借数, 累计借金, 累计贷数, 累计贷金, 期末数量, 期末金额)
SELECT code, name, dir, nullif(sign * oq, 0), nullif(sign * oa, 0) / 100.0, mdq, mda / 100.0, mcq, mca / 100.0,
       ydq, yda / 100.0, ycq, yca / 100.0, nullif(sign * cq, 0), nullif(sign * ca, 0) / 100.0
  FROM listed
 WHERE n <= ?2
UNION ALL
SELECT '8', '合  计', NULL, NULL, NULL,
       round_half_up(ifnull(sum(mdq), 0), 6), ifnull(sum(mda), 0) / 100.0,
       round_half_up(ifnull(sum(mcq), 0), 6), ifnull(sum(mca), 0) / 100.0,
       round_half_up(ifnull(sum(ydq), 0), 6), ifnull(sum(yda), 0) / 100.0,
       round_half_up(ifnull(sum(ycq), 0), 6), ifnull(sum(yca), 0) / 100.0,
       NULL, NULL
  FROM listed
 WHERE n = 4)"_s;

const QString kAmountColumns =
    u"科目代码, 科目名称, 方向, 期初金额, 本期借金, 本期贷金, 累计借金, 累计贷金, 期末金额"_s;
const QString kAllColumns = u"科目代码, 科目名称, 方向, 期初数量, 期初金额, 本期借数, 本期借金, 本期贷数, 本期贷金, "
                            "累计借数, 累计借金, 累计贷数, 累计贷金, 期末数量, 期末金额"_s;

} // namespace

OpResult BuildBalanceTable(Session &session, const QString &month, const QString &depth, Dialogs &dialogs)
{
    const std::optional<int> m = monthOfChoice(month);
    const bool accepted = m && !depth.trimmed().isEmpty();
    const OpResult built = guarded(dialogs, [&] {
        Transaction transaction(session, Transaction::Mode::WorkTables);
        emptyWorkTables(session, {u"数量式余额表"_s});
        if (accepted)
            session.execSql(kFillSql, {800 + *m, 3 * depthOfChoice(depth) + 1});
        transaction.commit();
        return OpResult::done();
    });
    if (!built.isDone())
        return built;
    if (!accepted)
        return refuse(dialogs, u"请选择月份和级数"_s, applicationTitle(), Icon::Critical);
    return OpResult::done();
}

OpResult ReadBalanceTable(Session &session, BalanceView view, ResultSet &rows, Dialogs &dialogs)
{
    return guarded(dialogs, [&] {
        rows = session.RunSql(u"SELECT "_s + (view == BalanceView::Amount ? kAmountColumns : kAllColumns)
                              + u" FROM 数量式余额表 ORDER BY 科目代码"_s);
        return OpResult::done();
    });
}

QString balanceTableCaption(BalanceView view, const QString &month, int rows)
{
    const QString kind = view == BalanceView::Amount ? u" 月份金额式余额表  [共"_s : u" 月份数量式余额   [共"_s;
    return month + kind + QString::number(rows) + u"条记录]"_s;
}

} // namespace tz
