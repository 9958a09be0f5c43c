// Deleting an account together with every account below it (删除).
#pragma once

#include <QString>

#include "store/operation.h"

namespace tz {

// Deletes the account `code` and all its descendants. Checks, in order,
// each refusal one message and nothing written:
//  1. a code given: "请先从左边选择科目!";
//  2. the code an existing account: "<code>  此科目不存在!";
//  3. no journal line (分录表) on the account or below it:
//     "<code>----本级或下级有数据，不能删除!".
// Then asks "如果删除将连同下级一并自动删除!!\n是否真要删除( <code> )及其下级明细
// 科目？" (titled "注意！特别注意！"); No refuses. In one transaction it
// deletes the accounts and, when the deleted account was the last child of
// its parent, makes the parent a detail account ('Y') again (its opening
// figures stay empty). A top-level account touches no other account.
OpResult DeleteAccount(Session &session, const QString &code, Dialogs &dialogs);

} // namespace tz
