// The voucher summary: the month's lines grouped by top-level code.
#include "ledgers/vouchersummary.h"

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

// ?1 the month. The month's lines are found through the (月, 号码) index.
const QString kAccountRowsSql = uR"(INSERT INTO 凭证汇总表 (科目代码, 科目名称, 借方金额, 贷方金额)
SELECT f.科目代码, f.科目全称, a.借方金额, a.贷方金额
  FROM 科目表 f
  JOIN (SELECT substr(科目代码, 1, 4) AS 科目代码,
               round_half_up(sum(借方金额), 2) AS 借方金额, round_half_up(sum(贷方金额), 2) AS 贷方金额
          FROM 分录表 WHERE 月 = ?1 GROUP BY substr(科目代码, 1, 4)) a ON f.科目代码 = a.科目代码
 WHERE a.贷方金额 <> 0 OR a.借方金额 <> 0)"_s;

const QString kTotalRowSql = uR"(INSERT INTO 凭证汇总表 (科目代码, 科目名称, 借方金额, 贷方金额)
SELECT '8', '合 计', round_half_up(sum(借方金额), 2), round_half_up(sum(贷方金额), 2)
  FROM 分录表 WHERE 月 = ?1)"_s;

} // namespace

OpResult BuildVoucherSummary(Session &session, const QString &month, Dialogs &dialogs)
{
    const std::optional<int> m = monthOfChoice(month);
    const OpResult built = guarded(dialogs, [&] {
        Transaction transaction(session, Transaction::Mode::WorkTables);
        emptyWorkTables(session, {u"凭证汇总表"_s});
        if (m) {
            session.execSql(kAccountRowsSql, {*m});
            session.execSql(kTotalRowSql, {*m});
        }
        transaction.commit();
        return OpResult::done();
    });
    if (!built.isDone())
        return built;
    if (!m)
        return refuse(dialogs, u"请选择月份"_s, applicationTitle(), Icon::Critical);
    return OpResult::done();
}

OpResult ReadVoucherSummary(Session &session, ResultSet &rows, Dialogs &dialogs)
{
    return guarded(dialogs, [&] {
        rows = session.RunSql(u"SELECT 科目代码, 科目名称, 借方金额, 贷方金额 FROM 凭证汇总表 ORDER BY 科目代码"_s);
        return OpResult::done();
    });
}

QString voucherSummaryCaption(const QString &month, int rows)
{
    return month + u" 月份科目汇总表   [共"_s + QString::number(rows) + u"条记录]"_s;
}

} // namespace tz
