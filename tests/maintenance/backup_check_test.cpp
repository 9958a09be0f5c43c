// The backup of the open set (a verified copy under the dated name, a
// same-day copy replaced, the refusals) and the check of the books (sound
// books pass, planted faults are named).
#include "maintenance/backup.h"

#include <QDir>

#include <gtest/gtest.h>

#include "maintenance/bookcheck.h"
#include "store/connection.h"
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

    tz::test::postLines(s, {{8020003001, u"1002"_s, 7.0, {}}, {8020003002, u"9999"_s, {}, 6.99}});
    ScriptedDialogs faults;
    EXPECT_TRUE(tz::CheckBooks(s, problems, faults).isRefused());
    EXPECT_EQ(problems, (QStringList{u"2月3号凭证借贷不平: 借方 7.00, 贷方 6.99"_s,
                                     u"2月凭证号不连续或重复: 共2张, 最大号码3"_s,
                                     u"分录8020003001的科目代码1002不是明细科目"_s,
                                     u"分录8020003002的科目代码9999不在科目表中"_s,
                                     u"2月已结帐,但有2行分录未标记结帐"_s}));
    EXPECT_EQ(faults.messages.value(0), (Message{u"帐套检查发现5个问题"_s, u"TZ305提示"_s, Icon::Exclamation}));
}

} // namespace
