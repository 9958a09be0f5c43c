// Adding top-level accounts.
#include "accounts/toplevelaccount.h"

#include "accounts/chartrules.h"
#include "store/changelog.h"
#include "store/dialogs.h"
#include "store/guard.h"
#include "store/lookupaccount.h"
#include "store/pinyininitials.h"
#include "store/session.h"
#include "store/transaction.h"

using namespace Qt::Literals::StringLiterals;

namespace tz {

namespace {

// Four digits, the first one an account class.
bool isTopLevelCode(const QString &code)
{
    return code.size() == 4 && isAccountCodeShape(code) && code.at(0) >= u'1' && code.at(0) <= u'5';
}

} // namespace

OpResult AddTopLevelAccount(Session &session, const NewTopLevelAccount &account, Dialogs &dialogs)
{
    const QString name = cleanAccountName(account.name);
    const QString &code = account.code;
    if (name.isEmpty() || !isBalanceDirection(account.direction) || !isTopLevelCode(code))
        return refuseInChart(dialogs, u"代码4位,首位为1-5,方向,名称"_s, chartInputTitle());
    const QString initials = account.initials.trimmed().isEmpty() ? PinyinInitials(name) : account.initials.trimmed();

    // The duplicate checks and the insert share one write transaction.
    std::optional<PendingRefusal> refusal;
    const OpResult added = guarded(dialogs, [&] {
        Transaction transaction(session);
        if (!session.RunSql(u"SELECT 1 FROM 科目表 WHERE 科目代码 = ?"_s, {code}).eof())
            refusal = PendingRefusal{code + u"  此代码已存在"_s, applicationTitle(), Icon::None};
        else if (!session
                      .RunSql(u"SELECT 1 FROM 科目表 WHERE length(科目代码) = 4 AND 科目名称 = ? COLLATE NOCASE"_s,
                              {name})
                      .eof())
            refusal = PendingRefusal{name + u"  同级中名称不能相同"_s, applicationTitle(), Icon::None};
        if (refusal)
            return OpResult::refused();
        session.execSql(u"INSERT INTO 科目表 (序号, 科目代码, 科目级数, 科目名称, 明细, 拼音, 方向, 科目全称) "
                        "SELECT ifnull(max(序号), 0) + 1, ?, 1, ?, 'Y', ?, ?, ? FROM 科目表"_s,
            {code, name, initials, account.direction, name});
        logOperation(session, u"增加科目"_s, 0, code + u' ' + name);
        transaction.commit();
        return OpResult::done();
    });
    if (refusal)
        return refuse(dialogs, *refusal);
    if (!added.isDone())
        return added;
    dialogs.show(u"科目增加成功"_s, applicationTitle(), Icon::None);
    return OpResult::done();
}

} // namespace tz
