// Reading the chart of accounts for the account trees (chart window and
// account picker) and for the detail-attribute grid. A window builds its
// QTreeWidget from these rows in the order given: parents always come
// before their children, siblings in code order.
#pragma once

#include <optional>

#include <QList>
#include <QString>

#include "store/operation.h"

namespace tz {

// One row of 科目表 as the trees and the attribute grid show it.
struct ChartAccount
{
    QString code;          // 科目代码
    QString name;          // 科目名称, as stored
    int level = 0;         // 科目级数, 1 to 4
    QString fullName;      // 科目全称
    QString direction;     // 方向, 借 or 贷
    bool detail = false;   // 明细 = 'Y'
    QString unit;          // 单位 (empty when NULL)
    QString spec;          // 规格 (empty when NULL)
    bool revalued = false; // 调汇 = 'Y'

    // The tree node's key: "x" and the code.
    QString nodeKey() const;
    // The tree node's text: the code, one blank, the trimmed name.
    QString nodeText() const;
    // The key of the node this one hangs under: "x" and the first 4, 7 or 10
    // characters of the code for levels 2, 3 and 4; empty for a root.
    QString parentNodeKey() const;

    bool operator==(const ChartAccount &) const = default;
};

// The rows of the chart level by level (level 1 first), each level in code
// order, restricted to one account class (1 资产 to 5 损益: the code's first
// digit) or all classes for 0. Any other class gives no rows.
OpResult ReadAccountTree(Session &session, int accountClass, QList<ChartAccount> &rows, Dialogs &dialogs);

// The account with this code, or nothing when there is none (a code that
// is not all digits is never looked up).
OpResult ReadAccount(Session &session, const QString &code, std::optional<ChartAccount> &account, Dialogs &dialogs);

// The detail accounts (明细 = 'Y') in code order: the rows of the unit,
// 规格 (spec) and FX-flag grid.
OpResult ReadDetailAccounts(Session &session, QList<ChartAccount> &rows, Dialogs &dialogs);

} // namespace tz
