// Reading the chart of accounts.
#include "accounts/accounttree.h"

#include "accounts/chartrules.h"
#include "store/guard.h"
#include "store/lookupaccount.h"
#include "store/session.h"

using namespace Qt::Literals::StringLiterals;

namespace tz {

namespace {

const QString kColumns = u"SELECT 科目代码, 科目名称, 科目级数, 科目全称, 方向, 明细, 单位, 规格, 调汇 FROM 科目表 "_s;

QList<ChartAccount> accountsOf(const ResultSet &rows)
{
    QList<ChartAccount> accounts;
    accounts.reserve(rows.recordCount());
    for (int i = 0; i < rows.recordCount(); ++i) {
        accounts.append({rows.value(i, 0).toString(), rows.value(i, 1).toString(), rows.value(i, 2).toInt(),
            rows.value(i, 3).toString(), rows.value(i, 4).toString(), rows.value(i, 5).toString() == u"Y"_s,
            rows.value(i, 6).toString(), rows.value(i, 7).toString(), rows.value(i, 8).toString() == u"Y"_s});
    }
    return accounts;
}

} // namespace

QString ChartAccount::nodeKey() const
{
    return u"x"_s + code.trimmed();
}

QString ChartAccount::nodeText() const
{
    return code + u' ' + name.trimmed();
}

QString ChartAccount::parentNodeKey() const
{
    if (level < 2 || level > 4)
        return {};
    return u"x"_s + code.left(3 * level - 2);
}

OpResult ReadAccountTree(Session &session, int accountClass, QList<ChartAccount> &rows, Dialogs &dialogs)
{
    rows.clear();
    if (!isAccountClass(accountClass))
        return OpResult::done();
    return guarded(dialogs, [&] {
        // One query in the order the tree is filled: level by level, each
        // level in code order. The class is the first digit, compared as text.
        if (accountClass == 0) {
            rows = accountsOf(
                session.RunSql(kColumns + u"WHERE 科目级数 BETWEEN 1 AND 4 ORDER BY 科目级数, 科目代码"_s));
        } else {
            rows = accountsOf(session.RunSql(kColumns
                    + u"WHERE substr(科目代码, 1, 1) = ? AND 科目级数 BETWEEN 1 AND 4 "
                      "ORDER BY 科目级数, 科目代码"_s,
                {QString::number(accountClass)}));
        }
        return OpResult::done();
    });
}

OpResult ReadAccount(Session &session, const QString &code, std::optional<ChartAccount> &account, Dialogs &dialogs)
{
    account.reset();
    if (!isAccountCodeShape(code))
        return OpResult::done();
    return guarded(dialogs, [&] {
        const QList<ChartAccount> found = accountsOf(session.RunSql(kColumns + u"WHERE 科目代码 = ?"_s, {code}));
        if (!found.isEmpty())
            account = found.first();
        return OpResult::done();
    });
}

OpResult ReadDetailAccounts(Session &session, QList<ChartAccount> &rows, Dialogs &dialogs)
{
    rows.clear();
    return guarded(dialogs, [&] {
        rows = accountsOf(session.RunSql(kColumns + u"WHERE 明细 = 'Y' ORDER BY 科目代码"_s));
        return OpResult::done();
    });
}

} // namespace tz
