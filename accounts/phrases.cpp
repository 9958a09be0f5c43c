// Summary phrases.
#include "accounts/phrases.h"

#include "store/dialogs.h"
#include "store/guard.h"
#include "store/session.h"
#include "store/transaction.h"

using namespace Qt::Literals::StringLiterals;

namespace tz {

OpResult ListPhrases(Session &session, QStringList &phrases, Dialogs &dialogs)
{
    phrases.clear();
    return guarded(dialogs, [&] {
        const ResultSet rows = session.RunSql(u"SELECT 名称 FROM 摘要 ORDER BY 名称"_s);
        for (const ResultSet::Row &row : rows.rows())
            phrases.append(row.at(0).toString());
        return OpResult::done();
    });
}

OpResult AddPhrase(Session &session, const QString &phrase, Dialogs &dialogs)
{
    if (phrase.isEmpty()) {
        dialogs.show(u"名称不能为空！"_s, applicationTitle(), Icon::None);
        return OpResult::refused(u"名称不能为空！"_s);
    }
    bool duplicate = false;
    const OpResult added = guarded(dialogs, [&] {
        // The books have always matched phrases without regard to letter case.
        Transaction transaction(session);
        duplicate = !session.RunSql(u"SELECT 1 FROM 摘要 WHERE 名称 = ? COLLATE NOCASE LIMIT 1"_s, {phrase}).eof();
        if (!duplicate)
            session.execSql(u"INSERT INTO 摘要 (名称) VALUES (?)"_s, {phrase});
        transaction.commit();
        return OpResult::done();
    });
    if (!added.isDone())
        return added;
    if (duplicate) {
        dialogs.show(u"名称重复,不能增加"_s, u"TZ305提示"_s, Icon::Critical);
        return OpResult::refused(u"名称重复,不能增加"_s);
    }
    return OpResult::done();
}

OpResult DeletePhrase(Session &session, const QString &phrase, Dialogs &dialogs)
{
    if (phrase.isEmpty()) {
        dialogs.show(u"请单击选择要删除的内容"_s, applicationTitle(), Icon::None);
        return OpResult::refused(u"请单击选择要删除的内容"_s);
    }
    if (!dialogs.ask(u"是否删除："_s + phrase + u"?"_s, u"tz305"_s))
        return OpResult::refused();
    return guarded(dialogs, [&] {
        session.execSql(u"DELETE FROM 摘要 WHERE 名称 = ?"_s, {phrase});
        return OpResult::done();
    });
}

} // namespace tz
