// Choosing an account set and logging in: check order, messages, login
// values, switching files, and operator names and passwords as plain data.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "store/login.h"
#include "store/passwordhash.h"
#include "store/schemaupgrade.h"
#include "store/session.h"
#include "tests/support/scripteddialogs.h"
#include "tests/support/testset.h"

using namespace Qt::Literals::StringLiterals;
using tz::Icon;
using tz::test::Message;
using tz::test::ScriptedDialogs;
using tz::test::TestSet;

namespace {

Message refusal(const QString &text, Icon icon = Icon::Exclamation)
{
    return {text, u"TZ305提示"_s, icon};
}

// A copy of a fresh set under another file name (for the name checks).
QString copyAs(const TestSet &set, const QString &name)
{
    const QString path = set.folder() + u'/' + name;
    QFile::copy(set.path(), path);
    return path;
}

TEST(CheckLogin, ChecksInOrderEachWithItsMessage)
{
    TestSet set(u"华新"_s);
    const QString y2a = copyAs(set, u"华新.Y2a"_s);
    const QString x24 = copyAs(set, u"华新.X24"_s);
    struct Case
    {
        QString path;
        QString op;
        QString password;
        Message expected;
    };
    const QList<Case> cases = {
        {u""_s, u"主管"_s, u"888"_s, refusal(u"请选择帐套！"_s)},
        {set.path(), u""_s, u"888"_s, refusal(u"请输入操作员！"_s)},
        // Before any file is chosen the path field holds its hint.
        {u"请点右边选择帐套---------->>>"_s, u"主管"_s, u"888"_s, refusal(u"此帐套不存在,请先创建帐套"_s)},
        {set.folder() + u"/没有.Y24"_s, u"主管"_s, u"888"_s, refusal(u"此帐套不存在,请先创建帐套"_s)},
        {y2a, u"主管"_s, u"888"_s, refusal(u"帐套名错误!"_s)},
        {x24, u"主管"_s, u"888"_s, refusal(u"此帐套不是青松版帐套!"_s)},
        {set.path(), u"主管"_s, u"wrong"_s, refusal(u"操作员或密码不正确!"_s, Icon::Critical)},
        {set.path(), u"没有此人"_s, u"888"_s, refusal(u"操作员或密码不正确!"_s, Icon::Critical)},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.path.toStdString() + " / " + c.op.toStdString());
        tz::Session &session = set.session();
        session.setOperatorName(u"之前"_s);
        ScriptedDialogs dialogs;
        EXPECT_TRUE(tz::CheckLogin(session, c.path, c.op, c.password, dialogs).isRefused());
        EXPECT_EQ(dialogs.messages, QList<Message>({c.expected}));
        EXPECT_EQ(session.operatorName(), u"之前"_s); // login values untouched
    }
}

TEST(CheckLogin, SuccessSetsTheLoginValues)
{
    TestSet set(u"华新"_s, 2031);
    tz::Session &session = set.session();
    session.setFiscalYear(0);
    ScriptedDialogs dialogs;
    ASSERT_TRUE(tz::CheckLogin(session, set.path(), u"会计"_s, u"111"_s, dialogs).isDone());
    EXPECT_TRUE(dialogs.messages.isEmpty());
    EXPECT_EQ(session.operatorName(), u"会计"_s);
    EXPECT_EQ(session.operatorPassword(), u"111"_s);
    EXPECT_EQ(session.fiscalYear(), 2031);
}

TEST(Login, EmptyPasswordOnlyMatchesAnEmptyStoredOne)
{
    TestSet set;
    tz::Session &s = set.session();
    s.execSql(u"UPDATE 信息表 SET 密码 = '' WHERE 操作员 = '会计'"_s);
    s.execSql(u"UPDATE 信息表 SET 密码 = NULL WHERE 操作员 = '出纳'"_s);
    EXPECT_TRUE(tz::login(s, u"会计"_s, u""_s));
    EXPECT_FALSE(tz::login(s, u"主管"_s, u""_s));
    EXPECT_FALSE(tz::login(s, u"出纳"_s, u""_s)); // NULL matches nothing
    EXPECT_FALSE(tz::login(s, u"出纳"_s, u"NULL"_s));
}

TEST(Login, AnOlderSetsPasswordsBecomeHashesAtTheFirstLogin)
{
    TestSet set;
    tz::Session &s = set.session();
    // As a program before the hashes left the set: passwords as typed.
    s.execSql(u"UPDATE 信息表 SET 密码 = CASE 操作员 WHEN '主管' THEN '888' WHEN '会计' THEN '111' ELSE '' END"_s);
    s.execSql(u"PRAGMA user_version = 3"_s);
    ScriptedDialogs wrong;
    EXPECT_TRUE(tz::CheckLogin(s, set.path(), u"主管"_s, u"889"_s, wrong).isRefused());
    EXPECT_EQ(wrong.messages, QList<Message>({refusal(u"操作员或密码不正确!"_s, Icon::Critical)}));
    ScriptedDialogs right;
    ASSERT_TRUE(tz::CheckLogin(s, set.path(), u"主管"_s, u"888"_s, right).isDone());
    EXPECT_TRUE(right.messages.isEmpty());

    EXPECT_EQ(s.RunSql(u"PRAGMA user_version"_s).value(0, 0).toInt(), tz::kSchemaVersion);
    const tz::ResultSet rows = s.RunSql(u"SELECT 密码 FROM 信息表 WHERE 操作员 IN ('主管', '会计')"_s);
    ASSERT_EQ(rows.recordCount(), 2);
    for (const tz::ResultSet::Row &row : rows.rows())
        EXPECT_TRUE(row.at(0).toString().startsWith(u"$argon2id$"_s)) << row.at(0).toString().toStdString();
    EXPECT_TRUE(s.RunSql(u"SELECT 1 FROM 信息表 WHERE 密码 IN ('888', '111')"_s).eof());
    EXPECT_TRUE(tz::login(s, u"会计"_s, u"111"_s));
    EXPECT_FALSE(tz::login(s, u"会计"_s, u"888"_s));
    EXPECT_TRUE(tz::login(s, u"出纳"_s, u""_s)); // the empty password stays empty
    // Text as typed no longer logs in once the set is upgraded.
    s.execSql(u"UPDATE 信息表 SET 密码 = '222' WHERE 操作员 = '出纳'"_s);
    EXPECT_FALSE(tz::login(s, u"出纳"_s, u"222"_s));
}

TEST(Login, WrongPasswordsWaitLongerEachTime)
{
    QList<int> waits;
    for (int failures = 0; failures <= 8; ++failures)
        waits.append(tz::loginDelaySeconds(failures));
    EXPECT_EQ(waits, (QList<int>{0, 1, 2, 4, 8, 16, 32, 60, 60}));
}

TEST(Login, QuotesInNamesAndPasswordsAreData)
{
    TestSet set;
    tz::Session &s = set.session();
    const QString name = u"O'Brien \"老王\" 100%"_s;
    const QString password = u"a'b\"c%_;--"_s;
    s.execSql(u"UPDATE 信息表 SET 操作员 = ?, 密码 = ? WHERE 操作员 = '会计'"_s, {name, tz::hashPassword(password)});
    EXPECT_TRUE(tz::login(s, name, password));
    EXPECT_FALSE(tz::login(s, name, u"a'b"_s));
    EXPECT_FALSE(tz::login(s, u"' OR '1'='1"_s, u"' OR '1'='1"_s));
    EXPECT_FALSE(tz::login(s, u"O'Brien%"_s, password)); // no wildcard in an equality
}

TEST(ChooseAccountSet, ListsOperatorsAndCompanyAndSwitchesFiles)
{
    TestSet first(u"甲"_s);
    TestSet second(u"乙"_s);
    first.session().execSql(u"UPDATE 信息表 SET 帐套名称 = '甲公司' WHERE 代号 = 'TZ'"_s);
    second.session().execSql(u"UPDATE 信息表 SET 帐套名称 = '乙公司' WHERE 代号 = 'TZ'"_s);
    second.session().execSql(u"UPDATE 信息表 SET 操作员 = '乙会计' WHERE 操作员 = '会计'"_s);
    first.session().CloseMainConnection();
    second.session().CloseMainConnection();

    tz::Session session;
    ScriptedDialogs dialogs;
    QStringList operators;
    ASSERT_TRUE(tz::ChooseAccountSet(session, first.path(), operators, dialogs).isDone());
    EXPECT_EQ(operators, (QStringList{u"主管"_s, u"会计"_s, u"出纳"_s}));
    EXPECT_EQ(session.companyName(), u"甲公司"_s);
    EXPECT_EQ(session.setShortName(), u"甲"_s);

    // The second file's operators, not the first's: the connection follows dbPath.
    ASSERT_TRUE(tz::ChooseAccountSet(session, second.path(), operators, dialogs).isDone());
    EXPECT_EQ(operators, (QStringList{u"主管"_s, u"乙会计"_s, u"出纳"_s}));
    EXPECT_EQ(session.companyName(), u"乙公司"_s);
    EXPECT_TRUE(tz::login(session, u"乙会计"_s, u"111"_s));
    EXPECT_TRUE(dialogs.messages.isEmpty());
}

TEST(ChooseAccountSet, FileThatIsNoAccountSetLeavesNoStaleState)
{
    TestSet good(u"甲"_s);
    QTemporaryDir dir;
    const QString junk = dir.filePath(u"坏.Y24"_s);
    QFile f(junk);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("not a database at all");
    f.close();

    tz::Session session;
    ScriptedDialogs dialogs;
    QStringList operators;
    ASSERT_TRUE(tz::ChooseAccountSet(session, good.path(), operators, dialogs).isDone());
    EXPECT_TRUE(tz::ChooseAccountSet(session, junk, operators, dialogs).isFailed());
    EXPECT_EQ(dialogs.messages,
              QList<Message>({{u"此文件不是帐套数据库: "_s + junk, u"TZ305提示"_s, Icon::Critical}}));
    EXPECT_TRUE(operators.isEmpty());
    EXPECT_TRUE(session.dbPath().isEmpty());
    EXPECT_TRUE(session.companyName().isEmpty());
    EXPECT_TRUE(session.setShortName().isEmpty());
    EXPECT_FALSE(session.isConnected());
}

} // namespace
