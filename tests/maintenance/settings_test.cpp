// The settings window's operations: check order and messages, what each
// writes to 信息表 and to the session, names and passwords as plain data,
// and the connection being closed after the backup folder changes. (What
// the window shows on opening is tested with the window.)
#include <gtest/gtest.h>

#include "maintenance/settings.h"
#include "store/login.h"
#include "store/session.h"
#include "tests/support/scripteddialogs.h"
#include "tests/support/testset.h"

using namespace Qt::Literals::StringLiterals;
using tz::Icon;
using tz::test::Message;
using tz::test::ScriptedDialogs;
using tz::test::TestSet;

namespace {

QString infoValue(tz::Session &s, const QString &column, const QString &code = u"TZ"_s)
{
    return s.RunSql(u"SELECT "_s + column + u" FROM 信息表 WHERE 代号 = ?"_s, {code}).value(0, 0).toString();
}

QStringList operators(tz::Session &s)
{
    QStringList names;
    const tz::ResultSet rows = s.RunSql(u"SELECT 操作员 FROM 信息表 ORDER BY 代号"_s);
    for (const tz::ResultSet::Row &row : rows.rows())
        names << row.at(0).toString();
    return names;
}

Message reminder(const QString &text, Icon icon = Icon::Exclamation)
{
    return {text, u"提醒您！"_s, icon};
}

TEST(SaveCompanyName, EmptyIsRefusedOtherwiseStoredAndConfirmed)
{
    TestSet set;
    tz::Session &s = set.session();
    s.setCompanyName(u"新建单位"_s);
    ScriptedDialogs refused;
    EXPECT_TRUE(tz::SaveCompanyName(s, u""_s, refused).isRefused());
    EXPECT_EQ(refused.messages, QList<Message>({{u"请输入单位全称"_s, u"TZ305"_s, Icon::Exclamation}}));
    EXPECT_EQ(infoValue(s, u"帐套名称"_s), u"新建单位"_s);

    const QString name = u"华新'商贸' \"有限\" 100%公司"_s;
    ScriptedDialogs dialogs;
    EXPECT_TRUE(tz::SaveCompanyName(s, name, dialogs).isDone());
    EXPECT_EQ(dialogs.messages,
              QList<Message>({{u"保存成功!\n\n单位名只在凭证和帐页上出现"_s, u"TZ305提示"_s, Icon::None}}));
    EXPECT_EQ(infoValue(s, u"帐套名称"_s), name);
    EXPECT_EQ(s.companyName(), name);
    EXPECT_TRUE(infoValue(s, u"帐套名称"_s, u"01"_s).isEmpty()); // only the 'TZ' row
}

TEST(RenameOperator, RefusalsInOrderLeaveTheTableAlone)
{
    TestSet set;
    tz::Session &s = set.session();
    const QStringList before = operators(s);
    struct Case
    {
        QString current;
        QString newName;
        Message expected;
    };
    const QList<Case> cases = {
        {u"主管"_s, u""_s, reminder(u"请输入新操作员名"_s)},
        {u"主管"_s, u"   "_s, reminder(u"请输入新操作员名"_s)},
        {u"  "_s, u"老王"_s, reminder(u"请输入新操作员名"_s)},
        {u"主管"_s, u"会计"_s, reminder(u"会计   此操作员已存在"_s, Icon::Critical)},
        {u"主管"_s, u"主管"_s, reminder(u"主管   此操作员已存在"_s, Icon::Critical)}, // its own row exists
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.current.toStdString() + " -> " + c.newName.toStdString());
        ScriptedDialogs dialogs;
        EXPECT_TRUE(tz::RenameOperator(s, c.current, c.newName, dialogs).isRefused());
        EXPECT_EQ(dialogs.messages, QList<Message>({c.expected}));
        EXPECT_EQ(operators(s), before);
        EXPECT_EQ(s.operatorName(), u"主管"_s);
    }
}

TEST(RenameOperator, ThenChangePasswordUnderTheNewName)
{
    TestSet set;
    tz::Session &s = set.session();
    const QString name = u"O'Brien \"老王\" 100%"_s;
    ScriptedDialogs dialogs;
    ASSERT_TRUE(tz::RenameOperator(s, u"主管"_s, name, dialogs).isDone());
    EXPECT_EQ(dialogs.messages, QList<Message>({{u"修改成功"_s, u"提示"_s, Icon::Exclamation}}));
    EXPECT_EQ(s.operatorName(), name);
    EXPECT_EQ(operators(s), (QStringList{u"会计"_s, u"出纳"_s, name}));
    EXPECT_TRUE(tz::login(s, name, u"888"_s));
    EXPECT_FALSE(tz::login(s, u"主管"_s, u"888"_s));

    // The window passes the new name (Text2) to the password change.
    const QString password = u"a'b\"c%_;--"_s;
    ScriptedDialogs changed;
    ASSERT_TRUE(tz::ChangePassword(s, s.operatorName(), password, password, changed).isDone());
    EXPECT_EQ(changed.messages, QList<Message>({{u"修改成功"_s, u"提示"_s, Icon::Information}}));
    EXPECT_EQ(s.operatorPassword(), password);
    EXPECT_TRUE(tz::login(s, name, password));
    EXPECT_FALSE(tz::login(s, name, u"888"_s));
    EXPECT_TRUE(tz::login(s, u"会计"_s, u"111"_s)); // the others keep theirs
}

TEST(ChangePassword, BlankOrMismatchedEntriesAreRefused)
{
    TestSet set;
    tz::Session &s = set.session();
    struct Case
    {
        QString first;
        QString second;
        Message expected;
    };
    const QList<Case> cases = {
        {u""_s, u""_s, reminder(u"请输入密码！"_s)},
        {u"123"_s, u" "_s, reminder(u"请输入密码！"_s)},
        {u"  "_s, u"123"_s, reminder(u"请输入密码！"_s)},
        {u"123"_s, u"124"_s, reminder(u"两次密码输入不一致"_s)},
        {u"123"_s, u"123 "_s, reminder(u"两次密码输入不一致"_s)}, // compared as typed
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.first.toStdString() + " / " + c.second.toStdString());
        ScriptedDialogs dialogs;
        EXPECT_TRUE(tz::ChangePassword(s, u"主管"_s, c.first, c.second, dialogs).isRefused());
        EXPECT_EQ(dialogs.messages, QList<Message>({c.expected}));
        EXPECT_TRUE(tz::login(s, u"主管"_s, u"888"_s));
        EXPECT_EQ(s.operatorPassword(), u"888"_s);
    }
}

TEST(SetBackupPath, YesStoresAndClosesTheConnectionNoKeepsTheOld)
{
    TestSet set;
    tz::Session &s = set.session();
    const QString folder = set.folder() + u"/备份 'A' 100%"_s;

    ScriptedDialogs yes({true});
    ASSERT_TRUE(tz::SetBackupPath(s, folder, yes).isDone());
    EXPECT_EQ(yes.questions, QList<Message>({{u"是否修改路径?"_s, u""_s, Icon::Question}}));
    EXPECT_EQ(yes.messages, QList<Message>({{u"已修改成功"_s, u""_s, Icon::None}}));
    EXPECT_FALSE(s.isConnected());
    EXPECT_EQ(infoValue(s, u"备份路径"_s), folder); // the next statement reopens it
    EXPECT_TRUE(s.isConnected());

    ScriptedDialogs no({false});
    EXPECT_TRUE(tz::SetBackupPath(s, u"/elsewhere"_s, no).isRefused());
    EXPECT_EQ(no.questions.size(), 1);
    EXPECT_TRUE(no.messages.isEmpty());
    EXPECT_EQ(infoValue(s, u"备份路径"_s), folder);
}

} // namespace
