// The balance table: one pass over the journal sums every posted account's
// lines by period, the sums are rolled up to each depth's code prefix, and
// the accounts of 科目表 that qualify are written with the total row.
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

// ?1 the month's period key M as a number, ?2 the longest code listed
// (3 × depth + 1). The period key of a line is the first three digits of
// its ten-digit ID, ID / 10000000 (800 the opening lines, 801..812 the
// months), so comparing it as a number orders it as its text.
//
// The journal is read in stored order (NOT INDEXED): going through the code
// index would fetch every line by a separate page lookup, many times slower
// on an encrypted file than one pass and a sort.
//
// leaf: the sums of each posted code over the lines with P <= M, one
// conditional sum per figure, so the journal is read once. rolled: the leaf
// sums added up to the code prefix of every depth (a line counts at depth k
// when its code is longer than the prefix of depth k-1, as a prefix of that
// length could only be a deeper account's). listed: the accounts of the
// chart at those prefixes that have year-to-date movements or an opening
// amount, with the sign that puts their balance on their own side.
const QString kFillSql = uR"(WITH
periods AS MATERIALIZED (
  SELECT 科目代码 AS code, ID / 10000000 AS p,
         sum(CASE WHEN 借方金额 IS NULL THEN -数量 ELSE 数量 END) AS q,
         sum(ifnull(借方金额, 0) - ifnull(贷方金额, 0)) AS net,
         sum(CASE WHEN 贷方金额 IS NULL THEN 数量 END) AS dq, sum(借方金额) AS da,
         sum(CASE WHEN 借方金额 IS NULL THEN 数量 END) AS cq, sum(贷方金额) AS ca
    FROM 分录表
   WHERE ID / 10000000 <= ?1
   GROUP BY 科目代码, ID / 10000000),
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
         round_half_up(sum(l.oq), 6) AS oq, round_half_up(sum(l.oa), 2) AS oa,
         round_half_up(sum(l.mdq), 6) AS mdq, round_half_up(sum(l.mda), 2) AS mda,
         round_half_up(sum(l.mcq), 6) AS mcq, round_half_up(sum(l.mca), 2) AS mca,
         round_half_up(sum(l.ydq), 6) AS ydq, round_half_up(sum(l.yda), 2) AS yda,
         round_half_up(sum(l.ycq), 6) AS ycq, round_half_up(sum(l.yca), 2) AS yca,
         round_half_up(sum(l.cq), 6) AS cq, round_half_up(sum(l.ca), 2) AS ca
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
SELECT code, name, dir, nullif(sign * oq, 0), nullif(sign * oa, 0), mdq, mda, mcq, mca, ydq, yda, ycq, yca,
       nullif(sign * cq, 0), nullif(sign * ca, 0)
  FROM listed
 WHERE n <= ?2
UNION ALL
SELECT '8', '合  计', NULL, NULL, NULL,
       round_half_up(ifnull(sum(mdq), 0), 6), round_half_up(ifnull(sum(mda), 0), 2),
       round_half_up(ifnull(sum(mcq), 0), 6), round_half_up(ifnull(sum(mca), 0), 2),
       round_half_up(ifnull(sum(ydq), 0), 6), round_half_up(ifnull(sum(yda), 0), 2),
       round_half_up(ifnull(sum(ycq), 0), 6), round_half_up(ifnull(sum(yca), 0), 2),
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
