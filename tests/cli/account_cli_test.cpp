// The chart-of-accounts commands end to end: a scripted session builds a
// branch, renames it and reads the cascaded names back; questions follow
// --yes; refusals print the windows' messages and exit 1.
#include <gtest/gtest.h>

#include "tests/cli/clirunner.h"

using namespace Qt::Literals::StringLiterals;
using tz::test::CliRun;
using tz::test::cli;
using tz::test::cliExpect;

namespace {

class AccountCommandLine : public tz::test::CliSet
{
protected:
    // Runs a command logged in as 主管, answering Yes to questions.
    QStringList args(const QStringList &command, bool yes = true) const
    {
        return login() + (yes ? QStringList {u"--yes"_s} : QStringList()) + command;
    }
    CliRun run(const QStringList &command, bool yes = true) const { return cli(args(command, yes)); }

    // The chart lines of the codes starting with prefix: code, name, level, full name, side, detail.
    QStringList chartLines(const QString &prefix) const
    {
        const CliRun accounts = run({u"accounts"_s});
        EXPECT_EQ(accounts.status, 0) << accounts.err.toStdString();
        QStringList lines;
        for (const QString &line : accounts.out.split(u'\n', Qt::SkipEmptyParts)) {
            if (line.startsWith(prefix))
                lines.append(line.section(u'\t', 0, 5));
        }
        return lines;
    }
};

TEST_F(AccountCommandLine, BranchRenameSearchDeleteAttributesAndRefusals)
{
    for (const QString &parent : {u"1122"_s, u"1122001"_s}) {
        cliExpect(args({u"account"_s, u"add"_s, u"--parent"_s, parent, u"--sub"_s, u"001"_s, u"--name"_s,
                      parent.size() == 4 ? u"华东"_s : u"上海客户"_s, u"--dir"_s, u"借"_s}),
            0, u""_s);
    }
    EXPECT_EQ(cliExpect(args({u"account"_s, u"propose"_s, u"--parent"_s, u"1122"_s}), 0).out, u"002\n"_s);

    // Without --yes the question is answered No and nothing changes.
    const QStringList rename {
        u"account"_s, u"rename"_s, u"--code"_s, u"1122"_s, u"--name"_s, u"应收帐款"_s, u"--dir"_s, u"借"_s};
    cliExpect(args(rename, false), 1,
        u"[****注意提示!!] 是否把( 应收账款 )修改为( 应收帐款 )?, 所有涉及到的科目(包括凭证)都会自动转换,"
        "是否现在修改? 否\n"_s);
    cliExpect(args(rename), 0);
    EXPECT_EQ(chartLines(u"1122"_s),
        (QStringList {u"1122\t应收帐款\t1\t应收帐款\t借\t"_s, u"1122001\t华东\t2\t应收帐款/华东\t借\t"_s,
            u"1122001001\t上海客户\t3\t应收帐款/华东/上海客户\t借\tY"_s}));

    EXPECT_EQ(cliExpect(args({u"search"_s, u"shkh"_s}), 0).out, u"科目代码\t科目全称\n1122001001\t应收帐款/华东/上海客户\n"_s);
    EXPECT_EQ(run({u"search"_s, u"工资"_s, u"--class"_s, u"5"_s}).out, u"科目代码\t科目全称\n5602004\t管理费用/工资\n"_s);

    cliExpect(args({u"account"_s, u"delete"_s, u"--code"_s, u"1122001001"_s}), 0);
    EXPECT_EQ(chartLines(u"1122001"_s), QStringList {u"1122001\t华东\t2\t应收帐款/华东\t借\tY"_s});

    // Refusals print the message and exit 1; a top-level add reports success.
    cliExpect(args({u"account"_s, u"top"_s, u"--code"_s, u"6001"_s, u"--name"_s, u"新"_s, u"--dir"_s, u"借"_s}), 1,
        u"[请检查如下内容↓] 代码4位,首位为1-5,方向,名称\n"_s);
    cliExpect(args({u"account"_s, u"top"_s, u"--code"_s, u"1009"_s, u"--name"_s, u"备用金"_s, u"--dir"_s, u"借"_s}), 0,
        u"[TZ305] 科目增加成功\n"_s);
    cliExpect(args({u"account"_s, u"add"_s, u"--parent"_s, u"1009"_s, u"--sub"_s, u"1a"_s, u"--name"_s, u"甲"_s,
                  u"--dir"_s, u"借"_s}),
        1, u"[TZ305提示] 代码应为三位整数\n"_s);

    // Options not given keep their values.
    cliExpect(args({u"account"_s, u"attrs"_s, u"--code"_s, u"1009"_s, u"--unit"_s, u"元"_s, u"--fx"_s, u"Y"_s}), 0);
    cliExpect(args({u"account"_s, u"attrs"_s, u"--code"_s, u"1009"_s, u"--spec"_s, u"零钱"_s}), 0);
    const CliRun read = run({u"sql"_s, u"SELECT 单位, 规格, 调汇 FROM 科目表 WHERE 科目代码 = '1009'"_s});
    EXPECT_EQ(read.out, u"单位\t规格\t调汇\n元\t零钱\tY\n"_s);

    for (const QStringList &usage : {QStringList {u"account"_s}, {u"account"_s, u"add"_s, u"--parent"_s, u"1009"_s},
             {u"account"_s, u"attrs"_s, u"--code"_s, u"1009"_s, u"--fx"_s, u"maybe"_s}, {u"search"_s},
             {u"search"_s, u"工资"_s, u"--class"_s, u"7"_s}})
        cliExpect(args(usage), 2);
}

} // namespace
