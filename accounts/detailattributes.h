// The three attributes of a detail account that the chart window's grid
// edits: unit (单位) and spec (规格) (shown on quantity ledger pages) and the
// FX flag that puts the account into the period-end revaluation.
#pragma once

#include <QString>

#include "store/operation.h"

namespace tz {

struct DetailAttributes

{
    QString unit;          // 单位; empty is stored as NULL
    QString spec;          // 规格; empty is stored as NULL
    bool revalued = false; // 调汇: 'Y' when set, NULL when not

    bool operator==(const DetailAttributes &) const = default;
};

// Writes the three attributes of one detail account, as the grid does when
// the cursor leaves an edited row. Refuses a code that names no account
// ("<code>  此科目不存在!") and an account with sub-accounts
// ("<code>  不是明细科目,不能设置单位/规格/调汇"): the grid offers detail
// accounts only, and a flag on a parent would count its children twice.
// No message on success.
OpResult SetDetailAttributes(
    Session &session, const QString &code, const DetailAttributes &attributes, Dialogs &dialogs);

} // namespace tz
