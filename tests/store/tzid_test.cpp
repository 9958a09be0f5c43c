// Row keys of the journal tables: the TZID counters of 分录表 and 分录始表,
// the revaluation table's restarting ID and the ten-digit line ID that a
// renumbering shifts in one statement.
#include <gtest/gtest.h>

#include "store/session.h"
#include "tests/support/testset.h"

using namespace Qt::Literals::StringLiterals;

namespace tz {
namespace {

class TzidTest : public ::testing::TestWithParam<const char16_t *>
{
protected:
    QString table() const { return QString::fromUtf16(GetParam()); }
    QString other() const { return table() == u"分录表"_s ? u"分录始表"_s : u"分录表"_s; }

    // Inserts one line per summary, with the given TZID (null: none).
    void insert(const QString &into, const QStringList &summaries, const QVariant &tzid = {})
    {
        for (const QString &summary : summaries) {
            if (tzid.isNull())
                s.execSql(u"INSERT INTO %1 (摘要说明) VALUES (?)"_s.arg(into), {summary});
            else
                s.execSql(u"INSERT INTO %1 (摘要说明, TZID) VALUES (?, ?)"_s.arg(into), {summary, tzid});
        }
    }
    // TZIDs of the lines with these summaries, in that order.
    QList<qint64> tzids(const QString &in, const QStringList &summaries)
    {
        QList<qint64> ids;
        for (const QString &summary : summaries) {
            const ResultSet r = s.RunSql(u"SELECT TZID FROM %1 WHERE 摘要说明 = ?"_s.arg(in), {summary});
            ids.append(r.recordCount() == 1 ? r.value(0, 0).toLongLong() : -r.recordCount());
        }
        return ids;
    }

    test::TestSet set;
    Session &s = set.session();
};

TEST_P(TzidTest, CounterRisesAndNeverFalls)
{
    const QString t = table();
    insert(t, {u"a"_s, u"b"_s, u"c"_s});
    EXPECT_EQ(tzids(t, {u"a"_s, u"b"_s, u"c"_s}), (QList<qint64>{1, 2, 3}));

    s.execSql(u"DELETE FROM %1"_s.arg(t));
    insert(t, {u"d"_s});
    EXPECT_EQ(tzids(t, {u"d"_s}), QList<qint64>{4}) << "emptying the table keeps the counter";

    insert(t, {u"e"_s}, 40);
    insert(t, {u"f"_s});
    insert(t, {u"g"_s}, 7);
    insert(t, {u"h"_s});
    EXPECT_EQ(tzids(t, {u"e"_s, u"f"_s, u"g"_s, u"h"_s}), (QList<qint64>{40, 41, 7, 42}));

    insert(t, {u"dup"_s}, 41);
    EXPECT_EQ(s.RunSql(u"SELECT count(*) FROM %1 WHERE TZID = 41"_s.arg(t)).value(0, 0).toInt(), 2)
        << "TZID is not unique";

    // The other table counts on its own.
    insert(other(), {u"x"_s});
    EXPECT_EQ(tzids(other(), {u"x"_s}), QList<qint64>{1});
}

TEST_P(TzidTest, CopiedLinesKeepTheirTzidAndRaiseTheTarget)
{
    const QString from = other(), to = table();
    insert(from, {u"a"_s, u"b"_s});
    insert(from, {u"c"_s}, 90);
    insert(to, {u"own"_s});
    const QString cols = u"ID, 日期, 月, 字号, 号码, 制单, 审核, 附件, 摘要说明, 科目代码, 数量, "
                         "借方金额, 贷方金额, 流代, 流金, 结帐, 科目全称, 顺序, TZID"_s;
    EXPECT_EQ(s.execSql(u"INSERT INTO %1 (%2) SELECT %2 FROM %3"_s.arg(to, cols, from)), 3);
    EXPECT_EQ(tzids(to, {u"own"_s, u"a"_s, u"b"_s, u"c"_s}), (QList<qint64>{1, 1, 2, 90}));
    insert(to, {u"next"_s});
    EXPECT_EQ(tzids(to, {u"next"_s}), QList<qint64>{91});
    insert(to, {u"high"_s}, 500);
    insert(from, {u"src"_s});
    EXPECT_EQ(tzids(from, {u"src"_s}), QList<qint64>{91}) << "the target's values leave the source alone";
}

INSTANTIATE_TEST_SUITE_P(JournalTables, TzidTest, ::testing::Values(u"分录表", u"分录始表"),
                         [](const auto &info) { return info.index == 0 ? "Posted" : "Staging"; });

TEST(RevaluationTable, IdRestartsAfterRefill)
{
    test::TestSet set;
    Session &s = set.session();
    const auto fill = [&] {
        for (const char16_t *code : {u"1002002", u"1122", u"2202"})
            s.execSql(u"INSERT INTO 调汇 (科目代码) VALUES (?)"_s, {QString::fromUtf16(code)});
        QList<qint64> ids;
        const ResultSet r = s.RunSql(u"SELECT ID FROM 调汇 ORDER BY ID"_s);
        for (const auto &row : r.rows())
            ids << row.at(0).toLongLong();
        return ids;
    };
    EXPECT_EQ(fill(), (QList<qint64>{1, 2, 3}));
    s.execSql(u"DELETE FROM 调汇"_s);
    EXPECT_EQ(fill(), (QList<qint64>{1, 2, 3}));
}

TEST(LineId, TenDigitsShiftInOneUpdate)
{
    test::TestSet set;
    Session &s = set.session();
    const auto lineId = [](qint64 month, qint64 number, qint64 line) {
        return 8000000000 + month * 10000000 + number * 1000 + line;
    };
    struct Line { int month, number, line; };
    const Line lines[] = {{1, 1, 1}, {1, 1, 2}, {1, 1, 3}, {1, 2, 1}, {1, 2, 2}, {1, 3, 1},
                          {1, 3, 2}, {1, 3, 3}, {1, 3, 4}, {2, 1, 1}, {12, 9999, 999}};
    for (const Line &l : lines) {
        s.execSql(u"INSERT INTO 分录表 (ID, 月, 号码, 顺序) VALUES (?, ?, ?, ?)"_s,
                  {lineId(l.month, l.number, l.line), l.month, l.number, l.line});
    }
    // Voucher 1..3 of January become 2..4; their IDs move by one voucher (1000).
    EXPECT_EQ(s.execSql(u"UPDATE 分录表 SET ID = ID + 1000, 号码 = 号码 + 1 WHERE 月 = 1 AND 号码 >= 1"_s), 9);

    const ResultSet r = s.RunSql(u"SELECT ID, typeof(ID), 月, 号码, 顺序 FROM 分录表 ORDER BY ID"_s);
    ASSERT_EQ(r.recordCount(), int(std::size(lines)));
    for (int i = 0; i < r.recordCount(); ++i) {
        SCOPED_TRACE(i);
        const Line &l = lines[i];
        const int shifted = l.month == 1 ? l.number + 1 : l.number;
        EXPECT_EQ(r.value(i, 0).toLongLong(), lineId(l.month, shifted, l.line));
        EXPECT_EQ(r.value(i, 1).toString(), u"integer"_s);
        EXPECT_EQ(r.value(i, 0).toString().size(), 10);
        EXPECT_EQ((QList<int>{r.value(i, 2).toInt(), r.value(i, 3).toInt(), r.value(i, 4).toInt()}),
                  (QList<int>{l.month, shifted, l.line}));
    }
}

} // namespace
} // namespace tz
