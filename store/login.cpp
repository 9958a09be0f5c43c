// Account-set choice and login.
#include "store/login.h"

#include <QFileInfo>

#include "store/accountset.h"
#include "store/dberror.h"
#include "store/dialogs.h"
#include "store/guard.h"
#include "store/passwordhash.h"
#include "store/schemaupgrade.h"
#include "store/session.h"

using namespace Qt::Literals::StringLiterals;

namespace tz {

OpResult ChooseAccountSet(Session &session, const QString &path, QStringList &operators, Dialogs &dialogs)
{
    session.setDbPath(path);
    session.setSetShortName(shortNameOfSetFile(path));
    try {
        QStringList names;
        ResultSet rows = session.RunSql(u"SELECT 操作员 FROM 信息表"_s);
        for (; !rows.eof(); rows.moveNext()) {
            if (!rows.isNull(u"操作员"_s))
                names.append(rows.text(u"操作员"_s));
        }
        // The company name is the fourth column of the 'TZ' row.
        ResultSet info = session.RunSql(u"SELECT * FROM 信息表 WHERE 代号 = 'TZ'"_s);
        session.setCompanyName(info.eof() ? QString() : info.field(3).toString());
        operators = names;
        return OpResult::done();
    } catch (const DbError &error) {
        session.setDbPath(QString());
        session.setSetShortName(QString());
        session.setCompanyName(QString());
        operators.clear();
        dialogs.show(error.message(), u"TZ305提示"_s, Icon::Critical);
        // A set under a passphrase not given (or a wrong one) is refused:
        // nothing failed, the user has something to give.
        if (error.kind() == DbError::Kind::WrongKey)
            return OpResult::refused();
        return OpResult::failed(error.message());
    }
}

bool login(Session &session, const QString &operatorName, const QString &password)
{
    ResultSet rows = session.RunSql(u"SELECT 密码 FROM 信息表 WHERE 操作员 = ?"_s, {operatorName});
    if (rows.eof() || rows.isNull(u"密码"_s))
        return false;
    // A set not yet upgraded still holds the passwords as typed.
    const bool plainAllowed
        = session.RunSql(u"PRAGMA user_version"_s).value(0, 0).toInt() < kPasswordHashVersion;
    return passwordMatches(rows.text(u"密码"_s), password, plainAllowed);
}

int loginDelaySeconds(int failures)
{
    if (failures <= 0)
        return 0;
    return failures > 6 ? 60 : 1 << (failures - 1);
}

OpResult CheckLogin(Session &session, const QString &pathText, const QString &operatorName,
                    const QString &password, Dialogs &dialogs, bool *wrongPassword)
{
    if (wrongPassword)
        *wrongPassword = false;
    const auto refused = [&dialogs](const QString &text, Icon icon = Icon::Exclamation) {
        return refuse(dialogs, text, u"TZ305提示"_s, icon);
    };
    if (pathText.isEmpty())
        return refused(u"请选择帐套！"_s);
    if (operatorName.isEmpty())
        return refused(u"请输入操作员！"_s);
    if (!QFileInfo(pathText).isFile())
        return refused(u"此帐套不存在,请先创建帐套"_s);
    const QString digits = pathText.right(2);
    const auto isDigit = [](QChar c) { return c >= u'0' && c <= u'9'; };
    if (digits.size() != 2 || !isDigit(digits.at(0)) || !isDigit(digits.at(1)))
        return refused(u"帐套名错误!"_s);
    if (pathText.size() < 3 || pathText.at(pathText.size() - 3) != u'Y')
        return refused(u"此帐套不是青松版帐套!"_s);

    bool ok = false;
    try {
        ok = login(session, operatorName, password);
    } catch (const DbError &error) {
        dialogs.show(error.message(), u"TZ305提示"_s, Icon::Critical);
        if (error.kind() == DbError::Kind::WrongKey)
            return OpResult::refused();
        return OpResult::failed(error.message());
    }
    if (!ok) {
        if (wrongPassword)
            *wrongPassword = true;
        return refused(u"操作员或密码不正确!"_s, Icon::Critical);
    }

    // A set made by an older program gets the steps it lacks before use.
    try {
        upgradeAccountSet(session);
    } catch (const DbError &error) {
        dialogs.show(error.message(), u"TZ305提示"_s, Icon::Critical);
        return OpResult::failed(error.message());
    }

    session.setOperatorName(operatorName);
    session.setOperatorPassword(password);
    session.setFiscalYear(qint16(2000 + digits.toInt()));
    return OpResult::done();
}

} // namespace tz
