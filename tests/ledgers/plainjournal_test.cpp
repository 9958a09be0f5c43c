// The plain-text journal export: the exact text of small books (names,
// descriptions, signs, comments), refusals that leave an existing file
// untouched, and that the ledger and hledger programs (both required) read a
// year of demonstration books and agree with the balance table.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>

#include "demo/demobooks.h"
#include "ledgers/balancetable.h"
#include "ledgers/plainjournal.h"
#include "store/money.h"
#include "tests/ledgers/tablesupport.h"
#include "tests/support/scripteddialogs.h"
#include "tests/support/testset.h"

using namespace Qt::Literals::StringLiterals;
using tz::Icon;
using tz::test::JournalLine;
using tz::test::Message;
using tz::test::ScriptedDialogs;
using tz::test::TestSet;

namespace {

QString readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

struct ProgramRun
{
    int status = -1;
    QString out;
    QString err;
};

ProgramRun run(const QString &program, const QStringList &args)
{
    QProcess process;
    process.start(program, args);
    process.waitForFinished(60000);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardOutput()), QString::fromUtf8(process.readAllStandardError())};
}

TEST(PlainJournal, WritesOpeningAndVouchersWithLevelNamesAndSignedAmounts)
{
    TestSet set;
    tz::Session &s = set.session();
    // Names that would end an account name early or add a level.
    s.execSql(u"UPDATE 科目表 SET 科目名称 = '人民币户:基本  户;甲' WHERE 科目代码 = '1002001'"_s);
    tz::test::postLines(s, {
                               {8000000001, u"1001"_s, 500.0, {}},
                               {8000000002, u"2202"_s, {}, 500.0},
                               {8020001001, u"1002001"_s, 1130.0, {}, {}, u"销售\n商品"_s},
                               {8020001002, u"5001"_s, {}, 1000.0, {}, u"销售\n商品"_s},
                               {8020001003, u"2221001002"_s, {}, 130.0, {}, u"销项税额"_s},
                               {8020002001, u"5401"_s, 0.1, {}},
                               {8020002002, u"7777"_s, {}, 0.1},
                           });
    ScriptedDialogs dialogs({true});
    tz::PlainJournalCounts counts;
    const QString path = set.folder() + u"/books.journal"_s;
    writeFile(path, "old contents");
    ASSERT_TRUE(tz::ExportPlainJournal(s, path, dialogs, &counts).isDone());
    EXPECT_EQ(dialogs.questions,
              (QList<Message>{{u"文件已存在,是否覆盖?\n"_s + path, u"TZ305提示"_s, Icon::Question}}));
    EXPECT_EQ(dialogs.messages, (QList<Message>{{u"帐簿已导出: "_s + path, u"TZ305"_s, Icon::Information}}));
    EXPECT_EQ(counts.transactions, 3);
    EXPECT_EQ(counts.postings, 7);
    EXPECT_EQ(readFile(path), u"; 新建单位 2024年 帐簿\n"
                              "\n2024-01-01 年初余额\n"
                              "    1001 库存现金    500.00\n"
                              "    2202 应付账款    -500.00\n"
                              "\n2024-02-10 记-1 销售 商品\n"
                              "    1002 银行存款:1002001 人民币户：基本 户；甲    1130.00\n"
                              "    5001 主营业务收入    -1000.00\n"
                              "    2221 应交税费:2221001 应交增值税:2221001002 销项税额    -130.00  ; 销项税额\n"
                              "\n2024-02-10 记-2 业务\n"
                              "    5401 主营业务成本    0.10\n"
                              "    7777    -0.10\n"_s);
    // Nothing is left beside the file.
    EXPECT_EQ(QDir(set.folder()).entryList(QDir::Files | QDir::Hidden).size(), 2);
}

TEST(PlainJournal, RefusesBooksTheProgramsCouldNotReadAndKeepsTheOldFile)
{
    TestSet set;
    tz::Session &s = set.session();
    const QString path = set.folder() + u"/books.journal"_s;
    writeFile(path, "old contents");
    // An existing file stays unless the user says Yes; an account set, the
    // open one above all, is never written over.
    ScriptedDialogs no;
    EXPECT_TRUE(tz::ExportPlainJournal(s, path, no).isRefused());
    EXPECT_TRUE(no.messages.isEmpty());
    for (const QString &keyed : {set.path(), tz::test::builtTemplatePath()}) {
        ScriptedDialogs never({true});
        EXPECT_TRUE(tz::ExportPlainJournal(s, keyed, never).isRefused());
        EXPECT_EQ(never.messages, (QList<Message>{{u"不能覆盖帐套文件: "_s + keyed, u"TZ305提示"_s, Icon::Critical}}));
        EXPECT_TRUE(never.questions.isEmpty());
    }

    tz::test::postLines(s, {{8030004001, u"1001"_s, 10.0, {}}, {8030004002, u"1122"_s, {}, 9.99}});
    ScriptedDialogs dialogs({true});
    EXPECT_TRUE(tz::ExportPlainJournal(s, path, dialogs).isRefused());
    EXPECT_EQ(dialogs.messages,
              (QList<Message>{{u"3月4号凭证借贷不平,不能导出"_s, u"TZ305提示"_s, Icon::Exclamation}}));

    s.execSql(u"UPDATE 分录表 SET 贷方金额 = 10 WHERE ID = 8030004002"_s);
    tz::test::postLines(s, {{8000000001, u"1001"_s, 1.0, {}}});
    ScriptedDialogs opening({true});
    EXPECT_TRUE(tz::ExportPlainJournal(s, path, opening).isRefused());
    EXPECT_EQ(opening.messages.value(0).text, u"年初余额借贷不平,不能导出"_s);

    s.execSql(u"DELETE FROM 分录表 WHERE ID = 8000000001"_s);
    tz::test::postLines(s, {{8130001001, u"1001"_s, 1.0, {}}});
    ScriptedDialogs stray({true});
    EXPECT_TRUE(tz::ExportPlainJournal(s, path, stray).isRefused());
    EXPECT_EQ(stray.messages.value(0).text, u"分录表中有编号不合规的分录,不能导出"_s);

    ScriptedDialogs noPath;
    EXPECT_TRUE(tz::ExportPlainJournal(s, u"  "_s, noPath).isRefused());
    EXPECT_EQ(noPath.messages, (QList<Message>{{u"请输入文件名"_s, u"TZ305提示"_s, Icon::Critical}}));

    s.execSql(u"DELETE FROM 分录表 WHERE ID = 8130001001"_s);
    ScriptedDialogs unwritable;
    const QString nowhere = set.folder() + u"/没有/books.journal"_s;
    EXPECT_TRUE(tz::ExportPlainJournal(s, nowhere, unwritable).isFailed());
    EXPECT_EQ(unwritable.messages,
              (QList<Message>{{u"文件夹不存在,无法写入: "_s + nowhere, u"TZ305提示"_s, Icon::Critical}}));
    EXPECT_EQ(readFile(path), u"old contents"_s);
    EXPECT_EQ(QDir(set.folder()).entryList(QDir::Files | QDir::Hidden).size(), 2);
}

// Closing balance per top-level code (debit minus credit, in cents) as the
// balance table of December has it.
QMap<QString, tz::Cents> topLevelClosing(tz::Session &s)
{
    ScriptedDialogs dialogs;
    EXPECT_TRUE(tz::BuildBalanceTable(s, u"12"_s, u"1"_s, dialogs).isDone());
    QMap<QString, tz::Cents> out;
    const tz::ResultSet rows =
        s.RunSql(u"SELECT 科目代码, 方向, 期末金额 FROM 数量式余额表 WHERE 期末金额 IS NOT NULL AND 科目代码 <> '8'"_s);
    for (const tz::ResultSet::Row &row : rows.rows()) {
        const tz::Cents c = tz::roundToCents(row.at(2).toDouble());
        out.insert(row.at(0).toString(), row.at(1).toString() == u"借"_s ? c : -c);
    }
    return out;
}

TEST(PlainJournal, LedgerAndHledgerReadTheDemoBooksAndAgreeWithTheBalanceTable)
{
    const QString ledger = QStandardPaths::findExecutable(u"ledger"_s);
    const QString hledger = QStandardPaths::findExecutable(u"hledger"_s);
    ASSERT_FALSE(ledger.isEmpty() || hledger.isEmpty()) << "ledger and hledger are needed (scripts/setup.sh)";

    TestSet set;
    tz::Session &s = set.session();
    ScriptedDialogs yes(QList<bool>(20, true));
    ASSERT_TRUE(tz::MakeDemoBooks(s, 2024, 4, 7, yes).isDone());
    const QString path = set.folder() + u"/demo.journal"_s;
    ScriptedDialogs dialogs;
    ASSERT_TRUE(tz::ExportPlainJournal(s, path, dialogs).isDone());

    for (const QString &program : {ledger, hledger}) {
        const ProgramRun balance = run(program, {u"-f"_s, path, u"bal"_s});
        ASSERT_EQ(balance.status, 0) << program.toStdString() << balance.err.toStdString();
        EXPECT_TRUE(balance.err.isEmpty()) << balance.err.toStdString();
        EXPECT_EQ(balance.out.trimmed().split(u'\n').last().trimmed(), u"0"_s) << program.toStdString();
    }

    // hledger's top-level balances are the balance table's closing balances.
    const ProgramRun top = run(hledger, {u"-f"_s, path, u"bal"_s, u"--depth"_s, u"1"_s, u"-O"_s, u"csv"_s});
    ASSERT_EQ(top.status, 0) << top.err.toStdString();
    QMap<QString, tz::Cents> fromHledger;
    for (const QString &line : top.out.split(u'\n', Qt::SkipEmptyParts).mid(1)) {
        const QStringList cells = line.split(u',');
        ASSERT_EQ(cells.size(), 2) << line.toStdString();
        const QString account = cells.at(0).mid(1, cells.at(0).size() - 2);
        const std::optional<tz::Cents> amount = tz::parseAmount(cells.at(1).mid(1, cells.at(1).size() - 2));
        ASSERT_TRUE(amount) << line.toStdString();
        if (account != u"total"_s && *amount != 0)
            fromHledger.insert(account.section(u' ', 0, 0), *amount);
    }
    EXPECT_FALSE(fromHledger.isEmpty());
    EXPECT_EQ(fromHledger, topLevelClosing(s));
}

} // namespace
