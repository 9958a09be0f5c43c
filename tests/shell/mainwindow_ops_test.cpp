// The main window's operations: closed-month markers, leaving the program
// (its check order and the work tables it empties).
#include <gtest/gtest.h>

#include "shell/closedmonths.h"
#include "shell/leaveprogram.h"
#include "store/session.h"
#include "tests/support/scripteddialogs.h"
#include "tests/support/testset.h"

using namespace Qt::Literals::StringLiterals;
using tz::Icon;
using tz::test::Message;
using tz::test::ScriptedDialogs;
using tz::test::TestSet;

namespace {

using Months = std::array<bool, 12>;

Months only(int month)
{
    Months months{};
    months[size_t(month - 1)] = true;
    return months;
}

void addJournalLine(tz::Session &session, int month, const QVariant &closed)
{
    session.execSql(u"INSERT INTO 分录表 (ID, 日期, 月, 号码, 科目代码, 借方金额, 结帐) VALUES (?, ?, ?, 1, '1001', 10, ?)"_s,
                    {month * 1000 + 1, u"2024-%1-15"_s.arg(month, 2, 10, QChar(u'0')), month, closed});
}

TEST(RefreshClosedMonthMarkers, OnlyMonthsWithANonZeroMarkAreClosed)
{
    TestSet set;
    tz::Session &session = set.session();
    EXPECT_EQ(tz::RefreshClosedMonthMarkers(session), Months{}); // empty journal

    addJournalLine(session, 3, 1);
    addJournalLine(session, 3, QVariant()); // one closed line is enough
    addJournalLine(session, 4, QVariant());
    addJournalLine(session, 5, 0); // 0 counts as open
    EXPECT_EQ(tz::RefreshClosedMonthMarkers(session), only(3));

    // Reopening month 3 clears its marks.
    session.execSql(u"UPDATE 分录表 SET 结帐 = NULL WHERE 月 = 3"_s);
    EXPECT_EQ(tz::RefreshClosedMonthMarkers(session), Months{});

    addJournalLine(session, 12, 1);
    addJournalLine(session, 1, 1);
    Months firstAndLast{};
    firstAndLast[0] = firstAndLast[11] = true;
    EXPECT_EQ(tz::RefreshClosedMonthMarkers(session), firstAndLast);
}

class LeaveProgramTest : public testing::Test
{
protected:
    const QStringList workTables = {u"分录始表"_s, u"三总式"_s, u"三栏帐页"_s, u"多栏式1"_s, u"数量式"_s};

    void SetUp() override
    {
        tz::Session &s = set.session();
        s.execSql(u"INSERT INTO 分录始表 (ID, 月, 科目代码) VALUES (3001, 3, '1001')"_s);
        s.execSql(u"INSERT INTO 三总式 (ID, 摘要说明) VALUES ('1', '上年结转')"_s);
        s.execSql(u"INSERT INTO 三栏帐页 (ID, 摘要说明) VALUES ('1', '上年结转')"_s);
        s.execSql(u"INSERT INTO 多栏式1 (ID, 科目代码) VALUES ('1', '5602')"_s);
        s.execSql(u"INSERT INTO 数量式 (ID, 摘要说明) VALUES ('1', '上年结转')"_s);
        addJournalLine(s, 3, 1);
        journalRows = count(u"分录表"_s);
        accounts = count(u"科目表"_s);
    }

    int count(const QString &table)
    {
        return set.session().RunSql(u"SELECT count(*) FROM "_s + table).value(0, 0).toInt();
    }

    void expectWorkTablesFilled()
    {
        for (const QString &table : workTables)
            EXPECT_EQ(count(table), 1) << table.toStdString();
    }

    TestSet set;
    int journalRows = 0;
    int accounts = 0;
};

TEST_F(LeaveProgramTest, RefusedWhileAWorkingWindowIsOpenNoKeepsYesEmptiesTheWorkTablesOnly)
{
    ScriptedDialogs refused({true});
    EXPECT_TRUE(tz::LeaveProgram(set.session(), true, refused).isRefused());
    EXPECT_EQ(refused.messages, QList<Message>({{u"请先关闭子窗口"_s, u"TZ305提示"_s, Icon::None}}));
    EXPECT_TRUE(refused.questions.isEmpty()); // refused before asking
    expectWorkTablesFilled();

    ScriptedDialogs no({false});
    EXPECT_TRUE(tz::LeaveProgram(set.session(), false, no).isRefused());
    EXPECT_TRUE(no.messages.isEmpty());
    EXPECT_EQ(no.questions, QList<Message>({{u"是否退出系统?"_s, u"TZ305提示"_s, Icon::Question}}));
    expectWorkTablesFilled();

    ScriptedDialogs yes({true});
    EXPECT_TRUE(tz::LeaveProgram(set.session(), false, yes).isDone());
    EXPECT_TRUE(yes.messages.isEmpty());
    for (const QString &table : workTables)
        EXPECT_EQ(count(table), 0) << table.toStdString();
    EXPECT_EQ(count(u"分录表"_s), journalRows);
    EXPECT_EQ(count(u"科目表"_s), accounts);
}

} // namespace
