// The two voucher layouts, 凭证打印 (21×11 cm) and 大凭证打印 (25×12 cm):
// same sections and controls, scaled to the form.
#pragma once

#include <QString>

#include "printing/report.h"

namespace tz {

struct VoucherPrintSettings;

// The captions a voucher's pages carry, from its first staging row and the
// totals of all its lines.
struct VoucherHeading
{
    QString word;     // 字号
    QString number;   // 号码
    QString date;     // yyyy-MM-dd
    QString company;
    QString attachments; // 附件
    QString checker;  // 审核
    QString preparer; // 制单
    QString debitTotal;  // "#,#0.00"
    QString creditTotal;
};

// Rows are the staging rows: 月 the page (one group per page), 摘要说明,
// 科目全称, 数量, 借方金额, 贷方金额.
ReportDefinition voucherReport(const VoucherPrintSettings &settings, const VoucherHeading &heading);

// The most entry lines one page of the settings' form holds between its
// header and its totals with the settings' margins, no line lower than its
// text; 0 when the margins leave no room for one.
int maxVoucherLines(const VoucherPrintSettings &settings);

// "YYYY年MM月DD日" of a 'yyyy-MM-dd' date; other text as it is.
QString chineseDate(const QString &isoDate);

} // namespace tz
