// The export commands end to end: a sheet of each kind of table, the ledger
// workbook of an account, the refusals of a table without records, and
// every writer of files on a nearly full disk.
#include <csignal>

#include <sys/resource.h>

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include "printing/pagepainter.h"
#include "tests/cli/clirunner.h"
#include "tests/support/workbookreader.h"

using namespace Qt::Literals::StringLiterals;
using tz::test::cli;
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

// A nearly full disk: each writer (PDF, sheet, statement workbook, plain
// journal, backup, restore, compact, carry forward, the set's own writes)
// says so and installs nothing (a PDF is checked for its trailer before it
// is installed); a set with a damaged page is told as damaged, not as the
// backup folder's fault.
TEST_F(ExportCommandLine, AFullDiskAndADamagedSetAreToldAsSuch)
{
    QList<tz::test::JournalLine> lines; // a journal text of some kilobytes
    for (qint64 k = 1; k <= 60; ++k)
        lines << tz::test::JournalLine{8030000001 + k * 1000, u"1001"_s, 100.0 + double(k), {}}
              << tz::test::JournalLine{8030000002 + k * 1000, u"3001"_s, {}, 100.0 + double(k)};
    post(lines);
    const QStringList yes = QStringList{u"--yes"_s} << login();
    cliExpect(yes + QStringList{u"settings"_s, u"backup-path"_s, file(u"备份"_s)}, 0);
    const QString backup = cliExpect(yes + QStringList{u"backup"_s}, 0).out.section(u'\n', 1, 1);

    // A PDF is whole when its trailer points at its cross-reference table.
    const QString whole = file(u"凭证.pdf"_s);
    cliExpect(login() << u"print"_s << u"voucher"_s << u"--month"_s << u"3"_s << u"--from"_s << u"1"_s << u"--to"_s
                      << u"1"_s << u"--pdf"_s << whole,
              0);
    EXPECT_TRUE(tz::isWholePdf(whole));
    QFile cut(whole);
    ASSERT_TRUE(cut.resize(cut.size() - 100));
    EXPECT_FALSE(tz::isWholePdf(whole));

    const QString full = file(u"满"_s);
    ASSERT_TRUE(QDir().mkpath(full));
    cliExpect(yes + QStringList{u"settings"_s, u"backup-path"_s, full}, 0);
    const QString noRoom = u"磁盘空间不足或文件超过允许的大小,无法写入: "_s;
    const QString pdf = full + u"/凭证.pdf"_s;
    const QString sheet = full + u"/分录.xlsx"_s;
    const QString statement = full + u"/资产表.xlsx"_s;
    const QString journal = full + u"/帐簿.journal"_s;
    const QList<std::pair<QStringList, QString>> cases = {
        {login() << u"print"_s << u"voucher"_s << u"--month"_s << u"3"_s << u"--from"_s << u"1"_s << u"--to"_s
                 << u"60"_s << u"--pdf"_s << pdf,
         u"[TZ305提示] "_s + noRoom + pdf},
        {login() << u"export"_s << u"sheet"_s << u"--query"_s << u"journal"_s << u"--xlsx"_s << sheet,
         u"[TZ305提示] "_s + noRoom + sheet},
        {login() << u"statement"_s << u"--table"_s << u"资产表13"_s << u"--month"_s << u"3"_s << u"--xlsx"_s
                 << statement,
         u"[TZ305提示] "_s + noRoom + statement},
        {login() << u"export-journal"_s << journal, u"[TZ305提示] "_s + noRoom + journal},
        {yes + QStringList{u"backup"_s}, u"[TZ305提示] 备份没有完成: "_s + noRoom + full},
        {{u"--yes"_s, u"restore"_s, u"--from"_s, backup, u"--as"_s, u"新华"_s, u"--dir"_s, full},
         u"[TZ305提示] 恢复没有完成: "_s + noRoom + full},
    };
    for (const auto &[args, message] : cases) {
        const tz::test::CliRun run = cli(args, tz::test::fullDiskAt(full));
        EXPECT_EQ(run.status, 3) << args.join(u' ').toStdString() << '\n' << run.err.toStdString();
        EXPECT_TRUE(run.err.endsWith(message + u'\n')) << run.err.toStdString();
    }
    EXPECT_EQ(QDir(full).entryList(QDir::Files | QDir::Hidden), QStringList());
    // Compact and carry forward write beside the set: on a disk that holds
    // the set and little more.
    for (const QString &command : {u"compact"_s, u"carry-forward"_s}) {
        const tz::test::CliRun run = cli(yes + QStringList{command}, tz::test::fullDiskAt(m_dir.path(), m_set));
        EXPECT_EQ(run.status, 3) << run.err.toStdString();
        EXPECT_TRUE(run.err.endsWith(noRoom + m_dir.path() + u'\n')) << run.err.toStdString();
    }

    // The set's own write past the size a file may have: nothing written.
    const tz::test::CliRun opening = cli(login() << u"opening"_s << u"set"_s << u"--code"_s << u"1001"_s
                                                 << u"--debit"_s << u"5"_s,
                                         [] {
                                             const rlimit limit{64 * 1024, 64 * 1024};
                                             setrlimit(RLIMIT_FSIZE, &limit);
                                             std::signal(SIGXFSZ, SIG_IGN);
                                         });
    EXPECT_EQ(opening.status, 3);
    EXPECT_EQ(opening.err, u"[TZ305提示] "_s + noRoom + m_set + u"(此次操作没有写入任何数据)\n"_s);

    // A page in the middle of the set that does not decrypt, then also
    // write-protected; the backup goes to the (real, empty) folder under
    // the small disk.
    QFile set(m_set);
    ASSERT_TRUE(set.open(QIODevice::ReadWrite) && set.seek(10 * 4096));
    set.write(QByteArray(4096, '\x5a'));
    set.close();
    for (const bool writeProtected : {false, true}) {
        if (writeProtected) {
            ASSERT_TRUE(QFile::setPermissions(m_set, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
        }
        const tz::test::CliRun damaged = cli(yes + QStringList{u"backup"_s});
        EXPECT_EQ(damaged.status, 3);
        EXPECT_TRUE(damaged.err.endsWith(
            u"[TZ305提示] 帐套文件已损坏,不能再写入数据。请先在[系统设置]中点[压缩修复数据库]修复帐套: "_s + m_set + u'\n'))
            << writeProtected << damaged.err.toStdString();
    }
}

} // namespace
