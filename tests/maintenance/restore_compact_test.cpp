// Restoring a backup as a new set, compacting the open set under a second
// program's open connection, and salvaging a set with damaged pages.
#include "maintenance/compact.h"

#include <unistd.h>

#include <QCryptographicHash>
#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include "maintenance/bookcheck.h"
#include "maintenance/restore.h"
#include "maintenance/salvage.h"
#include "store/connection.h"
#include "store/dberror.h"
#include "store/keptbalances.h"
#include "store/login.h"
#include "store/safefile.h"
#include "store/session.h"
#include "tests/ledgers/tablesupport.h"
#include "tests/support/scripteddialogs.h"
#include "tests/support/testset.h"

using namespace Qt::Literals::StringLiterals;
using tz::Icon;
using tz::test::Message;
using tz::test::ScriptedDialogs;

namespace {

// Journal lines enough to fill a few hundred pages: balanced pairs of
// vouchers of February, written straight in.
void fillJournal(tz::Session &s, int vouchers)
{
    s.execSql(uR"(WITH RECURSIVE n(k) AS (SELECT 1 UNION ALL SELECT k + 1 FROM n WHERE k < ?)
        INSERT INTO 分录表 (ID, 日期, 月, 字号, 号码, 摘要说明, 科目代码, 借方金额, 贷方金额, 结帐)
        SELECT 8020000000 + k * 1000 + side, '2024-02-10', 2, '记', k, '往来款项 第' || k || '笔,核对无误后入帐',
               CASE side WHEN 1 THEN '1001' ELSE '3001' END,
               CASE side WHEN 1 THEN k ELSE NULL END, CASE side WHEN 2 THEN k ELSE NULL END, 0
          FROM n, (SELECT 1 AS side UNION ALL SELECT 2))"_s,
              {vouchers});
}

QByteArray digest(const QString &path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
}

// Overwrites part of each page (numbered from 1) of the file.
void damagePages(const QString &path, const QList<qint64> &pages)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    for (const qint64 page : pages) {
        file.seek((page - 1) * 4096 + 200);
        file.write(QByteArray(32, '\x5a'));
    }
}

qint64 journalLines(const QString &path)
{
    tz::Connection db;
    db.open(path);
    return db.query(u"SELECT count(*) FROM 分录表"_s).value(0, 0).toLongLong();
}

TEST(Restore, ABackupBecomesANewSetButNeverOverAFile)
{
    EXPECT_EQ(tz::restoredSetName(u"华新2024-03-05.QSBF24"_s), u"华新.Y24"_s);
    EXPECT_EQ(tz::restoredSetName(u"华新2024-03-05升级前.QSBF24"_s), u"华新.Y24"_s);
    EXPECT_EQ(tz::restoredSetName(u"华新.QSBF24"_s), QString()); // no "-"
    EXPECT_EQ(tz::restoredSetName(u"2024-03-05.QSBF24"_s), QString()); // no short name
    EXPECT_EQ(tz::restoredSetName(u"华新2024-03-05.QSBF"_s), QString()); // no year digits
    // A short name may hold "-" and digits; the date after it still ends it.
    EXPECT_EQ(tz::restoredSetName(u"甲-乙2024-03-05.QSBF24"_s), u"甲-乙.Y24"_s);
    EXPECT_EQ(tz::restoredSetName(u"1-22024-03-05升级前.QSBF24"_s), u"1-2.Y24"_s);

    tz::test::TestSet set;
    tz::test::postLines(set.session(), {{8000000001, u"1001"_s, 100.0, {}}, {8000000002, u"3001"_s, {}, 100.0}});
    set.session().CloseMainConnection();
    const QString backup = set.folder() + u"/华新2024-03-05.QSBF24"_s;
    ASSERT_TRUE(QFile::copy(set.path(), backup));
    const QString folder = set.folder() + u"/恢复"_s;
    const auto chosen = [&] { return backup; };

    ScriptedDialogs secondNo({true, false});
    EXPECT_TRUE(tz::RestoreBackup(secondNo, chosen, folder).isRefused());
    EXPECT_EQ(secondNo.questions.value(1).text, u"最后一次提示:你是否要进行帐套数据的恢复?"_s);
    ScriptedDialogs cancelled({true, true});
    EXPECT_TRUE(tz::RestoreBackup(cancelled, [] { return QString(); }, folder).isRefused());
    EXPECT_TRUE(cancelled.messages.isEmpty());

    QString restored;
    ScriptedDialogs yes({true, true});
    ASSERT_TRUE(tz::RestoreBackup(yes, chosen, folder, {}, &restored).isDone());
    EXPECT_EQ(restored, folder + u"/华新.Y24"_s);
    EXPECT_EQ(yes.messages, QList<Message>({{u"1.恢复成功,帐套路径:"_s + restored
                                                 + u"\n\n2.请记住路径,请带走帐套,自动退出系统,请重新进入"_s,
                                             u"TZ305提示"_s, Icon::Exclamation}}));
    EXPECT_EQ(journalLines(restored), 2);

    ScriptedDialogs again({true, true});
    EXPECT_TRUE(tz::RestoreBackup(again, chosen, folder).isRefused());
    EXPECT_EQ(again.messages.value(0), (Message{u"帐套名相同,不能恢复,请拷走帐套直接使用.\n帐套路径: "_s + restored,
                                                u"TZ305提示"_s, Icon::Exclamation}));

    // A file that is no backup never takes a set's name, and leaves nothing behind.
    const QString foreign = set.folder() + u"/别的2024-03-05.QSBF24"_s;
    QFile junk(foreign);
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write(QByteArray(8000, 'x')); // no whole pages: not taken for an encrypted set
    junk.close();
    ScriptedDialogs bad({true, true});
    EXPECT_TRUE(tz::RestoreBackup(bad, [&] { return foreign; }, folder).isFailed());
    EXPECT_TRUE(bad.messages.value(0).text.startsWith(u"恢复没有完成: "_s));
    EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{u"华新.Y24"_s});
    ScriptedDialogs named({true, true});
    EXPECT_TRUE(tz::RestoreBackup(named, chosen, folder, u"a/b"_s).isRefused());
    EXPECT_EQ(named.messages, QList<Message>({{u"帐套名错误!"_s, u"TZ305提示"_s, Icon::Exclamation}}));
    EXPECT_TRUE(named.questions.isEmpty());
}

// Compacting gives the set's name to a new file. Another program's
// connection opened before must write into the new file, not into the old
// one that lost its name; a killed run's scratch file is cleared first.
TEST(Compact, ASmallerFileWithTheSameBooksThatOtherConnectionsFollow)
{
    tz::test::TestSet set;
    tz::Session &s = set.session();
    fillJournal(s, 3000);
    s.execSql(u"DELETE FROM 分录表 WHERE 号码 > 100"_s);
    const QByteArray before = digest(set.path());
    const qint64 size = QFileInfo(set.path()).size();

    tz::Session other;
    other.setDbPath(set.path());
    EXPECT_EQ(other.RunSql(u"SELECT count(*) FROM 分录表"_s).value(0, 0).toInt(), 200);
    const QString stale = set.folder() + u"/.tz305-测试.Y24-999999999-x.tmp"_s;
    const QString live = set.folder() + u"/.tz305-测试.Y24-%1-y.tmp"_s.arg(::getpid());
    for (const QString &path : {stale, live}) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }

    ScriptedDialogs no({true, false});
    EXPECT_TRUE(tz::CompactAccountSet(s, no).isRefused());
    EXPECT_EQ(no.questions.value(1), (Message{u"你确定要压缩和修复当前数据库吗? 请一定要先做数据备份! "_s, u"TZ305提示 "_s,
                                              Icon::Question}));
    EXPECT_EQ(digest(set.path()), before);

    ScriptedDialogs yes({true, true});
    ASSERT_TRUE(tz::CompactAccountSet(s, yes).isDone());
    EXPECT_EQ(yes.messages, QList<Message>({{u"数据库压缩修复成功"_s, u"TZ305"_s, Icon::None}}));
    EXPECT_EQ(yes.steps, (QStringList{u"正在检查帐套…"_s, u"正在压缩帐套…"_s, u"正在检查压缩后的帐套…"_s}));
    EXPECT_LT(QFileInfo(set.path()).size(), size / 2);
    EXPECT_FALSE(QFile::exists(stale));
    EXPECT_TRUE(QFile::exists(live));
    EXPECT_TRUE(tz::verifyAccountSet(set.path()).isEmpty());
    // The copy's triggers are made after its rows: the kept balances are not counted twice.
    EXPECT_EQ(tz::keptBalanceProblems(s), QStringList());

    other.execSql(u"DELETE FROM 分录表 WHERE 号码 = 100"_s);
    EXPECT_EQ(journalLines(set.path()), 198);
    EXPECT_EQ(s.RunSql(u"SELECT count(*), sum(借方金额) FROM 分录表"_s).rows(),
              (QList<QVariantList>{{198, 4950.0}}));
}

// A set whose journal pages no longer decrypt: compacting offers to copy
// what still reads into 测试修复.Y24 and says what was lost; the damaged
// file is never written.
TEST(Compact, ADamagedSetIsSalvagedIntoANewFileBesideIt)
{
    tz::test::TestSet set;
    fillJournal(set.session(), 4000);
    set.session().CloseMainConnection();
    {
        QFile file(set.path());
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        const qint64 pages = file.size() / 4096;
        for (const qint64 page : {pages * 4 / 10, pages / 2, pages * 6 / 10}) {
            file.seek(page * 4096 + 200);
            file.write(QByteArray(32, '\x5a'));
        }
    }
    const QByteArray damaged = digest(set.path());

    tz::Session s;
    s.setDbPath(set.path());
    QStringList problems;
    ScriptedDialogs checked;
    EXPECT_TRUE(tz::CheckBooks(s, problems, checked).isRefused());
    EXPECT_FALSE(problems.isEmpty());
    for (const QString &problem : std::as_const(problems))
        EXPECT_TRUE(problem.startsWith(u"文件完整性: "_s)) << problem.toStdString();

    ScriptedDialogs declined({true, true, false});
    EXPECT_TRUE(tz::CompactAccountSet(s, declined).isRefused());
    const QString target = set.folder() + u"/测试修复.Y24"_s;
    EXPECT_TRUE(declined.questions.value(2).text.startsWith(u"帐套文件已损坏: "_s));
    EXPECT_TRUE(declined.questions.value(2).text.endsWith(u"是否把能读出的数据抢救到新帐套文件 "_s + target
                                                          + u"? 原帐套文件不会改动。"_s));

    QString written;
    ScriptedDialogs yes({true, true, true});
    ASSERT_TRUE(tz::CompactAccountSet(s, yes, &written).isDone());
    EXPECT_EQ(written, target);
    EXPECT_EQ(digest(set.path()), damaged);
    EXPECT_TRUE(tz::verifyAccountSet(target).isEmpty());
    const qint64 saved = journalLines(target);
    EXPECT_GT(saved, 4000);
    EXPECT_LT(saved, 8000);
    tz::Session salvaged;
    salvaged.setDbPath(target);
    // The kept balances are summed from the salvaged journal, not copied: no loss is told of them.
    EXPECT_EQ(tz::keptBalanceProblems(salvaged), QStringList());
    EXPECT_EQ(salvaged.RunSql(u"SELECT sum(行数) FROM 科目月计"_s).value(0, 0).toLongLong(), saved);
    const Message told = yes.messages.value(0);
    EXPECT_EQ(told.icon, Icon::Exclamation);
    EXPECT_TRUE(told.text.startsWith(u"已把能读出的数据抢救到新帐套: "_s + target + u"\n\n分录表: 读出 %1 行"_s.arg(saved)))
        << told.text.toStdString();
    EXPECT_TRUE(told.text.endsWith(u"\n\n原帐套文件没有改动。请登录新帐套,核对凭证和余额后再使用。"_s));
    EXPECT_FALSE(told.text.contains(u"月计"_s)) << told.text.toStdString();
    EXPECT_EQ(tz::salvageTargetFor(set.path()), set.folder() + u"/测试修复2.Y24"_s);
}

// Compacting through a symbolic link compacts the file it names: the link
// stays a link, no second copy of the books appears beside it.
TEST(Compact, ThroughALinkTheFileItNamesIsCompacted)
{
    tz::test::TestSet set;
    fillJournal(set.session(), 2000);
    set.session().execSql(u"DELETE FROM 分录表 WHERE 号码 > 100"_s);
    set.session().CloseMainConnection();
    const qint64 size = QFileInfo(set.path()).size();
    const QString link = set.folder() + u"/链接.Y24"_s;
    ASSERT_TRUE(QFile::link(set.path(), link));

    tz::Session s;
    s.setDbPath(link);
    ScriptedDialogs yes({true, true});
    ASSERT_TRUE(tz::CompactAccountSet(s, yes).isDone());
    EXPECT_EQ(yes.messages.value(0).text, u"数据库压缩修复成功"_s);
    EXPECT_EQ(QFileInfo(link).symLinkTarget(), set.path());
    EXPECT_LT(QFileInfo(set.path()).size(), size / 2);
    EXPECT_EQ(journalLines(link), 200);
    EXPECT_EQ(QDir(set.folder()).entryList(QDir::Files | QDir::Hidden | QDir::System).size(), 2);
}

// Every journal line that reads is salvaged, whatever page is damaged: an
// index page (the integrity check cannot finish), the page of 信息表 (the
// operators do not read, so the template's stay), a page of the schema or
// the first page (no statement runs at all), and several of them at once.
TEST(Compact, DamagedIndexesSettingsOrSchemaLoseNoJournalLine)
{
    tz::test::TestSet set;
    fillJournal(set.session(), 1500);
    const auto root = [&](const QString &name) {
        return set.session().RunSql(u"SELECT rootpage FROM sqlite_master WHERE name = ?"_s, {name}).value(0, 0).toLongLong();
    };
    const qint64 byId = root(u"分录表_ID"_s), byCode = root(u"分录表_科目代码"_s), settings = root(u"信息表"_s);
    const QList<QVariantList> books = set.session().RunSql(u"SELECT count(*), sum(借方金额) FROM 分录表"_s).rows();
    set.session().CloseMainConnection();
    // A page of the schema: the first whose damage stops the set from opening.
    qint64 schema = 0;
    const QString probe = set.folder() + u"/探.Y24"_s;
    for (qint64 page = 2; schema == 0 && page < 60; ++page) {
        QFile::remove(probe);
        ASSERT_TRUE(QFile::copy(set.path(), probe));
        damagePages(probe, {page});
        tz::Connection opened;
        try {
            opened.open(probe);
        } catch (const tz::DbError &) {
            schema = page;
        }
    }
    ASSERT_GT(schema, settings);

    int n = 0;
    for (const QList<qint64> &pages :
         QList<QList<qint64>>{{byId}, {settings}, {schema}, {1}, {byId, byCode, settings, schema}}) {
        const QString folder = set.folder() + u"/"_s + QString::number(++n);
        QDir().mkpath(folder);
        const QString damaged = folder + u"/测试.Y24"_s;
        ASSERT_TRUE(QFile::copy(set.path(), damaged));
        damagePages(damaged, pages);
        const QByteArray before = digest(damaged);
        tz::Session s;
        s.setDbPath(damaged);
        QString written;
        ScriptedDialogs yes({true, true, true});
        ASSERT_TRUE(tz::CompactAccountSet(s, yes, &written).isDone()) << yes.messages.value(0).text.toStdString();
        EXPECT_TRUE(yes.questions.value(2).text.startsWith(u"帐套文件已损坏: "_s));
        EXPECT_EQ(written, folder + u"/测试修复.Y24"_s);
        EXPECT_EQ(digest(damaged), before);
        tz::Session salvaged;
        salvaged.setDbPath(written);
        EXPECT_TRUE(tz::login(salvaged, u"主管"_s, u"888"_s)) << n;
        EXPECT_EQ(salvaged.RunSql(u"SELECT count(*), sum(借方金额) FROM 分录表"_s).rows(), books) << n;
    }
}

} // namespace
