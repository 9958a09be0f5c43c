// The main window's closed-month markers (leaving the program is tested
// through the window, tests/ui/mainwindow_test.cpp).
#include <gtest/gtest.h>

#include "shell/closedmonths.h"
#include "store/session.h"
#include "tests/support/testset.h"

using namespace Qt::Literals::StringLiterals;
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

} // namespace
