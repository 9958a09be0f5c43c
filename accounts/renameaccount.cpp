// Renaming accounts.
#include "accounts/renameaccount.h"

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

OpResult RenameAccount(Session &session, const AccountRename &rename, Dialogs &dialogs)
{
    const QString &code = rename.code;
    const QString name = cleanAccountName(rename.name);
    if (code.isEmpty() || name.isEmpty() || !isBalanceDirection(rename.direction))
        return refuseInChart(dialogs, u"代码,名称,方向不能为空"_s);
    if (!isAccountCodeShape(code))
        return refuseInChart(dialogs, noSuchAccountText(code));
    const QString initials = rename.initials.trimmed().isEmpty() ? PinyinInitials(name) : rename.initials.trimmed();

    return guarded(dialogs, [&] {
        const ResultSet own = session.RunSql(u"SELECT 科目名称, 科目全称 FROM 科目表 WHERE 科目代码 = ?"_s, {code});
        if (own.eof())
            return refuseInChart(dialogs, noSuchAccountText(code));
        const QString oldName = own.text(u"科目名称"_s);
        const QString oldFullName = own.text(u"科目全称"_s);
        // The old full name without the old name is the parent's full name
        // and its "/".
        const QString fullName = code.size() == 4 ? name : oldFullName.left(oldFullName.size() - oldName.size()) + name;

        if (!session.RunSql(u"SELECT 1 FROM 科目表 WHERE 科目全称 = ? COLLATE NOCASE LIMIT 1"_s, {fullName}).eof())
            return refuseInChart(dialogs, fullName + u" --- 此科目已存在!不能修改"_s);
        if (!dialogs.ask(u"是否把( "_s + oldName + u" )修改为( "_s + name
                    + u" )?, 所有涉及到的科目(包括凭证)都会自动转换,是否现在修改?"_s,
                u"****注意提示!!"_s))
            return OpResult::refused();

        Transaction transaction(session);
        session.execSql(u"UPDATE 科目表 SET 科目名称 = ?, 科目全称 = ?, 方向 = ?, 拼音 = ? WHERE 科目代码 = ?"_s,
            {name, fullName, rename.direction, initials, code});
        // Every longer code that starts with this one: the new full name
        // followed by what came after the old full name. length() and
        // substr() count characters alike, whatever the names hold.
        session.execSql(u"UPDATE 科目表 SET 科目全称 = ? || substr(科目全称, length(?) + 1) "
                        "WHERE length(科目代码) > ? AND substr(科目代码, 1, ?) = ?"_s,
            {fullName, oldFullName, code.size(), code.size(), code});
        logOperation(session, u"修改科目"_s, 0, code + u' ' + oldFullName + u" -> "_s + fullName);
        transaction.commit();
        return OpResult::done();
    });
}

} // namespace tz
