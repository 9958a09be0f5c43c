// The fixed-asset cumulative ledger in 固累式.
#include "ledgers/fixedassetledger.h"

#include <algorithm>

#include "ledgers/ledgersql.h"
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
        const Cents cost = roundToCents(session.RunSql(kOpeningDebitSql, {code, kFirstMonthId}).value(0, 0).toDouble());
        const Cents depreciation =
            -roundToCents(session.RunSql(kOpeningDebitSql, {companion, kFirstMonthId}).value(0, 0).toDouble());
        if (cost != 0 || depreciation != 0) {
            session.execSql(kOpeningRowSql,
                            {centsToDouble(cost), centsToDouble(depreciation), centsToDouble(cost - depreciation)});
        }
        session.execSql(kLinesSql, {cost, depreciation, code, companion, kFirstMonthId});
        session.execSql(kTotalsSql);
        const ResultSet last = session.RunSql(kFinalValuesSql);
        if (last.recordCount() > 0) {
            const QVariantList values = last.rows().first();
            const bool anyValue = std::any_of(values.cbegin(), values.cend(),
                                              [](const QVariant &v) { return roundToCents(v.toDouble()) != 0; });
            if (anyValue)
                session.execSql(kCarryForwardSql, values);
        }
        transaction.commit();
        return OpResult::done();
    });
    if (!built.isDone() || assetAccount)
        return built;
    return refuse(dialogs, u"只有固定资产(1601)或无形资产(1701)或生产性生物资产(1621)科目才能生成固累式帐页"_s,
                  applicationTitle(), Icon::Critical);
}

} // namespace tz
