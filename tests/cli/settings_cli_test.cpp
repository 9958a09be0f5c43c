// The settings commands end to end: each runs the settings operation for
// the logged-in operator, and its outcome decides the exit status. The
// maintenance commands meet a full disk and a folder they may not write.
#include <csignal>

#include <linux/capability.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include "maintenance/passphrase.h"
#include "store/connection.h"
#include "store/dberror.h"
#include "store/session.h"
#include "store/setkeys.h"
#include "tests/cli/clirunner.h"
#include "tests/support/envguard.h"

using namespace Qt::Literals::StringLiterals;
using tz::test::CliRun;
using tz::test::cli;
using tz::test::cliExpect;

namespace {

class SettingsCommands : public tz::test::CliSet
{
};

TEST_F(SettingsCommands, RenameAndPasswordFromAFileOrTheEnvironment)
{
    const QString boss = u"O'Brien 老王"_s;
    cliExpect(as(u"主管"_s, u"888"_s) << u"settings"_s << u"rename"_s << boss, 0, u"[提示] 修改成功\n"_s);
    cliExpect(as(boss, u"888"_s) << u"info"_s, 0);
    cliExpect(as(u"主管"_s, u"888"_s) << u"info"_s, 1, u"[TZ305提示] 操作员或密码不正确!\n"_s);

    // A new password is never taken from the command line, which every user
    // sees in the process list: from a file, the environment or a prompt.
    const QStringList password = as(u"会计"_s, u"111"_s) << u"settings"_s << u"password"_s;
    cliExpect(QStringList(password) << u"p'w%"_s, 2,
              u"tz305-cli: 新密码不能写在命令行上(进程列表中人人可见): 请用 --new-password-file 文件(第一行)、"
              "环境变量 TZ305_NEW_PASSWORD,或在终端提示时输入\n"_s);
    const QString file = m_dir.filePath(u"新密码"_s);
    QFile text(file);
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("p'w%\n");
    text.close();
    cliExpect(QStringList(password) << u"--new-password-file"_s << file, 0, u"[提示] 修改成功\n"_s);
    cliExpect(as(u"会计"_s, u"111"_s) << u"info"_s, 1);
    {
        const tz::test::EnvGuard typed("TZ305_NEW_PASSWORD", u"新 密"_s.toUtf8());
        cliExpect(as(u"会计"_s, u"p'w%"_s) << u"settings"_s << u"password"_s, 0, u"[提示] 修改成功\n"_s);
    }
    cliExpect(as(u"会计"_s, u"新 密"_s) << u"info"_s, 0);
}

// Backup, restore and compact round trip; then a disk that takes no more
// than 64 KiB per file and a write-protected backup folder: a clear
// message, no file in the folder, the set as it was.
TEST_F(SettingsCommands, BackupRestoreCompactAndWhatCannotBeWritten)
{
    post({{8000000001, u"1001"_s, 100.0, {}}, {8000000002, u"3001"_s, {}, 100.0}});
    const QString folder = m_dir.filePath(u"备份"_s);
    const QStringList yes = QStringList{u"--yes"_s} << login();
    cliExpect(yes + QStringList{u"settings"_s, u"backup-path"_s, folder}, 0);
    const CliRun backup = cliExpect(yes + QStringList{u"backup"_s}, 0);
    const QString copy = backup.out.section(u'\n', 1, 1);
    EXPECT_TRUE(copy.startsWith(folder + u"/华新"_s)) << backup.out.toStdString();

    const QStringList restore = {u"--yes"_s, u"restore"_s, u"--from"_s, copy, u"--as"_s, u"新华"_s,
                                 u"--dir"_s, m_dir.path()};
    EXPECT_EQ(cliExpect(restore, 0).out, u"恢复的帐套\n"_s + m_dir.filePath(u"新华.Y24"_s) + u'\n');
    cliExpect(restore, 1);
    // A name with a line break, a tab or a hidden direction mark is no short
    // name; a restore that fails removes the folders it made.
    const QString made = m_dir.filePath(u"恢复"_s);
    for (const QString &name : {u"新\n华"_s, u"新\t华"_s, u"新\u202E华"_s}) {
        const CliRun refused = cli({u"--yes"_s, u"restore"_s, u"--from"_s, copy, u"--as"_s, name, u"--dir"_s, made});
        EXPECT_EQ(refused.status, 1);
        EXPECT_TRUE(refused.err.endsWith(u"[TZ305提示] 帐套名错误!\n"_s)) << refused.err.toStdString();
    }
    QFile junk(m_dir.filePath(u"别的2024-03-05.QSBF24"_s));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write(QByteArray(8000, 'x')); // no whole pages: not taken for an encrypted set
    junk.close();
    EXPECT_EQ(cli({u"--yes"_s, u"restore"_s, u"--from"_s, junk.fileName(), u"--dir"_s, made + u"/二级"_s}).status, 3);
    EXPECT_FALSE(QFileInfo::exists(made));
    EXPECT_EQ(cliExpect(yes + QStringList{u"compact"_s}, 0).out, u"帐套\n"_s + m_set + u'\n');
    cliExpect(login() << u"check"_s, 0);

    QFile::remove(copy);
    const QStringList sums = login() << u"sql"_s << u"SELECT count(*), sum(借方金额) FROM 分录表"_s;
    const QString books = cli(sums).out;
    const auto smallDisk = [] {
        const rlimit limit{64 * 1024, 64 * 1024};
        setrlimit(RLIMIT_FSIZE, &limit);
        std::signal(SIGXFSZ, SIG_IGN); // a write past the limit fails instead of ending the program
    };
    const CliRun full = cli(yes + QStringList{u"backup"_s}, smallDisk);
    EXPECT_EQ(full.status, 3);
    EXPECT_TRUE(full.err.contains(u"备份没有完成: 磁盘空间不足或文件超过允许的大小,无法写入: "_s + folder))
        << full.err.toStdString();
    EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList());
    const CliRun fullCompact = cli(yes + QStringList{u"compact"_s}, smallDisk);
    EXPECT_EQ(fullCompact.status, 3);
    EXPECT_TRUE(fullCompact.err.contains(u"磁盘空间不足或文件超过允许的大小,无法写入: "_s + m_dir.path()))
        << fullCompact.err.toStdString();
    EXPECT_EQ(QDir(m_dir.path()).entryList({u".tz305*"_s}, QDir::Files | QDir::Hidden), QStringList());
    EXPECT_EQ(cli(sums).out, books);

    // Root writes into any folder whatever its mode: the program then runs
    // without the capability to override file modes (it keeps the same
    // user, so it still reaches the program and the set).
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther);
    const auto withoutOverride = [] {
        if (::geteuid() == 0
            && (::prctl(PR_CAPBSET_DROP, CAP_DAC_OVERRIDE, 0, 0, 0) != 0
                || ::prctl(PR_CAPBSET_DROP, CAP_DAC_READ_SEARCH, 0, 0, 0) != 0))
            ::_exit(99);
    };
    const CliRun readOnly = cli(yes + QStringList{u"backup"_s}, withoutOverride);
    EXPECT_EQ(readOnly.status, 3);
    EXPECT_TRUE(readOnly.err.contains(u"备份没有完成: 文件夹不能写入(请检查是否只读、有无写入权限): "_s + folder))
        << readOnly.err.toStdString();
    EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList());
    EXPECT_EQ(cli(sums).out, books);
}

// A write-protected set (no write bit, which even root's program heeds)
// answers every query, its work tables filled in a temporary place, and is
// copied by the backup and the carry forward; a write is refused by name
// and the file never changes.
TEST_F(SettingsCommands, AWriteProtectedSetAnswersQueriesAndIsCopied)
{
    post({{8000000001, u"1001"_s, 100.0, {}}, {8000000002, u"3001"_s, {}, 100.0},
          {8010001001, u"1001"_s, 30.0, {}}, {8010001002, u"5001"_s, {}, 30.0}});
    const QString folder = m_dir.filePath(u"备份"_s);
    const QStringList yes = QStringList{u"--yes"_s} << login();
    cliExpect(yes + QStringList{u"settings"_s, u"backup-path"_s, folder}, 0);
    ASSERT_TRUE(QFile::setPermissions(m_set, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    const QByteArray before = [&] { QFile f(m_set); f.open(QIODevice::ReadOnly); return f.readAll(); }();

    EXPECT_TRUE(cliExpect(login() << u"statement"_s << u"--table"_s << u"资产表13"_s << u"--month"_s << u"1"_s, 0)
                    .out.contains(u"货币资金\t1\t130.00\t100.00\t"_s));
    EXPECT_TRUE(cliExpect(login() << u"balance"_s << u"--month"_s << u"1"_s, 0)
                    .out.contains(u"1001\t库存现金\t借\t100\t30\t"_s));
    for (const QStringList &written : {QStringList{u"print"_s, u"balance"_s, u"--month"_s, u"1"_s, u"--pdf"_s},
                                       QStringList{u"export"_s, u"sheet"_s, u"--query"_s, u"balance"_s, u"--month"_s,
                                                   u"1"_s, u"--xlsx"_s}}) {
        const QString file = m_dir.filePath(written.first() + u".out"_s);
        cliExpect(login() << written << file, 0);
        EXPECT_GT(QFileInfo(file).size(), 0) << file.toStdString();
    }
    EXPECT_EQ(cliExpect(yes + QStringList{u"backup"_s}, 0).out.section(u'\n', 1, 1).section(u'/', 0, -2), folder);
    EXPECT_EQ(cliExpect(yes + QStringList{u"carry-forward"_s}, 0).out,
              u"新帐套\n"_s + m_dir.filePath(u"华新.Y25"_s) + u'\n');
    cliExpect(login() << u"settings"_s << u"company"_s << u"别家"_s, 3,
              u"[TZ305提示] 帐套文件是只读的,只能查询,不能修改: "_s + m_set + u'\n');
    QFile after(m_set);
    ASSERT_TRUE(after.open(QIODevice::ReadOnly));
    EXPECT_EQ(after.readAll(), before);
}

// A set whose 信息表 page does not read cannot be logged in to, and the
// login's message sends the user to 压缩修复: compact then salvages it into
// a new set, which opens with the template's operators.
TEST_F(SettingsCommands, ASetTooDamagedToLogInToIsSalvagedByCompact)
{
    post({{8000000001, u"1001"_s, 100.0, {}}, {8000000002, u"3001"_s, {}, 100.0}});
    qint64 page = 0;
    {
        tz::Session session;
        session.setDbPath(m_set);
        page = session.RunSql(u"SELECT rootpage FROM sqlite_master WHERE name = '信息表'"_s).value(0, 0).toLongLong();
    }
    QFile file(m_set);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    file.seek((page - 1) * 4096 + 200);
    file.write(QByteArray(32, '\x5a'));
    file.close();
    const QString advice = u"[TZ305提示] 帐套文件已损坏,不能再写入数据。请先在[系统设置]中点[压缩修复数据库]修复帐套: "_s + m_set;
    EXPECT_TRUE(cliExpect(login() << u"info"_s, 3).err.startsWith(advice));
    const CliRun salvaged = cliExpect(QStringList{u"--yes"_s} << login() << u"compact"_s, 0);
    EXPECT_TRUE(salvaged.err.startsWith(advice)) << salvaged.err.toStdString();
    const QString target = m_dir.filePath(u"华新修复.Y24"_s);
    EXPECT_EQ(salvaged.out, u"帐套\n"_s + target + u'\n');
    EXPECT_EQ(cliExpect(QStringList{u"--set"_s, target, u"--operator"_s, u"主管"_s, u"--password"_s, u"888"_s, u"sql"_s,
                                    u"SELECT count(*) FROM 分录表"_s},
                        0)
                  .out,
              u"count(*)\n2\n"_s);
}

// 帐套加密 end to end: the set, its backup, its compacted file and next
// year's set open only with the passphrase; no passphrase and a wrong one
// are told apart (exit status 1); the removal brings back the shared key.
TEST_F(SettingsCommands, APassphraseProtectsTheSetAndEveryCopyOfIt)
{
    const auto written = [this](const QString &name, const QByteArray &line) {
        QFile file(m_dir.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(line + '\n');
        return file.fileName();
    };
    const QString pass = written(u"帐套密码"_s, "秘 密'1");
    const QStringList given = {u"--set-passphrase-file"_s, pass};
    const QStringList yes = QStringList{u"--yes"_s} << login();
    const QString folder = m_dir.filePath(u"备份"_s);
    cliExpect(yes + QStringList{u"settings"_s, u"backup-path"_s, folder}, 0);
    cliExpect(yes + QStringList{u"passphrase"_s, u"set"_s, u"--file"_s, pass}, 0,
              u"[TZ305提示] "_s + QString::fromUtf16(tz::kSetPassphraseQuestion)
                  + u" 是\n[TZ305提示] 帐套加密成功。请牢记帐套密码:遗失后任何人都不能打开此帐套。\n"_s);

    cliExpect(login() << u"accounts"_s, 1, u"[TZ305提示] 此帐套已加密,请输入帐套密码: "_s + m_set + u'\n');
    cliExpect(QStringList{u"--set-passphrase-file"_s, written(u"错的"_s, "秘 密'2")} + login() << u"accounts"_s, 1,
              u"[TZ305提示] 帐套密码不正确,无法打开: "_s + m_set + u'\n');
    {
        const tz::test::EnvGuard typed("TZ305_SET_PASSPHRASE", "秘 密'1");
        cliExpect(login() << u"check"_s, 0);
    }
    const QString backup = cliExpect(given + yes << u"backup"_s, 0).out.section(u'\n', 1, 1);
    // Restoring the backup without its passphrase is refused as the set's login is.
    const QString restored = m_dir.filePath(u"恢复"_s);
    const tz::test::CliRun refused = cli({u"--yes"_s, u"restore"_s, u"--from"_s, backup, u"--dir"_s, restored});
    EXPECT_EQ(refused.status, 1);
    EXPECT_TRUE(refused.err.endsWith(u"[TZ305提示] 恢复没有完成: 此帐套已加密,请输入帐套密码: "_s + backup + u'\n'))
        << refused.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(restored));
    cliExpect(given + yes << u"compact"_s, 0);
    cliExpect(given + yes << u"carry-forward"_s, 0);
    // The shared key opens none of them (this process was given no passphrase).
    for (const QString &path : {m_set, backup, m_dir.filePath(u"华新.Y25"_s)}) {
        SCOPED_TRACE(path.toStdString());
        tz::Connection shared;
        EXPECT_THROW(shared.open(path), tz::DbError);
        tz::Connection own;
        own.open(path, tz::passphraseKey(u"秘 密'1"_s));
        EXPECT_EQ(own.query(u"PRAGMA quick_check"_s).value(0, 0).toString(), u"ok"_s);
    }

    cliExpect(given + yes << u"passphrase"_s << u"remove"_s, 0,
              u"[TZ305提示] "_s + QString::fromUtf16(tz::kRemovePassphraseQuestion) + u" 是\n[TZ305提示] 已取消帐套加密\n"_s);
    tz::Connection shared;
    shared.open(m_set);
    cliExpect(QStringList(yes) << u"passphrase"_s << u"remove"_s, 1, u"[TZ305提示] 此帐套没有加密\n"_s);
}

} // namespace
