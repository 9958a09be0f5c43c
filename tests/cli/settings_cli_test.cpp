// The settings commands end to end: each runs the settings operation for
// the logged-in operator, and its outcome decides the exit status.
#include <gtest/gtest.h>

#include "tests/cli/clirunner.h"

using namespace Qt::Literals::StringLiterals;
using tz::test::CliRun;
using tz::test::cli;
using tz::test::cliExpect;

namespace {

class SettingsCommands : public tz::test::CliSet
{
};

TEST_F(SettingsCommands, RenamePasswordAndBackupPath)
{
    const QString boss = u"O'Brien 老王"_s;
    cliExpect(as(u"主管"_s, u"888"_s) << u"settings"_s << u"rename"_s << u"会计"_s, 1,
              u"[提醒您！] 会计   此操作员已存在\n"_s);
    cliExpect(as(u"主管"_s, u"888"_s) << u"settings"_s << u"rename"_s << boss, 0, u"[提示] 修改成功\n"_s);
    cliExpect(as(boss, u"888"_s) << u"info"_s, 0);
    cliExpect(as(u"主管"_s, u"888"_s) << u"info"_s, 1, u"[TZ305提示] 操作员或密码不正确!\n"_s);

    // The password is typed once.
    cliExpect(as(u"会计"_s, u"111"_s) << u"settings"_s << u"password"_s << u"p'w%"_s, 0, u"[提示] 修改成功\n"_s);
    cliExpect(as(u"会计"_s, u"111"_s) << u"info"_s, 1);
    cliExpect(as(u"会计"_s, u"p'w%"_s) << u"info"_s, 0);

    // The backup path needs --yes.
    const QString folder = m_dir.filePath(u"备份"_s);
    const QStringList sql = as(boss, u"888"_s)
        << u"sql"_s << u"SELECT ifnull(备份路径, '') AS v FROM 信息表 WHERE 代号 = 'TZ'"_s;
    cliExpect(as(boss, u"888"_s) << u"settings"_s << u"backup-path"_s << folder, 1, u"[] 是否修改路径? 否\n"_s);
    EXPECT_EQ(cli(sql).out, u"v\n\n"_s);
    cliExpect(QStringList{u"--yes"_s} << as(boss, u"888"_s) << u"settings"_s << u"backup-path"_s << folder, 0,
              u"[] 是否修改路径? 是\n[] 已修改成功\n"_s);
    EXPECT_EQ(cli(sql).out, u"v\n"_s + folder + u'\n');
}

} // namespace
