// The print command end to end: PDF files read back with pdftotext page by
// page (vouchers over two pages), the refusals, and paper printing refused
// on a machine without a printer; every report of the demonstration books
// written once, its figures checked against sums of the journal.
#include <gtest/gtest.h>

#include <QLocale>
#include <QProcess>
#include <QRegularExpression>

#include "tests/cli/clirunner.h"
#include "tests/support/envguard.h"

using namespace Qt::Literals::StringLiterals;
using tz::test::cli;
using tz::test::cliExpect;
using tz::test::JournalLine;

namespace {

QString run(const QString &program, const QStringList &args)
{
    QProcess p;
    p.start(program, args);
    p.waitForFinished(30000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

// The text of page `page` without any blanks, so the test does not depend
// on how pdftotext spaces the Chinese glyphs.
QString pageText(const QString &pdf, int page)
{
    const QString n = QString::number(page);
    return run(u"pdftotext"_s, {u"-layout"_s, u"-f"_s, n, u"-l"_s, n, pdf, u"-"_s}).remove(QRegularExpression(u"\\s"_s));
}

int pageCount(const QString &pdf)
{
    const QRegularExpressionMatch m
        = QRegularExpression(u"Pages:\\s+(\\d+)"_s).match(run(u"pdfinfo"_s, {pdf}));
    return m.hasMatch() ? m.captured(1).toInt() : 0;
}

class PrintCommandLine : public tz::test::CliSet
{
protected:
    QString pdf(const QString &name) const { return m_dir.filePath(name); }

    // March voucher `number` with `lines` lines: debits 100, 200, … on 1001
    // and the balancing credit on 5001 as the last line.
    QList<JournalLine> voucher(int number, int lines) const
    {
        QList<JournalLine> out;
        double total = 0;
        for (int i = 1; i < lines; ++i) {
            out.append({8'030'000'000LL + number * 1000 + i, u"1001"_s, 100.0 * i, {}});
            total += 100.0 * i;
        }
        out.append({8'030'000'000LL + number * 1000 + lines, u"5001"_s, {}, total});
        return out;
    }
};

TEST_F(PrintCommandLine, VoucherRangeAsPdfPageByPage)
{
    post(voucher(1, 8) + voucher(2, 4));
    const QString file = pdf(u"凭证.pdf"_s);
    cliExpect(login() << u"print"_s << u"voucher"_s << u"--month"_s << u"3"_s << u"--from"_s << u"1"_s << u"--to"_s
                      << u"2"_s << u"--lines"_s << u"6"_s << u"--pdf"_s << file,
              0, u"[TZ305] 已输出PDF文件: "_s + file + u'\n');
    ASSERT_EQ(pageCount(file), 3);
    const QString first = pageText(file, 1), second = pageText(file, 2), third = pageText(file, 3);
    EXPECT_TRUE(first.contains(u"记帐凭证"_s));
    EXPECT_TRUE(first.contains(u"记字第1号(1/2)"_s));
    EXPECT_TRUE(first.contains(u"1001.库存现金"_s));
    EXPECT_TRUE(first.contains(u"2,800.00"_s)); // the totals, on both pages
    EXPECT_TRUE(second.contains(u"记字第1号(2/2)"_s));
    EXPECT_TRUE(second.contains(u"5001.主营业务收入"_s));
    EXPECT_EQ(second.count(u"2,800.00"_s), 3);
    EXPECT_TRUE(third.contains(u"记字第2号(1/1)"_s));
    EXPECT_TRUE(third.contains(u"制单:出纳"_s));

    // The large form is 25 × 12 cm.
    const QString large = pdf(u"大凭证.pdf"_s);
    cliExpect(login() << u"print"_s << u"voucher"_s << u"--month"_s << u"3"_s << u"--from"_s << u"2"_s << u"--to"_s
                      << u"2"_s << u"--form"_s << u"large"_s << u"--pdf"_s << large,
              0);
    EXPECT_TRUE(run(u"pdfinfo"_s, {large}).contains(u"709 x 340 pts"_s));
}

TEST_F(PrintCommandLine, RefusalsAndNoPrinter)
{
    post(voucher(1, 2));
    const QStringList range = login() << u"print"_s << u"voucher"_s << u"--month"_s << u"3"_s << u"--from"_s;
    cliExpect(range + QStringList {u"1"_s, u"--to"_s, u"2"_s, u"--pdf"_s, pdf(u"a.pdf"_s)}, 1,
              u"[TZ305] 最大号码错误\n"_s);
    EXPECT_FALSE(QFile::exists(pdf(u"a.pdf"_s)));
    // Never over an account set.
    cliExpect(range + QStringList {u"1"_s, u"--pdf"_s, m_set}, 1, u"[TZ305提示] 不能覆盖帐套文件: "_s + m_set + u'\n');
    cliExpect(login() << u"print"_s << u"ledger"_s << u"--account"_s << u"1001"_s, 2);
    cliExpect(login() << u"print"_s << u"ledger"_s << u"--account"_s << u"9999"_s << u"--format"_s << u"three"_s
                      << u"--pdf"_s << pdf(u"a.pdf"_s),
              1, u"[TZ305提示] 9999  此科目不存在!\n"_s);

    // Paper needs a printer; with no print server there is none.
    tz::test::EnvGuard noServer("CUPS_SERVER", "/nonexistent/cups.sock");
    cliExpect(range + QStringList {u"1"_s}, 1, u"[TZ305提示 ] 你电脑上没有安装打印机!! \n"_s);
    cliExpect(login() << u"print"_s << u"summary"_s << u"--month"_s << u"3"_s, 1,
              u"[TZ305提示 ] 你电脑上没有安装打印机!! \n"_s);
}

// Every print command on the demonstration books (20 vouchers a month,
// months 1 to 11 closed): each report's first page shows its title and
// figures summed here from the journal through the sql command.
TEST(PrintDemonstrationBooks, EveryReportShowsTheJournalsSums)
{
    QTemporaryDir dir;
    ASSERT_EQ(cli({u"demo"_s, u"--dir"_s, dir.path()}).status, 0);
    const QStringList login
        = {u"--set"_s, dir.filePath(u"示例.Y24"_s), u"--operator"_s, u"主管"_s, u"--password"_s, u"888"_s};
    // Debit and credit totals of the lines of `codes` (a GLOB) in periods
    // `from`..`to` (the ID's first three digits: 800 the opening lines,
    // 801..812 the months).
    struct Sums { double debit, credit; };
    const auto sums = [&](const QString &codes, int from, int to, const QString &more = {}) {
        const QStringList cells
            = cli(QStringList(login) << u"sql"_s
                        << u"SELECT total(借方金额), total(贷方金额) FROM 分录表 WHERE 科目代码 GLOB '%1' "
                           "AND ID / 10000000 BETWEEN %2 AND %3 %4"_s.arg(codes).arg(from).arg(to).arg(more))
                  .out.section(u'\n', 1, 1).split(u'\t');
        return Sums{cells.value(0).toDouble(), cells.value(1).toDouble()};
    };
    const auto money = [](double v) { return QLocale(QLocale::English).toString(v, 'f', 2); };
    const auto both = [&](Sums s) { return money(s.debit) + money(s.credit); };
    const auto debitSide = [](Sums s) { return s.debit - s.credit; };
    const auto creditSide = [](Sums s) { return s.credit - s.debit; };

    const Sums bankOpening = sums(u"1002*"_s, 800, 810), bankMonth = sums(u"1002*"_s, 811, 811),
               bankYear = sums(u"1002*"_s, 801, 811), cashOpening = sums(u"10[01][12]*"_s, 800, 800),
               cashEnd = sums(u"10[01][12]*"_s, 800, 811), profitMonth = sums(u"3103"_s, 811, 811),
               profitYear = sums(u"3103"_s, 801, 811);
    const struct
    {
        QStringList args;
        QStringList texts; // on page 1, without blanks
    } reports[] = {
        {{u"voucher"_s, u"--month"_s, u"11"_s, u"--from"_s, u"1"_s, u"--to"_s, u"3"_s},
         {u"记帐凭证"_s, u"总计"_s + both(sums(u"*"_s, 811, 811, u"AND 号码 = 1"_s))}},
        {{u"ledger"_s, u"--account"_s, u"1002001"_s, u"--format"_s, u"three"_s},
         {u"银行存款明细帐"_s, u"年初余额借"_s + money(debitSide(sums(u"1002001"_s, 800, 800))),
          u"本月合计"_s + both(sums(u"1002001"_s, 801, 801)), u"过次页"_s}},
        {{u"ledger"_s, u"--account"_s, u"1405"_s, u"--format"_s, u"quantity"_s},
         {u"库存商品数量金额明细帐"_s, u"本月合计"_s + both(sums(u"1405"_s, 801, 801))}},
        {{u"ledger"_s, u"--account"_s, u"1601"_s, u"--format"_s, u"fixed"_s},
         {u"固定资产及累计折旧(摊销)明细帐"_s,
          u"年初余额"_s + money(debitSide(sums(u"1601"_s, 800, 800))) + money(creditSide(sums(u"1602"_s, 800, 800)))
              + money(debitSide(sums(u"160[12]"_s, 800, 800)))}},
        {{u"balance"_s, u"--month"_s, u"11"_s, u"--depth"_s, u"2"_s},
         {u"科目余额表"_s, u"会计期间:2024年11月"_s, u"1002银行存款"_s + money(debitSide(bankOpening)) + both(bankMonth) + both(bankYear)
                               + money(debitSide(bankOpening) + debitSide(bankMonth)) + u"借"_s}},
        {{u"summary"_s, u"--month"_s, u"11"_s}, {u"科目汇总表"_s, u"合计"_s + both(sums(u"*"_s, 811, 811))}},
        {{u"statement"_s, u"--table"_s, u"资产表13"_s, u"--month"_s, u"11"_s},
         {u"资产负债表"_s, u"会小企01表"_s, u"2024年11月30日"_s, u"货币资金1"_s + money(debitSide(cashOpening)) + money(debitSide(cashEnd))}},
        {{u"statement"_s, u"--table"_s, u"利润表13"_s, u"--month"_s, u"11"_s},
         {u"利润表"_s, u"32"_s + money(creditSide(profitMonth)) + money(creditSide(profitYear))}},
        {{u"statement"_s, u"--table"_s, u"现流表"_s, u"--month"_s, u"11"_s},
         {u"现金流量表"_s, u"五、期末现金余额25"_s + money(debitSide(cashEnd)) + money(debitSide(cashEnd))}},
    };
    int n = 0;
    for (const auto &report : reports) {
        const QString file = dir.filePath(u"%1.pdf"_s.arg(++n));
        const tz::test::CliRun run = cli(login + QStringList{u"print"_s} + report.args + QStringList{u"--pdf"_s, file});
        const std::string what = report.args.join(u' ').toStdString();
        ASSERT_EQ(run.status, 0) << what << run.err.toStdString();
        const QString page = pageText(file, 1);
        for (const QString &text : report.texts)
            EXPECT_TRUE(page.contains(text)) << what << ": " << text.toStdString() << " not in " << page.toStdString();
    }
}

} // namespace
