// The balance table (科目余额表), the voucher summary (凭证汇总表) and the
// three statements (资产表, 利润表, 现流表) as printed reports over the
// tables the query and statements windows have filled.
#pragma once

#include <QString>

#include "printing/pagelayout.h"
#include "statements/statementtable.h"
#include "store/operation.h"

namespace tz {

// 数量式余额表 in code order: 科目代码, 科目名称, 期初金额, 本期借金,
// 本期贷金, 累计借金, 累计贷金, 期末金额, 方向, headed "会计期间:" + year +
// "年" + month + "月" and " 单位:" + company; landscape, left margin 1200
// twips + `leftCm`, top 1000 twips.
OpResult LayOutBalanceReport(Session &session, const QString &month, double leftCm, Document &doc,
                             Dialogs &dialogs);

// 凭证汇总表 in code order: 科目代码, 科目名称, 借方金额, 贷方金额, headed as
// the balance table; left margin 1300, top 1440, right 500 twips.
OpResult LayOutSummaryReport(Session &session, const QString &month, Document &doc, Dialogs &dialogs);

// The statement's template rows as evaluated, in line order, with its
// title, form number, date (a balance sheet the month's last day
// "YYYY年MM月DD日", the others year + "年" + month + "月"), " 单位:" +
// company, "单位:元" and the preparer (the operator).
OpResult LayOutStatementReport(Session &session, StatementTable table, int month, Document &doc, Dialogs &dialogs);

} // namespace tz
