// The statement commands end to end: a closed month's balance sheet whose
// totals agree and income statement whose 净利润 is income less expense,
// template editing, and the workbook read back by openpyxl and printed by
// LibreOffice.
#include <gtest/gtest.h>

#include <QProcess>
#include <QStandardPaths>

#include "tests/cli/clirunner.h"
#include "tests/support/workbookreader.h"

using namespace Qt::Literals::StringLiterals;
using tz::test::CliRun;
using tz::test::cli;
using tz::test::cliExpect;

namespace {

class StatementCommandLine : public tz::test::CliSet {
protected:
    void SetUp() override
    {
        CliSet::SetUp();
        if (HasFatalFailure())
            return;
        post({
            {8000000001, u"1002001"_s, 50000.0, {}},
            {8000000002, u"3001"_s, {}, 50000.0},
            {8120001001, u"1122"_s, 1130.0, {}},
            {8120001002, u"5001"_s, {}, 1000.0},
            {8120001003, u"2221001002"_s, {}, 130.0},
            {8120002001, u"5602001"_s, 200.5, {}},
            {8120002002, u"1002001"_s, {}, 200.5},
        });
        cliExpect(login() << u"close"_s << u"--month"_s << u"12"_s << u"--reviewer"_s << u"会计"_s, 0);
    }

    QStringList statement(const QString &table) const
    {
        return login() << u"statement"_s << u"--table"_s << table << u"--month"_s << u"12"_s;
    }
};

TEST_F(StatementCommandLine, ClosedDecemberBalancesAndShowsTheYearsProfit)
{
    const QStringList sheet = cliExpect(statement(u"资产表13"_s), 0, u""_s).out.split(u'\n');
    EXPECT_EQ(sheet.first(), u"资产\t行次1\t期末余额\t年初余额\t负债及所有者权益\t行次2\t期末余额\t年初余额"_s);
    EXPECT_EQ(sheet.at(1), u"货币资金\t1\t49799.50\t50000.00\t短期借款\t31\t\t"_s);
    EXPECT_EQ(sheet.at(30), u"资产总计\t30\t50929.50\t50000.00\t负债和所有者权益（或股东权益）总计\t53\t50929.50\t50000.00"_s);

    const QStringList income = cliExpect(statement(u"利润表13"_s), 0, u""_s).out.split(u'\n');
    EXPECT_EQ(income.first(), u"项目\t行次\t本月金额\t本年累计金额"_s);
    EXPECT_EQ(income.at(32), u"四、净利润（净亏损以\"-\"号填列）\t32\t799.50\t799.50"_s);

    cliExpect(login() << u"statement"_s << u"--table"_s << u"资产表99"_s << u"--month"_s << u"12"_s, 2);
    cliExpect(login() << u"statement"_s << u"--table"_s << u"现流表"_s << u"--month"_s << u"13"_s, 2);
}

TEST_F(StatementCommandLine, TemplatesAreListedAndEdited)
{
    const QStringList edit = login() << u"statement-template"_s << u"--table"_s << u"利润表13"_s;
    cliExpect(QStringList(edit) << u"set"_s << u"--line"_s << u"1"_s << u"--formula"_s << u"5001"_s, 0, u""_s);
    cliExpect(QStringList(edit) << u"set"_s << u"--line"_s << u"99"_s << u"--caption"_s << u"x"_s, 1,
              u"[TZ305提示] 没有行次99\n"_s);
    const QStringList cashFlow = login() << u"statement-template"_s << u"--table"_s << u"现流表"_s << u"set"_s
                                         << u"--line"_s << u"23"_s << u"--formula"_s;
    cliExpect(QStringList(cashFlow) << u"999-888+1001"_s, 1, u"[TZ305提示] 公式中的代码不是现金流量项目: 1001\n"_s);
    cliExpect(QStringList(cashFlow) << u"999-888"_s, 0, u""_s);
    const QStringList lines = cliExpect(QStringList(edit) << u"list"_s, 0).out.split(u'\n');
    EXPECT_EQ(lines.at(0), u"行次\t项目\t公式"_s);
    EXPECT_EQ(lines.at(1), u"1\t一、营业收入\t5001"_s);
    EXPECT_EQ(lines.size(), 34); // header, 32 lines, final newline
}

TEST_F(StatementCommandLine, WorkbookHasTheStatutoryHeadingAndNumbers)
{
    cliExpect(login() << u"settings"_s << u"company"_s << u"华新商贸有限公司"_s, 0);
    const QString path = m_dir.filePath(u"资产负债表.xlsx"_s);
    cliExpect(statement(u"资产表13"_s) << u"--xlsx"_s << path, 0, u"[TZ305] 报表已导出: "_s + path + u'\n');
    // Written again only when asked.
    cliExpect(statement(u"资产表13"_s) << u"--xlsx"_s << path, 1);

    // The paper form's heading: the spaced title over two rows, the entity,
    // the date as a date, the unit; rows 1 to 4 centred, rows of 20 points,
    // the narrow columns shrinking their texts to fit.
    const QString layout = uR"(
print(ws.title, ws['A1'].value, ws['A1'].font.sz, ws['A3'].value, ws['E3'].value.date(), ws['E3'].number_format, ws['H3'].value, sep='|')
print(sorted(str(r) for r in ws.merged_cells.ranges), [ws.column_dimensions[c].width for c in 'ABCDEFGH'])
print({c.alignment.horizontal for row in ws.iter_rows(1, 4) for c in row if c.value}, {ws.row_dimensions[r].height for r in range(1, ws.max_row + 2)}, ws.max_row)
print(ws['A5'].alignment.shrink_to_fit, ws['C34'].alignment.shrink_to_fit, ws['A3'].alignment.shrink_to_fit, ws['C5'].border.left.style)
print(ws['A4'].value, ws['C4'].value, ws['A5'].value, ws['C5'].value, ws['C5'].number_format, ws['D6'].value, ws['A34'].value, ws['C34'].value, ws['G34'].value, sep='|')
)"_s;
    EXPECT_EQ(tz::test::readWorkbook(path, layout),
              u"资产负债表|资 产 负 债  表|22.0|编制单位:华新商贸有限公司      |2024-12-31|yyyy\"年\"m\"月\"d\"日\";@| 单位:元  \n"
              "['A1:H2', 'A3:C3'] [16.7109375, 3.7109375, 11.7109375, 11.7109375, 16.7109375, 3.7109375, 11.7109375, 11.7109375]\n"
              "{'center'} {20.0} 34\n"
              "True True None thin\n"
              "资  产|期末余额|货币资金|49799.5|#,##0.00|None|资产总计|50929.5|50929.5\n"_s);
    const QString income = m_dir.filePath(u"利润表.xlsx"_s);
    cliExpect(statement(u"利润表13"_s) << u"--xlsx"_s << income, 0);
    EXPECT_EQ(tz::test::readWorkbook(income, uR"(
print(ws['A1'].value, ws['A1'].font.sz, ws['A3'].value, ws['C3'].value, ws['D3'].value, ws['E3'].value, sep='|')
print(sorted(str(r) for r in ws.merged_cells.ranges), [ws.column_dimensions[c].width for c in 'ABCDE'])
print({c.alignment.horizontal for row in ws.iter_rows(1, 4) for c in row if c.value}, {ws.row_dimensions[r].height for r in range(1, ws.max_row + 2)}, ws['A5'].alignment.shrink_to_fit)
print(ws['A4'].value, ws['C4'].value, ws['D4'].value, ws['A5'].value, sep='|')
)"_s),
              u"利  润  表|22.0|编制单位:华新商贸有限公司             |2024年12月   |  单位:元 |None\n"
              "['A1:D2'] [45.7109375, 4.7109375, 14.7109375, 14.7109375, 13.0]\n"
              "{'center'} {20.0} None\n"
              "项  目|本年累计金额|本月金额|一、营业收入\n"_s);
    // A real spreadsheet program opens it and prints it on one page.
    const QString office = QStandardPaths::findExecutable(u"soffice"_s);
    ASSERT_FALSE(office.isEmpty()) << "LibreOffice (libreoffice-calc-nogui) is needed";
    QProcess convert;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(u"HOME"_s, m_dir.path()); // a profile of its own, beside the test's files
    convert.setProcessEnvironment(env);
    convert.start(office, {u"--headless"_s, u"--convert-to"_s, u"pdf"_s, u"--outdir"_s, m_dir.path(), path});
    ASSERT_TRUE(convert.waitForFinished(120000));
    QProcess text;
    text.start(u"pdftotext"_s, {u"-layout"_s, m_dir.filePath(u"资产负债表.pdf"_s), u"-"_s});
    ASSERT_TRUE(text.waitForFinished(30000));
    const QString page = QString::fromUtf8(text.readAllStandardOutput());
    EXPECT_EQ(page.count(u'\f'), 1) << page.toStdString();
    for (const QString &expected : {u"资产负债"_s, u"会小企01表"_s, u"编制单位:华新商贸有限公司"_s, u"2024年12月31日"_s, u"50,929.50"_s})
        EXPECT_TRUE(page.contains(expected)) << expected.toStdString();
}

} // namespace
