// The chart-of-accounts commands end to end: a scripted session builds a
// branch, renames it and reads the cascaded names back; questions follow
// --yes; refusals print the windows' messages and exit 1.
#include <gtest/gtest.h>

#include <QProcess>
#include <QTemporaryDir>

#include "tests/cli/clirunner.h"

using namespace Qt::Literals::StringLiterals;
using tz::test::CliRun;
using tz::test::cli;

namespace {

class AccountCommandLine : public tz::test::CliSet
{
protected:
    // Runs a command logged in as 主管, answering Yes to questions.
    CliRun run(const QStringList &command, bool yes = true) const
    {
        QStringList args = login();
        if (yes)
            args << u"--yes"_s;
        return cli(args + command);
    }

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

TEST_F(AccountCommandLine, BuildsABranchRenamesItAndShowsTheCascadedNames)
{
    const QList<QStringList> steps = {
        {u"account"_s, u"add"_s, u"--parent"_s, u"1122"_s, u"--sub"_s, u"001"_s, u"--name"_s, u"华东"_s, u"--dir"_s,
            u"借"_s},
        {u"account"_s, u"add"_s, u"--parent"_s, u"1122001"_s, u"--sub"_s, u"001"_s, u"--name"_s, u"上海"_s, u"--dir"_s,
            u"借"_s},
        {u"account"_s, u"add"_s, u"--parent"_s, u"1122001001"_s, u"--sub"_s, u"001"_s, u"--name"_s, u"浦东客户"_s,
            u"--dir"_s, u"借"_s},
    };
    for (const QStringList &step : steps) {
        const CliRun added = run(step);
        ASSERT_EQ(added.status, 0) << added.err.toStdString();
        EXPECT_TRUE(added.err.isEmpty());
    }
    const CliRun proposed = run({u"account"_s, u"propose"_s, u"--parent"_s, u"1122"_s});
    EXPECT_EQ(proposed.status, 0);
    EXPECT_EQ(proposed.out, u"002\n"_s);

    // Without --yes the question is answered No and nothing changes.
    const QStringList rename {
        u"account"_s, u"rename"_s, u"--code"_s, u"1122"_s, u"--name"_s, u"应收帐款"_s, u"--dir"_s, u"借"_s};
    const CliRun declined = run(rename, false);
    EXPECT_EQ(declined.status, 1);
    EXPECT_EQ(declined.err,
        u"[****注意提示!!] 是否把( 应收账款 )修改为( 应收帐款 )?, 所有涉及到的科目(包括凭证)都会自动转换,"
        "是否现在修改? 否\n"_s);
    const CliRun renamed = run(rename);
    ASSERT_EQ(renamed.status, 0) << renamed.err.toStdString();

    EXPECT_EQ(chartLines(u"1122"_s),
        (QStringList {u"1122\t应收帐款\t1\t应收帐款\t借\t"_s, u"1122001\t华东\t2\t应收帐款/华东\t借\t"_s,
            u"1122001001\t上海\t3\t应收帐款/华东/上海\t借\t"_s,
            u"1122001001001\t浦东客户\t4\t应收帐款/华东/上海/浦东客户\t借\tY"_s}));

    const CliRun found = run({u"search"_s, u"pdkh"_s});
    EXPECT_EQ(found.status, 0);
    EXPECT_EQ(found.out, u"科目代码\t科目全称\n1122001001001\t应收帐款/华东/上海/浦东客户\n"_s);

    // Deleting the only level-4 account gives its parent back the detail flag.
    const CliRun deleted = run({u"account"_s, u"delete"_s, u"--code"_s, u"1122001001001"_s});
    ASSERT_EQ(deleted.status, 0) << deleted.err.toStdString();
    EXPECT_EQ(chartLines(u"1122001001"_s), QStringList {u"1122001001\t上海\t3\t应收帐款/华东/上海\t借\tY"_s});
}

TEST_F(AccountCommandLine, RefusalsAndUsage)
{
    const CliRun top = run({u"account"_s, u"top"_s, u"--code"_s, u"6001"_s, u"--name"_s, u"新"_s, u"--dir"_s, u"借"_s});
    EXPECT_EQ(top.status, 1);
    EXPECT_EQ(top.err, u"[请检查如下内容↓] 代码4位,首位为1-5,方向,名称\n"_s);

    const CliRun added
        = run({u"account"_s, u"top"_s, u"--code"_s, u"1009"_s, u"--name"_s, u"备用金"_s, u"--dir"_s, u"借"_s});
    EXPECT_EQ(added.status, 0);
    EXPECT_EQ(added.err, u"[TZ305] 科目增加成功\n"_s);

    const CliRun sub = run({u"account"_s, u"add"_s, u"--parent"_s, u"1009"_s, u"--sub"_s, u"1a"_s, u"--name"_s, u"甲"_s,
        u"--dir"_s, u"借"_s});
    EXPECT_EQ(sub.status, 1);
    EXPECT_EQ(sub.err, u"[TZ305提示] 代码应为三位整数\n"_s);

    const CliRun attrs
        = run({u"account"_s, u"attrs"_s, u"--code"_s, u"1009"_s, u"--unit"_s, u"元"_s, u"--fx"_s, u"Y"_s});
    EXPECT_EQ(attrs.status, 0) << attrs.err.toStdString();
    const CliRun spec = run({u"account"_s, u"attrs"_s, u"--code"_s, u"1009"_s, u"--spec"_s, u"零钱"_s});
    EXPECT_EQ(spec.status, 0) << spec.err.toStdString();
    const CliRun read = run({u"sql"_s, u"SELECT 单位, 规格, 调汇 FROM 科目表 WHERE 科目代码 = '1009'"_s});
    EXPECT_EQ(read.out, u"单位\t规格\t调汇\n元\t零钱\tY\n"_s); // options not given keep their values

    EXPECT_EQ(run({u"account"_s}).status, 2);
    EXPECT_EQ(run({u"account"_s, u"add"_s, u"--parent"_s, u"1009"_s}).status, 2);
    EXPECT_EQ(run({u"account"_s, u"attrs"_s, u"--code"_s, u"1009"_s, u"--fx"_s, u"maybe"_s}).status, 2);
    EXPECT_EQ(run({u"search"_s}).status, 2);
    EXPECT_EQ(run({u"search"_s, u"工资"_s, u"--class"_s, u"7"_s}).status, 2);
    const CliRun classFive = run({u"search"_s, u"工资"_s, u"--class"_s, u"5"_s});
    EXPECT_EQ(classFive.out, u"科目代码\t科目全称\n5602004\t管理费用/工资\n"_s);
}

} // namespace
