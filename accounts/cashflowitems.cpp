// Cash-flow items.
#include "accounts/cashflowitems.h"

#include <optional>

#include "store/dialogs.h"
#include "store/digits.h"
#include "store/guard.h"
#include "store/session.h"
#include "store/transaction.h"

using namespace Qt::Literals::StringLiterals;

namespace tz {

namespace {

const QString kNoticeTitle = u"TZ305提示"_s;

bool isFlowCodeUsed(Session &session, const QString &code)
{
    return !session.RunSql(u"SELECT 1 FROM 分录表 WHERE 流代 = ? LIMIT 1"_s, {code}).eof();
}

} // namespace

QString CashFlowItem::listLine() const
{
    return code + u' ' + name;
}

QString cashFlowCodeHint()
{
    return u"代码第二位为 0:收到    1:支付"_s;
}

bool isCashFlowCode(QStringView code)
{
    return code.size() == 3 && isAllDigits(code);
}

OpResult ListCashFlowItems(Session &session, QList<CashFlowItem> &items, Dialogs &dialogs)
{
    items.clear();
    return guarded(dialogs, [&] {
        const ResultSet rows = session.RunSql(u"SELECT 代码, 名称 FROM 现流 ORDER BY 代码"_s);
        for (const ResultSet::Row &row : rows.rows())
            items.append({row.at(0).toString(), row.at(1).toString()});
        return OpResult::done();
    });
}

OpResult AddCashFlowItem(Session &session, const QString &code, const QString &name, Dialogs &dialogs)
{
    if (code.isEmpty() || name.isEmpty())
        return refuse(dialogs, u"代码和名称不能为空！"_s, applicationTitle(), Icon::None);
    // The code field takes digits only; a code that got letters some other
    // way is refused like a code of the wrong length.
    if (!isCashFlowCode(code))
        return refuse(dialogs, u"代码为三位数！"_s, applicationTitle(), Icon::None);
    bool duplicate = false;
    const OpResult added = guarded(dialogs, [&] {
        Transaction transaction(session);
        duplicate = !session.RunSql(u"SELECT 1 FROM 现流 WHERE 代码 = ? LIMIT 1"_s, {code}).eof();
        if (!duplicate)
            session.execSql(u"INSERT INTO 现流 (代码, 名称) VALUES (?, ?)"_s, {code, name});
        transaction.commit();
        return OpResult::done();
    });
    if (!added.isDone())
        return added;
    if (duplicate)
        return refuse(dialogs, u"代码重复,不能增加"_s, kNoticeTitle, Icon::Critical);
    return OpResult::done();
}

OpResult DeleteCashFlowItem(Session &session, const QString &code, Dialogs &dialogs)
{
    const QString choose = u"请单击选择要删除的内容"_s;
    if (code.isEmpty())
        return refuse(dialogs, choose, applicationTitle(), Icon::None);
    if (!isCashFlowCode(code))
        return refuse(dialogs, u"代码为三位数！"_s, applicationTitle(), Icon::None);

    std::optional<CashFlowItem> item;
    bool used = false;
    const OpResult looked = guarded(dialogs, [&] {
        const ResultSet row = session.RunSql(u"SELECT 代码, 名称 FROM 现流 WHERE 代码 = ?"_s, {code});
        if (!row.eof())
            item = CashFlowItem{row.text(u"代码"_s), row.text(u"名称"_s)};
        used = isFlowCodeUsed(session, code);
        return OpResult::done();
    });
    if (!looked.isDone())
        return looked;
    if (!item)
        return refuse(dialogs, choose, applicationTitle(), Icon::None);
    if (used)
        return refuse(dialogs, code + u"  此代码已使用,不能删除!"_s, kNoticeTitle, Icon::Question);

    if (!dialogs.ask(u"是否删除："_s + item->listLine() + u"?"_s, u"tz305"_s))
        return OpResult::refused();
    // Used again under the write lock: a voucher may have taken the item
    // while the question was open.
    const OpResult deleted = guarded(dialogs, [&] {
        Transaction transaction(session);
        used = isFlowCodeUsed(session, code);
        if (used)
            return OpResult::refused();
        session.execSql(u"DELETE FROM 现流 WHERE 代码 = ?"_s, {code});
        transaction.commit();
        return OpResult::done();
    });
    if (used)
        return refuse(dialogs, code + u"  此代码已使用,不能删除!"_s, kNoticeTitle, Icon::Question);
    return deleted;
}

} // namespace tz
