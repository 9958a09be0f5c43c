// Adding a detail account under an existing account (增明细), and the
// sub-code the chart window proposes for it.
#pragma once

#include <QString>

#include "store/operation.h"

namespace tz {

// The three digits proposed for the next sub-account of `parentCode`: the
// number of its direct children plus one, as three digits ("001"). It
// counts, it does not look for a gap: with children 001, 002 and 004 it
// proposes 004, which the add then refuses as an existing code; the user
// types the free digits instead. A parent that is not an account code gets
// an empty proposal.
OpResult ProposeSubCode(Session &session, const QString &parentCode, QString &subCode, Dialogs &dialogs);

// The sub-code after `subCode` ("004" -> "005"), offered once an account is
// added so that the next sibling can follow at once.
QString followingSubCode(const QString &subCode);

// What the chart window collects for a new detail account.
struct NewDetailAccount
{
    QString parentCode; // the account double-clicked in the tree
    QString subCode;    // three digits appended to the parent's code
    QString name;       // as typed; cleaned by cleanAccountName()
    QString direction;  // 借 or 贷
    QString initials;   // pinyin initials as shown (editable); empty: computed from the name
};

// Adds the detail account parentCode + subCode. Checks, in order, each
// refusal one message, nothing written:
//  1. parent, sub-code, name and direction given, the direction 借 or 贷:
//     "代码,名称,方向不能为空" (titled "请检查如下内容↓");
//  2. the sub-code three digits: "代码应为三位整数";
//  3. the parent not at level 4 (13 digits): "不能再增加下级明细";
//  4. the parent an existing account: "<parent>  此科目不存在!";
//  5. no account with the new code: "<code> <full name>  此代码已存在!";
//  6. no account with the new full name (parent's full name, "/", name):
//     "<its code><full name>  此明细科目已存在!".
// When journal lines (分录表) are booked on the parent it asks
// "<parent>---代码已有数据!如果增加明细将默认为此明细.是否增加？" (titled
// "特别提示"); No refuses and changes nothing. Then, in one transaction:
// the parent's journal lines move to the new account; the new account is
// written (level one below the parent, full name parent's full name "/"
// name, detail 'Y', the direction and initials given; a parent flagged
// 调汇 = 'Y' gives it its 单位, 规格 and the flag) and takes over the
// parent's opening figures (数量, 借方金额, 贷方金额); the parent becomes a
// non-detail account ('') without opening figures. No message on success.
OpResult AddDetailAccount(Session &session, const NewDetailAccount &account, Dialogs &dialogs);

} // namespace tz
