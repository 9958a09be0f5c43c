// Deleting accounts.
#include "accounts/deleteaccount.h"

#include "accounts/chartrules.h"
#include "store/checkedwrite.h"
#include "store/changelog.h"
#include "store/dialogs.h"
#include "store/guard.h"
#include "store/lookupaccount.h"
#include "store/session.h"

using namespace Qt::Literals::StringLiterals;

namespace tz {

OpResult DeleteAccount(Session &session, const QString &code, Dialogs &dialogs)
{
    if (code.isEmpty())
        return refuseInChart(dialogs, u"请先从左边选择科目!"_s);
    // Only digits reach the patterns below, so the account and its
    // descendants are exactly the codes that begin with it.
    if (!isAccountCodeShape(code))
        return refuseInChart(dialogs, noSuchAccountText(code));
    const QString subtree = code + u'*';

    // The account must exist and neither it nor a descendant may carry a
    // journal line: checked before the question and again under the write
    // lock, so a voucher posted meanwhile is never left without its account.
    const auto check = [&]() -> std::optional<PendingRefusal> {
        if (session.RunSql(u"SELECT 1 FROM 科目表 WHERE 科目代码 = ?"_s, {code}).eof())
            return PendingRefusal{noSuchAccountText(code), chartTitle(), Icon::Question};
        if (!session.RunSql(u"SELECT 1 FROM 分录表 WHERE 科目代码 GLOB ? LIMIT 1"_s, {subtree}).eof())
            return PendingRefusal{code + u"----本级或下级有数据，不能删除!"_s, chartTitle(), Icon::Question};
        return std::nullopt;
    };
    const auto ask = [&] {
        return dialogs.ask(u"如果删除将连同下级一并自动删除!!\n是否真要删除( "_s + code + u" )及其下级明细科目？"_s,
                           u"注意！特别注意！"_s);
    };
    return checkAskWrite(session, dialogs, check, ask, [&] {
        session.execSql(u"DELETE FROM 科目表 WHERE 科目代码 GLOB ?"_s, {subtree});
        if (code.size() > 4) {
            const QString parent = code.chopped(3);
            const bool childLeft
                = !session
                       .RunSql(u"SELECT 1 FROM 科目表 WHERE 科目代码 GLOB ? LIMIT 1"_s, {parent + u"[0-9][0-9][0-9]"_s})
                       .eof();
            if (!childLeft)
                session.execSql(u"UPDATE 科目表 SET 明细 = 'Y' WHERE 科目代码 = ?"_s, {parent});
        }
        logOperation(session, u"删除科目"_s, 0, code);
    });
}

} // namespace tz
