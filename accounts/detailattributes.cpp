// Unit (单位), spec (规格) and FX flag of detail accounts.
#include "accounts/detailattributes.h"

#include "accounts/chartrules.h"
#include "store/guard.h"
#include "store/lookupaccount.h"
#include "store/session.h"

using namespace Qt::Literals::StringLiterals;

namespace tz {

namespace {

QVariant textOrNull(const QString &text)
{
    return text.isEmpty() ? QVariant() : QVariant(text);
}

} // namespace

OpResult SetDetailAttributes(
    Session &session, const QString &code, const DetailAttributes &attributes, Dialogs &dialogs)
{
    if (!isAccountCodeShape(code))
        return refuseInChart(dialogs, noSuchAccountText(code));
    return guarded(dialogs, [&] {
        const ResultSet own = session.RunSql(u"SELECT 明细 FROM 科目表 WHERE 科目代码 = ?"_s, {code});
        if (own.eof())
            return refuseInChart(dialogs, noSuchAccountText(code));
        if (own.text(u"明细"_s) != u"Y"_s)
            return refuseInChart(dialogs, code + u"  不是明细科目,不能设置单位/规格/调汇"_s);
        session.execSql(u"UPDATE 科目表 SET 单位 = ?, 规格 = ?, 调汇 = ? WHERE 科目代码 = ?"_s,
            {textOrNull(attributes.unit), textOrNull(attributes.spec),
                attributes.revalued ? QVariant(u"Y"_s) : QVariant(), code});
        return OpResult::done();
    });
}

} // namespace tz
