// The table commands end to end: each prints its work table as TSV with a
// header row, refusals go to stderr with exit status 1, and export-journal
// writes the file it names.
#include <gtest/gtest.h>

#include <QFile>

#include "tests/cli/clirunner.h"

using namespace Qt::Literals::StringLiterals;
using tz::test::cli;
using tz::test::CliRun;

namespace {

class TableCommandLine : public tz::test::CliSet {
protected:
    void SetUp() override
    {
        CliSet::SetUp();
        if (HasFatalFailure())
            return;
        post({
            {8000000001, u"1001"_s, 500.0, {}},
            {8000000002, u"2202"_s, {}, 500.0},
            {8020001001, u"1002001"_s, 120.5, {}, 3.0},
            {8020001002, u"1001"_s, {}, 120.5},
        });
    }
};

TEST_F(TableCommandLine, PrintsEachTableAndRefusesWithoutAMonth)
{
    const CliRun balance = cli(login() << u"balance"_s << u"--month"_s << u"2"_s << u"--depth"_s << u"2"_s);
    ASSERT_EQ(balance.status, 0) << balance.err.toStdString();
    EXPECT_EQ(balance.out,
        u"科目代码\t科目名称\t方向\t期初金额\t本期借金\t本期贷金\t累计借金\t累计贷金\t期末金额\n"
        "1001\t库存现金\t借\t500\t\t120.5\t\t120.5\t379.5\n"
        "1002\t银行存款\t借\t\t120.5\t\t120.5\t\t120.5\n"
        "1002001\t 人民币户\t借\t\t120.5\t\t120.5\t\t120.5\n"
        "2202\t应付账款\t贷\t500\t\t\t\t\t500\n"
        "8\t合  计\t\t\t120.5\t120.5\t120.5\t120.5\t\n"_s);
    const CliRun quantity = cli(login() << u"balance"_s << u"--quantity"_s << u"--month"_s << u"2"_s);
    ASSERT_EQ(quantity.status, 0) << quantity.err.toStdString();
    EXPECT_TRUE(quantity.out.contains(u"\n1002\t银行存款\t借\t\t\t3\t120.5\t\t\t3\t120.5\t\t\t3\t120.5\n"_s))
        << quantity.out.toStdString();

    const CliRun refused = cli(login() << u"balance"_s << u"--month"_s << u"全部"_s);
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.err, u"[TZ305] 请选择月份和级数\n"_s);
    EXPECT_TRUE(refused.out.isEmpty());

    const CliRun summary = cli(login() << u"summary"_s << u"--month"_s << u"2"_s);
    ASSERT_EQ(summary.status, 0) << summary.err.toStdString();
    EXPECT_EQ(summary.out,
        u"科目代码\t科目名称\t借方金额\t贷方金额\n1001\t库存现金\t\t120.5\n"
        "1002\t银行存款\t120.5\t\n8\t合 计\t120.5\t120.5\n"_s);

    const CliRun journal = cli(login() << u"journal"_s << u"--month"_s << u"年初"_s);
    ASSERT_EQ(journal.status, 0) << journal.err.toStdString();
    EXPECT_EQ(journal.out.count(u'\n'), 3);
    EXPECT_TRUE(journal.out.startsWith(u"月\t日期\t字号\t号码\t摘要说明\t科目代码\t科目全称\t"_s));

    const CliRun year = cli(login() << u"journal"_s);
    ASSERT_EQ(year.status, 0) << year.err.toStdString();
    EXPECT_EQ(year.out.count(u'\n'), 5);

    const CliRun filter = cli(login() << u"filter"_s << u"--prefix"_s << u"1002"_s);
    ASSERT_EQ(filter.status, 0) << filter.err.toStdString();
    EXPECT_EQ(filter.out.section(u'\n', 1, 1),
        u"2\t2024-02-10\t记-1\t1\t业务\t1002001\t银行存款/人民币户\t3\t120.5\t\t\t\t出纳\t主管\t1\t\t8020001001"_s);
}

TEST_F(TableCommandLine, ExportJournalWritesTheNamedFile)
{
    const QString path = m_dir.filePath(u"books.journal"_s);
    const CliRun exported = cli(login() << u"export-journal"_s << path);
    ASSERT_EQ(exported.status, 0) << exported.err.toStdString();
    EXPECT_EQ(exported.out, u"交易\t分录\n2\t4\n"_s);
    EXPECT_EQ(exported.err, u"[TZ305] 帐簿已导出: "_s + path + u'\n');
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(QString::fromUtf8(file.readAll()).contains(u"\n2024-02-10 记-1 业务\n"_s));

    EXPECT_EQ(cli(login() << u"export-journal"_s).status, 2);
}

} // namespace
