// The query window's 下一 and 上一: the account after or before the one in
// the code box, in code order. In the general-ledger format the steps go
// from top-level account to top-level account; otherwise through every
// account of any depth.
#pragma once

#include <QString>

#include "store/operation.h"

namespace tz {

struct AccountStep {
    QString code; // 科目代码
    QString fullName; // 科目全称
    QString direction; // 方向
    QString unit; // 单位, empty when none
    QString spec; // 规格, empty when none
    QString topName; // the top-level account's name: 科目全称 before its first "/" below level 1

    bool operator==(const AccountStep &) const = default;
};

enum class StepDirection { Next, Previous };

// Finds the neighbour of `code` (trimmed). Past the first or last account:
// "没有了" (critical, "TZ305"), refused, `step` untouched.
OpResult StepAccount(Session &session, const QString &code, bool topLevelOnly, StepDirection direction,
    AccountStep &step, Dialogs &dialogs);

} // namespace tz
