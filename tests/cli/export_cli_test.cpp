// The export commands end to end: a sheet of each kind of table, the ledger
// workbook of an account, and the refusals of a table without records.
#include <gtest/gtest.h>

#include "tests/cli/clirunner.h"
#include "tests/support/workbookreader.h"

using namespace Qt::Literals::StringLiterals;
using tz::test::cliExpect;

namespace {

class ExportCommandLine : public tz::test::CliSet {
protected:
    void SetUp() override
    {
        CliSet::SetUp();
        if (HasFatalFailure())
            return;
        post({
            {8000000001, u"1002001"_s, 50000.0, {}},
            {8000000002, u"3001"_s, {}, 50000.0},
            {8020001001, u"1002001"_s, {}, 800.0},
            {8020001002, u"5602001"_s, 800.0, {}},
        });
    }

    QString file(const QString &name) const { return m_dir.filePath(name); }
};

TEST_F(ExportCommandLine, SheetsOfEachQuery)
{
    const QString journal = file(u"分录.xlsx"_s);
    EXPECT_EQ(cliExpect(login() << u"export"_s << u"sheet"_s << u"--query"_s << u"journal"_s << u"--xlsx"_s << journal, 0)
                  .out,
              u"文件\t记录\n"_s + journal + u"\t4\n"_s);
    const QString balance = file(u"余额.xlsx"_s);
    cliExpect(login() << u"export"_s << u"sheet"_s << u"--query"_s << u"balance"_s << u"--month"_s << u"2"_s
                      << u"--xlsx"_s << balance,
              0);
    const QString ledger = file(u"明细.xlsx"_s);
    cliExpect(login() << u"export"_s << u"sheet"_s << u"--query"_s << u"ledger"_s << u"--account"_s << u"1002001"_s
                      << u"--format"_s << u"three"_s << u"--xlsx"_s << ledger,
              0);
    EXPECT_EQ(tz::test::readWorkbook(journal, u"print(ws['A1'].value, ws['J1'].value, ws.max_row)"_s), u"ID 科目代码 5\n"_s);
    EXPECT_EQ(tz::test::readWorkbook(balance, u"print('|'.join(c.value for c in ws[1]))"_s),
              u"科目代码|科目名称|方向|期初金额|本期借金|本期贷金|累计借金|累计贷金|期末金额\n"_s);
    EXPECT_EQ(tz::test::readWorkbook(ledger, u"print('|'.join(c.value for c in ws[1]), ws['C2'].value)"_s),
              u"日期|字号|摘要说明|借方金额|贷方金额|方向|余额 年初余额\n"_s);
    // A month without lines writes nothing.
    cliExpect(login() << u"export"_s << u"sheet"_s << u"--query"_s << u"journal"_s << u"--month"_s << u"5"_s
                      << u"--xlsx"_s << file(u"五月.xlsx"_s),
              1, u"[TZ305] 没有记录!\n"_s);
    EXPECT_FALSE(QFile::exists(file(u"五月.xlsx"_s)));
}

TEST_F(ExportCommandLine, LedgerWorkbookOfAnAccount)
{
    const QString path = file(u"帐页.xlsx"_s);
    const auto run = cliExpect(login() << u"export"_s << u"ledger"_s << u"--account"_s << u"1002001"_s << u"--format"_s
                                       << u"general"_s << u"--xlsx"_s << path,
                               0);
    EXPECT_TRUE(run.out.startsWith(u"文件\t记录\t页数\n"_s + path + u'\t')) << run.out.toStdString();
    EXPECT_EQ(tz::test::readWorkbook(path, u"print(ws['A1'].value, ws['C3'].value.strip(), re.search('&C(.*?)&R', headers('oddHeader'), re.S).group(1))"_s),
              u"日期 年初余额 &\"黑体\"&16银行存款   总分类帐&\"宋体,常规\"\n&\"常规\"&10会计期间:2024年1-12月\n"_s);
    cliExpect(login() << u"export"_s << u"ledger"_s << u"--account"_s << u"1002001"_s << u"--format"_s << u"fixed"_s
                      << u"--xlsx"_s << path,
              2);
}

} // namespace
