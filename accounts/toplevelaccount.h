// Adding a top-level (general-ledger) account: the 增加总帐科目 dialog.
#pragma once

#include <QString>

#include "store/operation.h"

namespace tz {

// What the dialog collects.
struct NewTopLevelAccount
{
    QString code;      // four digits, the first the account class 1 to 5
    QString name;      // as typed; cleaned by cleanAccountName()
    QString direction; // 借 or 贷
    QString initials;  // pinyin initials as shown (editable); empty: computed from the name
};

// Adds a level-1 account. Checks, in order, each refusal one message and
// nothing written:
//  1. a name, a direction 借 or 贷, and a code of four digits whose first
//     is 1 to 5: "代码4位,首位为1-5,方向,名称" (titled "请检查如下内容↓",
//     question icon);
//  2. no account with this code: "<code>  此代码已存在" (plain box);
//  3. no other top-level account with this name: "<name>  同级中名称不能相同"
//     (plain box); names need only differ among top-level accounts.
// Writes the account as a detail account ('Y') whose full name is its name,
// then says "科目增加成功" (plain box).
OpResult AddTopLevelAccount(Session &session, const NewTopLevelAccount &account, Dialogs &dialogs);

} // namespace tz
