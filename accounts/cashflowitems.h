// Cash-flow items (现流): the three-digit codes voucher lines carry in
// 分录表.流代 for the cash-flow statement, listed, added and deleted by the
// item picker.
#pragma once

#include <QList>
#include <QString>
#include <QStringView>

#include "store/operation.h"

namespace tz {

struct CashFlowItem
{
    QString code; // 代码: three digits
    QString name; // 名称

    // The picker's list line: code, one blank, name.
    QString listLine() const;

    bool operator==(const CashFlowItem &) const = default;
};

// The hint beside the code field: what the code's second digit means.
QString cashFlowCodeHint();

// True for exactly three characters, each one of 0 to 9.
bool isCashFlowCode(QStringView code);

// Every item in ascending code order.
OpResult ListCashFlowItems(Session &session, QList<CashFlowItem> &items, Dialogs &dialogs);

// Adds an item. Refuses, in order: an empty code or name ("代码和名称不能
// 为空！"), a code that is not exactly three digits ("代码为三位数！"), both
// titled "TZ305" without icon; a code already stored ("代码重复,不能增加",
// title "TZ305提示", critical). The name is stored as typed.
OpResult AddCashFlowItem(Session &session, const QString &code, const QString &name, Dialogs &dialogs);

// Deletes an item that no journal line uses. Refuses, in order: an empty
// code ("请单击选择要删除的内容", title "TZ305", no icon), a code that is not
// three digits ("代码为三位数！", same title), a code of no stored item
// ("请单击选择要删除的内容"), a code carried by any line of 分录表, opening
// lines included (code + "  此代码已使用,不能删除!", title "TZ305提示",
// question icon); then asks "是否删除：" + the item's list line + "?" (title
// "tz305"; No refuses silently).
OpResult DeleteCashFlowItem(Session &session, const QString &code, Dialogs &dialogs);

} // namespace tz
