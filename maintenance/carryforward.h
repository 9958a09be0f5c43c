// 年度过帐: next year's account set, made from this one with the closing
// balances carried in as its opening balances.
#pragma once

#include <QString>

#include "store/operation.h"

namespace tz {

// Next year's file: the set's path with its last two characters (the
// year's digits) raised by one ("华新.Y24" -> "华新.Y25"); empty for Y99,
// which has no successor in the two-digit naming.
QString nextYearPath(const QString &setPath);

// Refuses a set ending in Y99: "本帐套已是99年度,两位年号没有下一年度,不能过帐"
// (exclamation, "TZ305提示"); an existing next-year file: YY +
// "年的帐套已经在同一文件夹内存在,详细的帐套路径为: " + path + "\n\n" +
// "如果要重新过帐请拷走帐套或删除帐套再过帐" (no icon, "TZ305"). Asks the
// five-point question titled "TZ305提示：请一定要看如下内容"; No ends
// silently. Then this year's set is copied as it stands (it is never
// changed) into a scratch file beside the new one, where, in one
// transaction: every account's closing balance over all its journal lines,
// rounded to the cent, with its quantity (debit lines added, credit lines
// taken off), becomes an opening line "800" + seven digits in code order
// (a debit-side account as 借方金额, a credit-side one as 贷方金额 of the
// negated balance, the quantity negated likewise; balances below 0.01
// dropped), the journal being emptied first, and 科目表's opening columns
// take the same figures. The new file must open with the key, pass the
// integrity check, balance, and carry each account's closing balance
// exactly; only then does it take its name (never over a file that
// appeared meanwhile). "1.恭喜你过帐成功!\n\n2.帐套路径(名): " + path +
// "\n\n3.请重新登陆新帐套" (no icon, "TZ305提示"). `created` receives the path.
OpResult CarryForward(Session &session, Dialogs &dialogs, QString *created = nullptr);

} // namespace tz
