// The posted books as a plain-text journal that the ledger and hledger
// programs read, so the figures can be checked or analysed with them.
//
// File format (UTF-8, one blank line between transactions):
//
//   ; <company> <year>年 帐簿
//
//   2024-01-01 年初余额
//       1001 库存现金    5000.00
//       1002 银行存款:1002001 工行    30000.00
//       ...
//
//   2024-01-15 记-1 销售商品
//       1002 银行存款:1002001 工行    11300.00
//       5001 主营业务收入    -10000.00
//       2221 应交税费:2221001 应交增值税    -1300.00  ; 销项税额
//
// - The opening lines (ID beginning "800") are one transaction dated the
//   first day of the fiscal year, described "年初余额".
// - Every voucher (the lines of one month and number, in ID order) is one
//   transaction dated its 日期 (the first day of its month when it has
//   none), described by 字号-号码 and the first summary of its lines.
// - An account is named level by level, each level its code, one blank and
//   its own name from 科目表 (the bare code when the chart lacks it),
//   levels joined by ':'. Blanks in names are single, ':' and ';' become
//   '：' and '；', so a name can neither end early nor split a level.
// - Amounts carry no commodity, exactly two decimals, debit positive and
//   credit negative (debit minus credit when a line has both, 0.00 when it
//   has neither, as an empty amount would mean "balance this").
// - A line's own summary, when it differs from the description, follows
//   as a comment.
#pragma once

#include <QString>

#include "store/operation.h"

namespace tz {

struct PlainJournalCounts
{
    int transactions = 0; // the opening transaction counts as one
    int postings = 0;
};

// Writes the journal of the open set to `path`, replacing a file there.
// The text goes to a scratch file beside the target, is read back and
// compared, and only then takes the target's name, so a failure never
// leaves a half-written journal under that name.
//
// Refuses (exclamation, "TZ305提示"), writing nothing:
//  - a line whose ID is no ten-digit journal ID of this year (NULL, below
//    8000000000 or from 8130000000): "分录表中有编号不合规的分录,不能导出";
//  - a transaction whose lines do not balance to the cent:
//    "年初余额借贷不平,不能导出" or m + "月" + n + "号凭证借贷不平,不能导出".
// An empty path is refused with "请输入文件名" (critical, "TZ305提示"); a
// file that cannot be written fails with the reason. After success:
// "帐簿已导出: " + path (information, "TZ305").
OpResult ExportPlainJournal(Session &session, const QString &path, Dialogs &dialogs,
                            PlainJournalCounts *counts = nullptr);

} // namespace tz
