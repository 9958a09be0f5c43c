// The command line end to end: exit statuses, TSV/CSV output, messages on
// stderr, login checks, and the read-only query command.
#include <vector>

#include <unistd.h>

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "tests/cli/clirunner.h"

using namespace Qt::Literals::StringLiterals;
using tz::test::CliRun;
using tz::test::cli;
using tz::test::cliExpect;

namespace {

class CommandLine : public tz::test::CliSet
{
};

TEST_F(CommandLine, LoginChecksAndWhatNeedsOnlyTheSet)
{
    struct Refusal
    {
        QStringList args;
        QString err;
    };
    const Refusal refusals[] = {
        {{u"new"_s, u"--short"_s, u"华新"_s, u"--year"_s, u"2024"_s, u"--dir"_s, m_dir.path()},
         u"[TZ305提示] 帐套重复!!此文件夹中有帐套名相同且年度相同的帐套: 华新.Y24\n"_s},
        {login(u"wrong"_s) << u"accounts"_s, u"[TZ305提示] 操作员或密码不正确!\n"_s},
        {login(u"wrong"_s) << u"login"_s, u"[TZ305提示] 操作员或密码不正确!\n"_s},
        {{u"--set"_s, m_dir.filePath(u"无.Y24"_s), u"--operator"_s, u"主管"_s, u"--password"_s, u"888"_s,
          u"accounts"_s},
         u"[TZ305提示] 此帐套不存在,请先创建帐套\n"_s},
        {{u"--set"_s, m_set, u"accounts"_s}, u"[TZ305提示] 请输入操作员！\n"_s},
    };
    for (const Refusal &r : refusals)
        EXPECT_TRUE(cliExpect(r.args, 1, r.err).out.isEmpty());

    EXPECT_EQ(cliExpect({u"--set"_s, m_set, u"info"_s}, 0).out,
              u"帐套名称\t年度\t帐套简称\t路径\n新建单位\t2024\t华新\t"_s + m_set + u'\n');
    EXPECT_EQ(cliExpect({u"--set"_s, m_set, u"operators"_s}, 0).out, u"操作员\n主管\n会计\n出纳\n"_s);

    // login prints the login values, never the password.
    EXPECT_EQ(cliExpect(login() << u"login"_s, 0, u""_s).out,
              u"dbPath\toperatorName\tfiscalYear\tcompanyName\tsetShortName\n"_s + m_set
                  + u"\t主管\t2024\t新建单位\t华新\n"_s);
    // The password from a file or the environment keeps it out of the process list.
    const QString passwordFile = m_dir.filePath(u"密码.txt"_s);
    QFile file(passwordFile);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("888\n");
    file.close();
    const QStringList byFile = {u"--set"_s, m_set, u"--operator"_s, u"主管"_s, u"--password-file"_s, passwordFile};
    cliExpect(QStringList(byFile) << u"login"_s, 0, u""_s);
    qputenv("TZ305_PASSWORD", "222");
    cliExpect({u"--set"_s, m_set, u"--operator"_s, u"出纳"_s, u"login"_s}, 0, u""_s);
    cliExpect({u"--set"_s, m_set, u"--operator"_s, u"主管"_s, u"login"_s}, 1, u"[TZ305提示] 操作员或密码不正确!\n"_s);
    qunsetenv("TZ305_PASSWORD");
    cliExpect({u"--set"_s, m_set, u"--operator"_s, u"主管"_s, u"--password-file"_s, m_dir.filePath(u"无"_s),
               u"login"_s}, 3, u"[TZ305提示] 不能读取密码文件: "_s + m_dir.filePath(u"无"_s) + u'\n');

    const CliRun cashier = cliExpect(as(u"出纳"_s, u"222"_s) << u"login"_s, 0);
    EXPECT_EQ(cashier.out.split(u'\n').value(1), m_set + u"\t出纳\t2024\t新建单位\t华新"_s);
    EXPECT_FALSE(cashier.out.contains(u"222"_s));
}

TEST_F(CommandLine, OutputFormatsQueriesUsageAndFileErrors)
{
    const QStringList lines = cliExpect(login() << u"accounts"_s, 0).out.split(u'\n', Qt::SkipEmptyParts);
    ASSERT_GT(lines.size(), 60);
    EXPECT_TRUE(lines.first().startsWith(u"科目代码\t科目名称\t科目级数\t科目全称\t方向\t明细\t拼音"_s));
    EXPECT_TRUE(lines.at(1).startsWith(u"1001\t库存现金\t1\t库存现金\t借\tY\tKCXJ\t"_s)) << lines.at(1).toStdString();

    for (const QString &statement : {u"DELETE FROM 科目表"_s, u"SELECT 1; DELETE FROM 科目表"_s})
        cliExpect(login() << u"sql"_s << statement, 1, u"[TZ305提示] 只能执行一条只读的 SELECT 查询\n"_s);
    EXPECT_EQ(cliExpect(login() << u"sql"_s << u"SELECT count(*) AS n FROM 科目表 WHERE 科目代码 = '1001'"_s, 0).out,
              u"n\n1\n"_s);
    cliExpect(login() << u"sql"_s << u"SELECT * FROM 没有这个表"_s, 3);

    const QString select = u"SELECT 'a,\"b\"' AS x, 'c\td' AS y, NULL AS z"_s;
    EXPECT_EQ(cliExpect(QStringList{u"--csv"_s} + login() << u"sql"_s << select, 0).out, u"x,y,z\n\"a,\"\"b\"\"\",c\td,\n"_s);
    EXPECT_EQ(cli(login() << u"sql"_s << select).out, u"x\ty\tz\na,\"b\"\tc\\td\t\n"_s);

    for (const QStringList &usage : {QStringList{u"nosuch"_s}, QStringList{u"--set"_s}, QStringList{u"accounts"_s},
                                     QStringList{u"new"_s, u"--short"_s, u"x"_s},
                                     login() << u"login"_s << u"extra"_s})
        cliExpect(usage, 2);
    // Usage errors speak Chinese; a depth is one of the chart's four levels.
    const struct
    {
        QStringList args;
        QString err;
    } usages[] = {
        {{u"--bogus"_s}, u"未知的选项: --bogus"_s},
        {login() << u"export"_s, u"用法: export sheet|ledger ..."_s},
        {login() << u"balance"_s << u"--month"_s << u"1"_s << u"--depth"_s << u"0"_s, u"--depth 只能是 1、2、3 或 4 (科目级数): 0"_s},
        {login() << u"balance"_s << u"--month"_s << u"1"_s << u"--depth"_s << u"x"_s, u"--depth 只能是 1、2、3 或 4 (科目级数): x"_s},
        {login() << u"print"_s << u"balance"_s << u"--month"_s << u"1"_s << u"--depth"_s << u"-1"_s << u"--pdf"_s
                 << m_dir.filePath(u"余额表.pdf"_s),
         u"--depth 只能是 1、2、3 或 4 (科目级数): -1"_s},
        {login() << u"export"_s << u"sheet"_s << u"--query"_s << u"balance"_s << u"--month"_s << u"1"_s << u"--depth"_s
                 << u"9"_s << u"--xlsx"_s << m_dir.filePath(u"余额表.xlsx"_s),
         u"--depth 只能是 1、2、3 或 4 (科目级数): 9"_s},
    };
    for (const auto &u : usages)
        EXPECT_TRUE(cliExpect(u.args, 2, u"tz305-cli: "_s + u.err + u'\n').out.isEmpty());

    // An argument of bytes that are no UTF-8 would name another file than
    // the one typed: refused, nothing written. (QProcess passes only text,
    // so the child starts the program with the raw bytes itself.)
    QList<QByteArray> bytes{QByteArray(TZ305_CLI_PATH)};
    // A named list: a range over `login() << …` would outlive its temporary.
    const QStringList args = login() << u"export"_s << u"sheet"_s << u"--query"_s << u"balance"_s << u"--month"_s
                                     << u"1"_s << u"--xlsx"_s;
    for (const QString &arg : args)
        bytes << arg.toUtf8();
    bytes << QFile::encodeName(m_dir.path()) + "/\xff\xfe.xlsx";
    std::vector<char *> argv;
    for (QByteArray &b : bytes)
        argv.push_back(b.data());
    argv.push_back(nullptr);
    const CliRun mangled = cli({}, [&argv] {
        ::execv(argv.front(), argv.data());
        ::_exit(127);
    });
    EXPECT_EQ(mangled.status, 2);
    EXPECT_EQ(mangled.err, u"tz305-cli: 参数不是有效的 UTF-8 文本(文件名也须是 UTF-8): "_s + m_dir.path() + u"/\uFFFD\uFFFD.xlsx\n"_s);
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files), QStringList{u"华新.Y24"_s});

    const QString text = m_dir.filePath(u"文本.Y24"_s);
    QFile f(text);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("plain text");
    f.close();
    cliExpect({u"--set"_s, text, u"operators"_s}, 3, u"[TZ305提示] 此文件不是帐套数据库: "_s + text + u'\n');
}

} // namespace
