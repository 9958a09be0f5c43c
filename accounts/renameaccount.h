// Renaming an account or changing its balance direction (修改), with the
// new full name carried down to every account below it.
#pragma once

#include <QString>

#include "store/operation.h"

namespace tz {

// What the chart window collects for a rename.
struct AccountRename
{
    QString code;      // the account double-clicked in the tree
    QString name;      // the new name as typed; cleaned by cleanAccountName()
    QString direction; // 借 or 贷
    QString initials;  // pinyin initials as shown (editable); empty: computed from the name
};

// Gives the account a new name, direction and initials. Checks, in order,
// each refusal one message and nothing written:
//  1. code, name and direction given, the direction 借 or 贷:
//     "代码,名称,方向不能为空";
//  2. the code an existing account: "<code>  此科目不存在!";
//  3. no account with the new full name (for a top-level account the name,
//     else the parent's part of the old full name followed by the name):
//     "<new full name> --- 此科目已存在!不能修改". Keeping the name and
//     changing only the direction is therefore refused too.
// Then asks "是否把( <old> )修改为( <new> )?, 所有涉及到的科目(包括凭证)都会自动
// 转换,是否现在修改?" (titled "****注意提示!!"); No refuses. In one
// transaction it writes the account's name, full name, direction and
// initials and replaces the old full name at the front of every account
// below it by the new one. Codes and journal lines stay as they are;
// vouchers refer to accounts by code and so show the new name.
OpResult RenameAccount(Session &session, const AccountRename &rename, Dialogs &dialogs);

} // namespace tz
