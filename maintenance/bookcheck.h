// Checking an account set: the file's integrity and the books' own rules.
#pragma once

#include <QStringList>

#include "store/operation.h"

namespace tz {

// Reads the whole set and lists what breaks (empty when the books are
// sound), each as one line a user can act on:
//  - the file's integrity check (every page, every index), one line per
//    finding: "文件完整性: ..."; a damaged file is reported by these alone,
//    since the rules below would read the pages that failed;
//  - a voucher whose debits and credits differ, compared in mills so an
//    amount's third decimal counts: "M月N号凭证借贷不平: 借方 D, 贷方 C";
//  - an amount that is not whole cents: "分录ID的金额A超过两位小数";
//  - a voucher dated outside its month of the fiscal year (or not dated):
//    "M月N号凭证的日期不在本月: yyyy-MM-dd";
//  - a month not numbered 1..k: "M月凭证号不连续或重复: 共K张, 最大号码X";
//  - a line whose ID does not follow its month and number, or an ID used
//    twice: "分录ID有误: ID";
//  - a journal code that is no detail account of the chart:
//    "分录ID的科目代码C不是明细科目" / "...不在科目表中";
//  - opening lines that do not balance: "年初余额借贷不平: 借方 D, 贷方 C";
//  - a closed month (December aside: it takes postings after closing)
//    with lines not marked closed: "M月已结帐,但有N行分录未标记结帐";
//  - a kept balance (store/keptbalances.h) that differs from the journal:
//    "科目C M月的保存余额与分录不符: 保存借方 D、贷方 C, 分录借方 D、贷方 C"
//    (年初 for the opening lines), and for a cash-flow item
//    "现金流量项目C M月的保存金额与分录不符: 保存 A, 分录 A" (无: none).
// Says "帐套检查完毕,没有发现问题" (information, "TZ305") or
// "帐套检查发现N个问题" (exclamation, "TZ305提示"); a set with problems is
// a refused result. Reads only.
OpResult CheckBooks(Session &session, QStringList &problems, Dialogs &dialogs);

} // namespace tz
