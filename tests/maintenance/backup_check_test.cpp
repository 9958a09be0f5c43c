// The backup of the open set (a verified copy under the dated name, a
// same-day copy replaced, the refusals) and the check of the books (sound
// books pass, planted faults are named).
#include "maintenance/backup.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include "maintenance/bookcheck.h"
#include "maintenance/carryforward.h"
#include "maintenance/initialise.h"
#include "store/connection.h"
#include "store/keptbalances.h"
#include "store/schemaupgrade.h"
#include "store/session.h"
#include "tests/ledgers/tablesupport.h"
#include "tests/support/scripteddialogs.h"
#include "tests/support/testset.h"

using namespace Qt::Literals::StringLiterals;
using tz::Icon;
using tz::test::Message;
using tz::test::ScriptedDialogs;

namespace {

TEST(Backup, AVerifiedDatedCopyThatASameDayBackupReplaces)
{
    tz::test::TestSet set;
    tz::Session &s = set.session();
    s.setSetShortName(u"测试"_s);
    tz::test::postLines(s, {{8000000001, u"1001"_s, 100.0, {}}, {8000000002, u"3001"_s, {}, 100.0}});

    ScriptedDialogs noFolder({true});
    EXPECT_TRUE(tz::BackupAccountSet(s, noFolder).isRefused());
    EXPECT_EQ(noFolder.messages, QList<Message>({{u"路径不对,请检查备份路径是否正确!"_s, u"TZ305"_s, Icon::None}}));

    const QString folder = set.folder() + u"/备份/2024"_s;
    s.execSql(u"UPDATE 信息表 SET 备份路径 = ? WHERE 代号 = 'TZ'"_s, {folder});
    ScriptedDialogs no({false});
    EXPECT_TRUE(tz::BackupAccountSet(s, no).isRefused());
    EXPECT_EQ(no.questions.value(0).text, u"是否备份 2024 年度的数据?"_s);
    EXPECT_FALSE(QDir(folder).exists());

    const QDate day(2024, 3, 5);
    QString written;
    ScriptedDialogs yes({true, true});
    ASSERT_TRUE(tz::BackupAccountSet(s, yes, &written, day).isDone());
    EXPECT_EQ(written, folder + u"/测试2024-03-05.QSBF24"_s);
    EXPECT_EQ(yes.messages, QList<Message>({{u"数据成功备份到: "_s + folder + u"  文件夹中"_s, u"TZ305"_s, Icon::None}}));
    // The same day again replaces it with the books as they are now; nothing is left beside it.
    tz::test::postLines(s, {{8010001001, u"1001"_s, 5.0, {}}, {8010001002, u"3001"_s, {}, 5.0}});
    ASSERT_TRUE(tz::BackupAccountSet(s, yes, &written, day).isDone());
    EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{u"测试2024-03-05.QSBF24"_s});
    tz::Connection copy;
    copy.open(written);
    EXPECT_EQ(copy.query(u"SELECT count(*), sum(TZID) FROM 分录表"_s).rows(),
              s.RunSql(u"SELECT count(*), sum(TZID) FROM 分录表"_s).rows());
    EXPECT_EQ(copy.query(u"PRAGMA user_version"_s).value(0, 0), s.RunSql(u"PRAGMA user_version"_s).value(0, 0));
    // The copy's triggers are made after its rows: the kept balances are copied, not counted again.
    EXPECT_EQ(copy.query(u"SELECT * FROM 科目月计"_s).rows(), s.RunSql(u"SELECT * FROM 科目月计"_s).rows());
}

TEST(CheckBooks, SoundBooksPassAndPlantedFaultsAreNamed)
{
    tz::test::TestSet set;
    tz::Session &s = set.session();
    tz::test::postLines(s, {{8000000001, u"1001"_s, 100.0, {}}, {8000000002, u"3001"_s, {}, 100.0},
                            {8020001001, u"1001"_s, 10.0, {}, {}, {}, 1}, {8020001002, u"5001"_s, {}, 10.0, {}, {}, 1}});
    QStringList problems;
    ScriptedDialogs sound;
    EXPECT_TRUE(tz::CheckBooks(s, problems, sound).isDone());
    EXPECT_EQ(sound.messages, QList<Message>({{u"帐套检查完毕,没有发现问题"_s, u"TZ305"_s, Icon::Information}}));

    tz::test::postLines(s, {{8020003001, u"1002"_s, 7.0, {}}, {8020003002, u"9999"_s, {}, 6.99},
                            {8040001001, u"1001"_s, 10.001, {}}, {8040001002, u"5001"_s, {}, 10.0},
                            {8120001001, u"1001"_s, 1.0, {}}, {8120001002, u"5001"_s, {}, 1.0}});
    s.execSql(u"UPDATE 分录表 SET 日期 = '2024-03-01' WHERE 月 = 12"_s);
    // Kept balances changed by SQL, behind the posting's back.
    s.execSql(u"UPDATE 科目月计 SET 借方 = 借方 + 1 WHERE 科目代码 = '1001' AND 期 = 802"_s);
    s.execSql(u"INSERT INTO 流量月计 VALUES ('011', 800, 1, 500)"_s);
    ScriptedDialogs faults;
    EXPECT_TRUE(tz::CheckBooks(s, problems, faults).isRefused());
    EXPECT_EQ(problems, (QStringList{u"2月3号凭证借贷不平: 借方 7.00, 贷方 6.99"_s,
                                     u"4月1号凭证借贷不平: 借方 10.001, 贷方 10.00"_s,
                                     u"分录8040001001的金额10.001超过两位小数"_s,
                                     u"12月1号凭证的日期不在本月: 2024-03-01"_s,
                                     u"2月凭证号不连续或重复: 共2张, 最大号码3"_s,
                                     u"分录8020003001的科目代码1002不是明细科目"_s,
                                     u"分录8020003002的科目代码9999不在科目表中"_s,
                                     u"2月已结帐,但有2行分录未标记结帐"_s,
                                     u"科目1001 2月的保存余额与分录不符: 保存借方 10.01、贷方 0.00, 分录借方 10.00、贷方 0.00"_s,
                                     u"现金流量项目011 年初的保存金额与分录不符: 保存 5.00, 分录 无"_s,
                                     u"12月1号凭证在程序外被改动"_s}));
    EXPECT_EQ(faults.messages.value(0), (Message{u"帐套检查发现11个问题"_s, u"TZ305提示"_s, Icon::Exclamation}));
}

// A set made before the trail of changes gets its tables when upgraded at
// login, with one row recording the books as they stand, and checks clean.
TEST(CheckBooks, AnOlderSetStartsItsLogFromItsPresentBooks)
{
    tz::test::TestSet set;
    tz::Session &s = set.session();
    for (const tz::test::JournalLine &line : QList<tz::test::JournalLine>{
             {8000000001, u"1001"_s, 100.0, {}}, {8000000002, u"3001"_s, {}, 100.0},
             {8020001001, u"1001"_s, 10.0, {}}, {8020001002, u"5001"_s, {}, 10.0}})
        tz::test::postLine(s, line);
    s.execSql(u"DROP TABLE 操作日志"_s);
    s.execSql(u"DROP TABLE 凭证指纹"_s);
    for (const QString &made : {u"TRIGGER 分录表_月计_增"_s, u"TRIGGER 分录表_月计_删"_s, u"TRIGGER 分录表_月计_改"_s,
                                u"VIEW 月计变动"_s, u"TABLE 科目月计"_s, u"TABLE 流量月计"_s})
        s.execSql(u"DROP "_s + made);
    s.execSql(u"PRAGMA user_version = 4"_s);
    tz::upgradeAccountSet(s);
    EXPECT_EQ(s.RunSql(u"SELECT 操作, 说明 FROM 操作日志"_s).rows(),
              (QList<QVariantList>{{u"启用操作日志"_s, u"2张凭证"_s}}));

    QStringList problems;
    ScriptedDialogs checked;
    EXPECT_TRUE(tz::CheckBooks(s, problems, checked).isDone()) << problems.join(u'\n').toStdString();
    // The kept balances were summed from the books, and are kept from then on.
    tz::test::postLine(s, {8020002001, u"1001"_s, 1.0, {}});
    const auto q = [](qlonglong n) { return QVariant(n); };
    EXPECT_EQ(s.RunSql(u"SELECT 期, 行数, 借方, 贷方 FROM 科目月计 WHERE 科目代码 = '1001' ORDER BY 期"_s).rows(),
              (QList<QVariantList>{{q(800), q(1), q(10000), q(0)}, {q(802), q(2), q(1100), q(0)}}));
    // Read as the accounts under a prefix over a range of periods.
    const tz::KeptTotals months = tz::keptTotals(s, QString(), 801, 812);
    EXPECT_EQ((QList<qint64>{months.lines, months.debit, months.credit, months.debitLines, months.creditLines}),
              (QList<qint64>{3, 1100, 1000, 2, 1}));
    EXPECT_EQ(tz::keptTotals(s, u"1"_s, 800, 812).net(), 11100);
    EXPECT_EQ(tz::keptTotals(s, u"3001"_s, 800, 800).balance(), -100.0);
    EXPECT_EQ(tz::keptTotals(s, u"3001"_s, 801, 812).lines, 0);
}

} // namespace

namespace {

// Next year's set beside this one: its openings are this year's closing
// balances account by account, it balances, this year's set is unchanged;
// an existing next-year file and a Y99 set are refused.
TEST(CarryForward, NextYearOpensWithThisYearsClosingBalances)
{
    tz::test::TestSet set;
    tz::Session &s = set.session();
    tz::test::postLines(s, {{8000000001, u"1001"_s, 100.0, {}},
                            {8000000002, u"1405"_s, 300.0, {}, 3.0},
                            {8000000003, u"3001"_s, {}, 400.0},
                            {8030001001, u"1122"_s, 50.0, {}},
                            {8030001002, u"5001"_s, {}, 50.0},
                            {8030002001, u"5401"_s, 100.0, {}},
                            {8030002002, u"1405"_s, {}, 100.0, 1.0},
                            {8030003001, u"2202"_s, 0.004, {}},
                            {8030003002, u"1001"_s, {}, 0.004}});
    const auto closing = [](tz::Session &session) {
        return session
            .RunSql(u"SELECT 科目代码, round_half_up(total(ifnull(借方金额, 0)) - total(ifnull(贷方金额, 0)), 2) AS b FROM 分录表 "
                    "GROUP BY 科目代码 HAVING b <> 0 ORDER BY 科目代码"_s)
            .rows();
    };
    const QList<QVariantList> before = closing(s);
    const QByteArray bytes = [&] { QFile f(set.path()); f.open(QIODevice::ReadOnly); return f.readAll(); }();

    ScriptedDialogs yes({true});
    QString created;
    ASSERT_TRUE(tz::CarryForward(s, yes, &created).isDone()) << yes.messages.value(0).text.toStdString();
    EXPECT_EQ(created, set.folder() + u"/测试.Y25"_s);
    EXPECT_EQ(yes.messages.value(0).text, u"1.恭喜你过帐成功!\n\n2.帐套路径(名): "_s + created + u"\n\n3.请重新登陆新帐套"_s);
    QFile old(set.path());
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    s.CloseMainConnection();
    EXPECT_EQ(old.readAll(), bytes);

    tz::Session next;
    next.setDbPath(created);
    EXPECT_EQ(closing(next), before);
    EXPECT_EQ(tz::keptBalanceProblems(next), QStringList());
    EXPECT_EQ(next.RunSql(u"SELECT ID, 科目代码, 数量, 借方金额, 贷方金额 FROM 分录表 WHERE 科目代码 IN ('1405', '3001') "
                          "ORDER BY ID"_s)
                  .rows(),
              (QList<QVariantList>{{qlonglong(8000000003), u"1405"_s, 2.0, 200.0, QVariant()},
                                   {qlonglong(8000000004), u"3001"_s, QVariant(), QVariant(), 400.0}}));
    EXPECT_EQ(next.RunSql(u"SELECT 借方金额 FROM 科目表 WHERE 科目代码 = '1405'"_s).value(0, 0).toDouble(), 200.0);

    ScriptedDialogs again({true});
    EXPECT_TRUE(tz::CarryForward(s, again).isRefused());
    EXPECT_TRUE(again.messages.value(0).text.startsWith(u"25年的帐套已经在同一文件夹内存在"_s));
    EXPECT_TRUE(again.questions.isEmpty());
    EXPECT_TRUE(tz::nextYearPath(u"/帐套/华新.Y99"_s).isEmpty());
    EXPECT_EQ(tz::nextYearPath(u"/帐套/华新.Y09"_s), u"/帐套/华新.Y10"_s);
}

} // namespace

namespace {

// The backup folder is checked before anything is asked; three questions,
// a backup of its own name, then the journal and the opening figures go;
// the chart stays. No to the third question changes nothing. A second
// initialisation on the same day keeps the first one's backup.
TEST(InitialiseYear, ThreeQuestionsABackupThenAnEmptyYear)
{
    tz::test::TestSet set;
    tz::Session &s = set.session();
    s.setSetShortName(u"测试"_s);
    const auto count = [&](const QString &sql) { return s.RunSql(sql).value(0, 0).toInt(); };
    const QString file = set.folder() + u"/一个文件"_s;
    QFile(file).open(QIODevice::WriteOnly);
    for (const QString &folder : {QString(), u"备份"_s, file + u"/备份"_s}) {
        s.execSql(u"UPDATE 信息表 SET 备份路径 = ? WHERE 代号 = 'TZ'"_s, {folder});
        ScriptedDialogs unasked;
        EXPECT_TRUE(tz::InitialiseYear(s, unasked).isRefused());
        EXPECT_EQ(unasked.messages, QList<Message>({{u"路径不对,请检查备份路径是否正确!"_s, u"TZ305"_s, Icon::None}}));
        EXPECT_TRUE(unasked.questions.isEmpty()) << folder.toStdString();
    }

    const QString folder = set.folder() + u"/备份"_s;
    s.execSql(u"UPDATE 信息表 SET 备份路径 = ? WHERE 代号 = 'TZ'"_s, {folder});
    s.execSql(u"UPDATE 科目表 SET 借方金额 = 100 WHERE 科目代码 = '1001'"_s);
    tz::test::postLines(s, {{8000000001, u"1001"_s, 100.0, {}}, {8000000002, u"3001"_s, {}, 100.0}});
    const int accounts = count(u"SELECT count(*) FROM 科目表"_s);

    ScriptedDialogs no({true, true, false});
    EXPECT_TRUE(tz::InitialiseYear(s, no).isRefused());
    EXPECT_EQ(no.questions.value(2).text, u"第三次提示，也是最后一次提示，是否要清空 2024 年的所有数据?"_s);
    EXPECT_EQ(no.questions.value(2).title, u"TZ305提示（共三次提示）"_s);
    EXPECT_EQ(count(u"SELECT count(*) FROM 分录表"_s), 2);
    EXPECT_FALSE(QDir(folder).exists());

    const QDate day(2024, 3, 5);
    QString first, second;
    ScriptedDialogs yes({true, true, true});
    ASSERT_TRUE(tz::InitialiseYear(s, yes, &first, day).isDone());
    EXPECT_EQ(yes.messages, QList<Message>({{u"数据成功备份到: "_s + folder + u"  文件夹中"_s, u"TZ305"_s, Icon::None},
                                            {u"初始化完成"_s, u"TZ305提示"_s, Icon::Exclamation}}));
    EXPECT_EQ(count(u"SELECT count(*) FROM 分录表"_s), 0);
    EXPECT_EQ(count(u"SELECT (SELECT count(*) FROM 科目月计) + (SELECT count(*) FROM 流量月计)"_s), 0);
    EXPECT_EQ(count(u"SELECT count(借方金额) FROM 科目表"_s), 0);
    EXPECT_EQ(count(u"SELECT count(*) FROM 科目表"_s), accounts);

    ScriptedDialogs again({true, true, true});
    ASSERT_TRUE(tz::InitialiseYear(s, again, &second, day).isDone());
    EXPECT_EQ(first, folder + u"/测试2024-03-05初始化前.QSBF24"_s);
    EXPECT_EQ(second, folder + u"/测试2024-03-05初始化前2.QSBF24"_s);
    EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden).size(), 2);
    for (const auto &[path, lines] : {std::pair{first, 2}, std::pair{second, 0}}) {
        tz::Connection kept;
        kept.open(path);
        EXPECT_EQ(kept.query(u"SELECT count(*) FROM 分录表"_s).value(0, 0).toInt(), lines);
    }

    // A write-protected set is refused as any write to it is, before a
    // question or a backup.
    s.CloseMainConnection();
    ASSERT_TRUE(QFile::setPermissions(set.path(), QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    ScriptedDialogs protectedSet({true, true, true});
    EXPECT_TRUE(tz::InitialiseYear(s, protectedSet, nullptr, day).isFailed());
    EXPECT_EQ(protectedSet.messages, QList<Message>({{tz::Connection::readOnlyText(set.path()), u"TZ305提示"_s,
                                                      Icon::Critical}}));
    EXPECT_TRUE(protectedSet.questions.isEmpty());
    EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden).size(), 2);
}

} // namespace
