// Account navigation of the query window.
#include "ledgers/accountstep.h"

#include "store/dialogs.h"
#include "store/guard.h"
#include "store/session.h"

using namespace Qt::Literals::StringLiterals;

namespace tz {

OpResult StepAccount(Session &session, const QString &code, bool topLevelOnly, StepDirection direction,
    AccountStep &step, Dialogs &dialogs)
{
    const bool next = direction == StepDirection::Next;
    const QString from = topLevelOnly ? code.trimmed().left(4) : code.trimmed();
    QString sql = u"SELECT 科目代码, 科目全称, 方向, 单位, 规格 FROM 科目表 WHERE 科目代码 "_s
        + (next ? u">"_s : u"<"_s) + u" ?"_s;
    if (topLevelOnly)
        sql += u" AND length(科目代码) = 4"_s;
    sql += next ? u" ORDER BY 科目代码 LIMIT 1"_s : u" ORDER BY 科目代码 DESC LIMIT 1"_s;
    return guarded(dialogs, [&] {
        const ResultSet rows = session.RunSql(sql, {from});
        if (rows.eof())
            return refuse(dialogs, u"没有了"_s, applicationTitle(), Icon::Critical);
        const auto text = [&rows](int column) {
            const QVariant value = rows.value(0, column);
            return value.isNull() ? QString() : value.toString();
        };
        AccountStep found;
        found.code = text(0);
        found.fullName = text(1);
        found.direction = text(2);
        found.unit = text(3);
        found.spec = text(4);
        found.topName = found.code.size() > 4 ? found.fullName.section(u'/', 0, 0) : found.fullName;
        step = found;
        return OpResult::done();
    });
}

} // namespace tz
