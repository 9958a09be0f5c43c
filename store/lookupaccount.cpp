// Account lookup.
#include "store/lookupaccount.h"

#include <QHash>

#include "store/digits.h"
#include "store/session.h"

using namespace Qt::Literals::StringLiterals;

namespace tz {

bool isAccountCodeShape(const QString &code)
{
    const qsizetype n = code.size();
    return (n == 4 || n == 7 || n == 10 || n == 13) && isAllDigits(code);
}

void LookupAccount(Session &session, const QString &code, AccountLookup &values)
{
    if (!isAccountCodeShape(code)) {
        values = AccountLookup{};
        return;
    }
    ResultSet own = session.RunSql(u"SELECT 方向, 单位, 规格 FROM 科目表 WHERE 科目代码 = ?"_s, {code});
    if (own.eof())
        return;

    QVariantList ancestors;
    for (qsizetype length = 4; length <= code.size(); length += 3)
        ancestors.append(code.left(length));
    QString placeholders = u"?"_s;
    for (qsizetype i = 1; i < ancestors.size(); ++i)
        placeholders += u",?"_s;
    ResultSet names = session.RunSql(
        u"SELECT 科目代码, 科目名称 FROM 科目表 WHERE 科目代码 IN (%1)"_s.arg(placeholders), ancestors);
    QHash<QString, QString> nameOf;
    for (; !names.eof(); names.moveNext())
        nameOf.insert(names.text(u"科目代码"_s), names.text(u"科目名称"_s));

    QStringList path;
    for (const QVariant &ancestor : std::as_const(ancestors)) {
        const auto it = nameOf.constFind(ancestor.toString());
        if (it != nameOf.constEnd())
            path.append(*it);
    }
    values.accountNamePath = path.join(u'/');
    values.accountDisplay = code + u' ' + values.accountNamePath;
    values.accountDirection = own.text(u"方向"_s);
    values.accountUnit = own.text(u"单位"_s);
    values.accountSpec = own.text(u"规格"_s);
}

} // namespace tz
