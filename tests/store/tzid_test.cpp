// Row keys of the journal tables: the TZID counters of 分录表 and 分录始表.
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

} // namespace
} // namespace tz
