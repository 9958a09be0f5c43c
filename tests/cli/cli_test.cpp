// The command line end to end: exit statuses, TSV/CSV output, messages on
// stderr, login checks, and the read-only query command.
#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include "tests/cli/clirunner.h"

using namespace Qt::Literals::StringLiterals;
using tz::test::CliRun;
using tz::test::cli;

namespace {

class CommandLine : public tz::test::CliSet
{
};

TEST_F(CommandLine, NewTwiceIsRefused)
{
    const CliRun again = cli({u"new"_s, u"--short"_s, u"华新"_s, u"--year"_s, u"2024"_s, u"--dir"_s, m_dir.path()});
    EXPECT_EQ(again.status, 1);
    EXPECT_EQ(again.err, u"[TZ305提示] 帐套重复!!此文件夹中有帐套名相同且年度相同的帐套: 华新.Y24\n"_s);
    EXPECT_TRUE(again.out.isEmpty());
}

TEST_F(CommandLine, AccountsPrintsTheChartAsTsv)
{
    const CliRun run = cli(login() << u"accounts"_s);
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    const QStringList lines = run.out.split(u'\n', Qt::SkipEmptyParts);
    ASSERT_GT(lines.size(), 60);
    EXPECT_TRUE(lines.first().startsWith(u"科目代码\t科目名称\t科目级数\t科目全称\t方向\t明细\t拼音"_s));
    for (const QString &expected : {u"1001\t库存现金\t1\t库存现金\t借\tY\tKCXJ\t"_s,
                                    u"3103\t本年利润\t1\t本年利润\t贷\tY\tBNLR\t"_s,
                                    u"5001\t主营业务收入\t1\t主营业务收入\t贷\tY\tZYYWSR\t"_s,
                                    u"5401\t主营业务成本\t1\t主营业务成本\t借\tY\tZYYWCB\t"_s}) {
        EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [&](const QString &l) { return l.startsWith(expected); }))
            << expected.toStdString();
    }
}

TEST_F(CommandLine, LoginChecksDecideTheExitStatus)
{
    const CliRun wrong = cli(login(u"wrong"_s) << u"accounts"_s);
    EXPECT_EQ(wrong.status, 1);
    EXPECT_EQ(wrong.err, u"[TZ305提示] 操作员或密码不正确!\n"_s);
    EXPECT_TRUE(wrong.out.isEmpty());

    const CliRun missing = cli({u"--set"_s, m_dir.filePath(u"无.Y24"_s), u"--operator"_s, u"主管"_s, u"--password"_s,
                             u"888"_s, u"accounts"_s});
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.err, u"[TZ305提示] 此帐套不存在,请先创建帐套\n"_s);

    const CliRun noOperator = cli({u"--set"_s, m_set, u"accounts"_s});
    EXPECT_EQ(noOperator.status, 1);
    EXPECT_EQ(noOperator.err, u"[TZ305提示] 请输入操作员！\n"_s);
}

TEST_F(CommandLine, InfoAndOperatorsNeedOnlyTheSet)
{
    const CliRun info = cli({u"--set"_s, m_set, u"info"_s});
    ASSERT_EQ(info.status, 0);
    EXPECT_EQ(info.out, u"帐套名称\t年度\t帐套简称\t路径\n新建单位\t2024\t华新\t"_s + m_set + u'\n');

    const CliRun ops = cli({u"--set"_s, m_set, u"operators"_s});
    ASSERT_EQ(ops.status, 0);
    EXPECT_EQ(ops.out, u"操作员\n主管\n会计\n出纳\n"_s);
}

TEST_F(CommandLine, SqlRunsOnlyOneReadOnlySelect)
{
    for (const QString &statement : {u"DELETE FROM 科目表"_s, u"SELECT 1; DELETE FROM 科目表"_s,
                                     u"UPDATE 信息表 SET 密码 = ''"_s, u"DROP TABLE 摘要"_s}) {
        const CliRun run = cli(login() << u"sql"_s << statement);
        EXPECT_EQ(run.status, 1) << statement.toStdString();
        EXPECT_EQ(run.err, u"[TZ305提示] 只能执行一条只读的 SELECT 查询\n"_s);
    }
    const CliRun count = cli(login() << u"sql"_s << u"SELECT count(*) AS n FROM 科目表 WHERE 科目代码 = '1001'"_s);
    EXPECT_EQ(count.status, 0);
    EXPECT_EQ(count.out, u"n\n1\n"_s);

    const CliRun broken = cli(login() << u"sql"_s << u"SELECT * FROM 没有这个表"_s);
    EXPECT_EQ(broken.status, 3);
}

TEST_F(CommandLine, CsvQuotesAndTsvEscapes)
{
    const QString select = u"SELECT 'a,\"b\"' AS x, 'c\td' AS y, NULL AS z"_s;
    const CliRun csv = cli(QStringList{u"--csv"_s} + login() << u"sql"_s << select);
    ASSERT_EQ(csv.status, 0);
    EXPECT_EQ(csv.out, u"x,y,z\n\"a,\"\"b\"\"\",c\td,\n"_s);
    const CliRun tsv = cli(login() << u"sql"_s << select);
    EXPECT_EQ(tsv.out, u"x\ty\tz\na,\"b\"\tc\\td\t\n"_s);
}

TEST_F(CommandLine, UsageAndFileErrors)
{
    EXPECT_EQ(cli({u"nosuch"_s}).status, 2);
    EXPECT_EQ(cli({u"--set"_s}).status, 2);
    EXPECT_EQ(cli({u"accounts"_s}).status, 2);
    EXPECT_EQ(cli({u"new"_s, u"--short"_s, u"x"_s}).status, 2);

    const QString text = m_dir.filePath(u"文本.Y24"_s);
    QFile f(text);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("plain text");
    f.close();
    const CliRun notSet = cli({u"--set"_s, text, u"operators"_s});
    EXPECT_EQ(notSet.status, 3);
    EXPECT_EQ(notSet.err, u"[TZ305提示] 此文件不是帐套数据库: "_s + text + u'\n');
}

TEST_F(CommandLine, LoginPrintsTheLoginValuesWithoutThePassword)
{
    const CliRun wrong = cli(login(u"wrong"_s) << u"login"_s);
    EXPECT_EQ(wrong.status, 1);
    EXPECT_EQ(wrong.err, u"[TZ305提示] 操作员或密码不正确!\n"_s);
    EXPECT_TRUE(wrong.out.isEmpty());

    const CliRun right = cli(login() << u"login"_s);
    ASSERT_EQ(right.status, 0) << right.err.toStdString();
    EXPECT_EQ(right.out, u"dbPath\toperatorName\tfiscalYear\tcompanyName\tsetShortName\n"_s + m_set
                             + u"\t主管\t2024\t新建单位\t华新\n"_s);
    EXPECT_TRUE(right.err.isEmpty());

    // Another operator with its own password; the row never carries a password.
    const CliRun cashier = cli({u"--set"_s, m_set, u"--operator"_s, u"出纳"_s, u"--password"_s, u"222"_s, u"login"_s});
    ASSERT_EQ(cashier.status, 0) << cashier.err.toStdString();
    EXPECT_EQ(cashier.out.split(u'\n').value(1), m_set + u"\t出纳\t2024\t新建单位\t华新"_s);
    EXPECT_FALSE(cashier.out.contains(u"222"_s));

    EXPECT_EQ(cli(login() << u"login"_s << u"extra"_s).status, 2);
}

} // namespace
