// The settings commands end to end: each runs the settings operation for
// the logged-in operator, and its outcome decides the exit status.
#include <gtest/gtest.h>

#include <QProcess>
#include <QTemporaryDir>

#include "tests/cli/clirunner.h"

using namespace Qt::Literals::StringLiterals;
using tz::test::CliRun;
using tz::test::cli;

namespace {

class SettingsCommands : public tz::test::CliSet
{
protected:
    QString tzRow(const QString &column) const
    {
        const CliRun run = cli(as(u"主管"_s, u"888"_s)
                               << u"sql"_s << u"SELECT "_s + column + u" AS v FROM 信息表 WHERE 代号 = 'TZ'"_s);
        return run.out.section(u'\n', 1, 1);
    }
};

TEST_F(SettingsCommands, RenameThenLogInUnderTheNewName)
{
    const CliRun taken = cli(as(u"主管"_s, u"888"_s) << u"settings"_s << u"rename"_s << u"会计"_s);
    EXPECT_EQ(taken.status, 1);
    EXPECT_EQ(taken.err, u"[提醒您！] 会计   此操作员已存在\n"_s);

    const CliRun renamed = cli(as(u"主管"_s, u"888"_s) << u"settings"_s << u"rename"_s << u"O'Brien 老王"_s);
    ASSERT_EQ(renamed.status, 0) << renamed.err.toStdString();
    EXPECT_EQ(renamed.err, u"[提示] 修改成功\n"_s);

    EXPECT_EQ(cli(as(u"O'Brien 老王"_s, u"888"_s) << u"info"_s).status, 0);
    const CliRun old = cli(as(u"主管"_s, u"888"_s) << u"info"_s);
    EXPECT_EQ(old.status, 1);
    EXPECT_EQ(old.err, u"[TZ305提示] 操作员或密码不正确!\n"_s);
}

TEST_F(SettingsCommands, PasswordIsTypedOnce)
{
    const CliRun changed = cli(as(u"会计"_s, u"111"_s) << u"settings"_s << u"password"_s << u"p'w%"_s);
    ASSERT_EQ(changed.status, 0);
    EXPECT_EQ(changed.err, u"[提示] 修改成功\n"_s);
    EXPECT_EQ(cli(as(u"会计"_s, u"111"_s) << u"info"_s).status, 1);
    EXPECT_EQ(cli(as(u"会计"_s, u"p'w%"_s) << u"info"_s).status, 0);
}

TEST_F(SettingsCommands, BackupPathNeedsYes)
{
    const QString folder = m_dir.filePath(u"备份"_s);
    const CliRun no = cli(as(u"主管"_s, u"888"_s) << u"settings"_s << u"backup-path"_s << folder);
    EXPECT_EQ(no.status, 1);
    EXPECT_EQ(no.err, u"[] 是否修改路径? 否\n"_s);
    EXPECT_EQ(tzRow(u"ifnull(备份路径, '')"_s), u""_s);

    const CliRun yes = cli(QStringList{u"--yes"_s} << as(u"主管"_s, u"888"_s) << u"settings"_s << u"backup-path"_s
                                                   << folder);
    EXPECT_EQ(yes.status, 0);
    EXPECT_EQ(yes.err, u"[] 是否修改路径? 是\n[] 已修改成功\n"_s);
    EXPECT_EQ(tzRow(u"备份路径"_s), folder);
}

} // namespace
