// Account search for the picker.
#include "accounts/accountsearch.h"

#include "accounts/chartrules.h"
#include "store/guard.h"
#include "store/session.h"

using namespace Qt::Literals::StringLiterals;

namespace tz {

QString AccountSearchHit::itemText() const
{
    return code + u' ' + fullName;
}

OpResult SearchAccounts(
    Session &session, const QString &text, int accountClass, QList<AccountSearchHit> &hits, Dialogs &dialogs)
{
    hits.clear();
    if (text.isEmpty() || !isAccountClass(accountClass))
        return OpResult::done();
    // The typed text is escaped so LIKE takes it literally.
    QString literal = text;
    literal.replace(u'\\', u"\\\\"_s).replace(u'%', u"\\%"_s).replace(u'_', u"\\_"_s);
    const QString pattern = u'%' + literal + u'%';
    QString sql = u"SELECT 科目代码, 科目全称 FROM 科目表 "
                  "WHERE (科目名称 LIKE ?1 ESCAPE '\\' OR 拼音 LIKE ?1 ESCAPE '\\' OR 科目代码 LIKE ?1 ESCAPE '\\') "
                  "AND 明细 = 'Y' "_s;
    QVariantList params {pattern};
    if (accountClass != 0) {
        sql += u"AND substr(科目代码, 1, 1) = ?2 "_s;
        params.append(QString::number(accountClass));
    }
    sql += u"ORDER BY 科目代码"_s;
    return guarded(dialogs, [&] {
        const ResultSet rows = session.RunSql(sql, params);
        hits.reserve(rows.recordCount());
        for (int i = 0; i < rows.recordCount(); ++i)
            hits.append({rows.value(i, 0).toString(), rows.value(i, 1).toString()});
        return OpResult::done();
    });
}

} // namespace tz
