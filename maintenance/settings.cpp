// Company, operator, password and backup-folder settings.
#include "maintenance/settings.h"

#include "store/dialogs.h"
#include "store/guard.h"
#include "store/passwordhash.h"
#include "store/session.h"
#include "store/transaction.h"

using namespace Qt::Literals::StringLiterals;

namespace tz {

namespace {

const QString kReminder = u"提醒您！"_s;

} // namespace

OpResult ReadAccountSetInfo(Session &session, AccountSetInfo &info, Dialogs &dialogs)
{
    info = {};
    return guarded(dialogs, [&] {
        const ResultSet row = session.RunSql(u"SELECT 帐套名称, 备份路径 FROM 信息表 WHERE 代号 = 'TZ'"_s);
        if (!row.eof()) {
            info.companyName = row.text(u"帐套名称"_s);
            info.backupPath = row.text(u"备份路径"_s);
        }
        return OpResult::done();
    });
}

OpResult SaveCompanyName(Session &session, const QString &name, Dialogs &dialogs)
{
    if (name.isEmpty())
        return refuse(dialogs, u"请输入单位全称"_s, applicationTitle(), Icon::Exclamation);
    const OpResult saved = guarded(dialogs, [&] {
        session.execSql(u"UPDATE 信息表 SET 帐套名称 = ? WHERE 代号 = 'TZ'"_s, {name});
        return OpResult::done();
    });
    if (!saved.isDone())
        return saved;
    session.setCompanyName(name);
    dialogs.show(u"保存成功!\n\n单位名只在凭证和帐页上出现"_s, u"TZ305提示"_s, Icon::None);
    return OpResult::done();
}

OpResult RenameOperator(Session &session, const QString &current, const QString &newName, Dialogs &dialogs)
{
    if (current.trimmed().isEmpty() || newName.trimmed().isEmpty())
        return refuse(dialogs, u"请输入新操作员名"_s, kReminder, Icon::Exclamation);
    bool exists = false;
    const OpResult renamed = guarded(dialogs, [&] {
        // The check and the rename in one transaction, so no other program
        // can take the name in between.
        Transaction transaction(session);
        exists = !session.RunSql(u"SELECT 1 FROM 信息表 WHERE 操作员 = ? LIMIT 1"_s, {newName}).eof();
        if (!exists) {
            session.execSql(u"UPDATE 信息表 SET 操作员 = ? WHERE 操作员 = ?"_s, {newName, current});
            transaction.commit();
        }
        return OpResult::done();
    });
    if (!renamed.isDone())
        return renamed;
    if (exists)
        return refuse(dialogs, newName + u"   此操作员已存在"_s, kReminder, Icon::Critical);
    dialogs.show(u"修改成功"_s, u"提示"_s, Icon::Exclamation);
    session.setOperatorName(newName);
    return OpResult::done();
}

OpResult ChangePassword(Session &session, const QString &operatorName, const QString &first, const QString &second,
                        Dialogs &dialogs)
{
    if (first.trimmed().isEmpty() || second.trimmed().isEmpty())
        return refuse(dialogs, u"请输入密码！"_s, kReminder, Icon::Exclamation);
    if (first != second)
        return refuse(dialogs, u"两次密码输入不一致"_s, kReminder, Icon::Exclamation);
    const OpResult changed = guarded(dialogs, [&] {
        session.execSql(u"UPDATE 信息表 SET 密码 = ? WHERE 操作员 = ?"_s, {hashPassword(first), operatorName});
        return OpResult::done();
    });
    if (!changed.isDone())
        return changed;
    dialogs.show(u"修改成功"_s, u"提示"_s, Icon::Information);
    session.setOperatorPassword(first);
    return OpResult::done();
}

OpResult SetBackupPath(Session &session, const QString &folder, Dialogs &dialogs)
{
    if (!dialogs.ask(u"是否修改路径?"_s, QString()))
        return OpResult::refused();
    const OpResult stored = guarded(dialogs, [&] {
        session.execSql(u"UPDATE 信息表 SET 备份路径 = ? WHERE 代号 = 'TZ'"_s, {folder});
        return OpResult::done();
    });
    if (!stored.isDone())
        return stored;
    dialogs.show(u"已修改成功"_s, QString(), Icon::None);
    session.CloseMainConnection();
    return OpResult::done();
}

QString settingsHelpText()
{
    return u"1.建议不要修改备份路径,(除本电脑没有E盘外)\n\n"
           "2.平时可以点下压缩数据库,减少文件所占空间\n\n"
           "3.年初余额可以随时修改(涉及以后年度也一样手动修改年初)\n\n"
           "4.可以重复年度过帐,(过帐后新帐套可修改年初,可删除帐套再过N次)"_s;
}

} // namespace tz
