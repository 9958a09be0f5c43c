// The voucher summary, the entry journal and its code filter: grouping by
// top-level code, the total row, headings shown once per voucher and on
// every line of the closing transfer, lines of unknown codes, and the
// refusals that still empty their work table.
#include <gtest/gtest.h>

#include "ledgers/entryjournal.h"
#include "ledgers/vouchersummary.h"
#include "store/pagedrows.h"
#include "tests/ledgers/tablesupport.h"
#include "tests/support/scripteddialogs.h"
#include "tests/support/testset.h"

using namespace Qt::Literals::StringLiterals;
using tz::Icon;
using tz::test::JournalLine;
using tz::test::Message;
using tz::test::ScriptedDialogs;
using tz::test::TestSet;

namespace {

const QList<JournalLine> kBooks = {
    {8000000001, u"1001"_s, 500.0, {}},
    {8000000002, u"2202"_s, {}, 500.0},
    {8030001001, u"1002001"_s, 100.0, {}, {}, u"收款"_s},
    {8030001002, u"1122"_s, {}, 100.0},
    {8030002001, u"1002001"_s, 50.0, {}},
    {8030002002, u"9999"_s, {}, 50.0},
    // The closing transfer: line parts from the counter, marked 2.
    {8030003000, u"5001"_s, 30.0, {}, {}, u"结转"_s, 2},
    {8030003999, u"3103"_s, {}, 30.0, {}, u"结转"_s, 2},
    {8040001001, u"1001"_s, 7.0, {}},
    {8040001002, u"1122"_s, {}, 7.0},
};

class SummaryAndJournal : public testing::Test
{
protected:
    void SetUp() override { tz::test::postLines(s, kBooks); }

    QStringList summary()
    {
        ScriptedDialogs dialogs;
        tz::ResultSet rows;
        EXPECT_TRUE(tz::ReadVoucherSummary(s, rows, dialogs).isDone());
        return tz::test::rowTexts(rows);
    }

    QStringList journal()
    {
        ScriptedDialogs dialogs;
        tz::ResultSet rows;
        EXPECT_TRUE(tz::ReadEntryJournal(s, rows, dialogs).isDone());
        return tz::test::rowTexts(rows);
    }

    TestSet set;
    tz::Session &s = set.session();
};

TEST_F(SummaryAndJournal, SummaryGroupsByTopLevelCodeAndTotalsEveryLine)
{
    ScriptedDialogs dialogs;
    ASSERT_TRUE(tz::BuildVoucherSummary(s, u"3"_s, dialogs).isDone());
    EXPECT_TRUE(dialogs.messages.isEmpty());
    // 1002001 adds into 1002; 9999 is in no chart row, so only the total has it.
    EXPECT_EQ(summary(), (QStringList{u"1002|银行存款|150|"_s, u"1122|应收账款||100"_s, u"3103|本年利润||30"_s,
                                      u"5001|主营业务收入|30|"_s, u"8|合 计|180|180"_s}));
    EXPECT_EQ(tz::voucherSummaryCaption(u"3"_s, 5), u"3 月份科目汇总表   [共5条记录]"_s);

    ASSERT_TRUE(tz::BuildVoucherSummary(s, u"6"_s, dialogs).isDone());
    EXPECT_EQ(summary(), QStringList{u"8|合 计||"_s});

    for (const QString &month : {u"全部"_s, u"年初"_s, QString(), u"3 or 1=1"_s}) {
        ScriptedDialogs refused;
        ASSERT_TRUE(tz::BuildVoucherSummary(s, u"3"_s, refused).isDone());
        EXPECT_TRUE(tz::BuildVoucherSummary(s, month, refused).isRefused());
        EXPECT_EQ(refused.messages, (QList<Message>{{u"请选择月份"_s, u"TZ305"_s, Icon::Critical}}));
        EXPECT_TRUE(summary().isEmpty());
    }
}

TEST_F(SummaryAndJournal, MonthJournalShowsEachVoucherHeadingOnce)
{
    ScriptedDialogs dialogs;
    ASSERT_TRUE(tz::BuildEntryJournal(s, u"3"_s, dialogs).isDone());
    // Columns: 月 日期 字号 号码 摘要说明 科目代码 科目全称 数量 借方金额 贷方金额
    // 流代 流金 制单 审核 附件 结帐 ID. The 9999 line has no chart row.
    EXPECT_EQ(journal(), (QStringList{
                             u"3|2024-03-10|记-1||收款|1002001|银行存款/人民币户||100||||出纳|主管|1||8030001001"_s,
                             u"||||业务|1122|应收账款|||100|||出纳|主管|1||8030001002"_s,
                             u"3|2024-03-10|记-2||业务|1002001|银行存款/人民币户||50||||出纳|主管|1||8030002001"_s,
                             u"3|2024-03-10|记-3|3|结转|5001|主营业务收入||30||||出纳|主管|1|2|8030003000"_s,
                             u"3|2024-03-10|记-3||结转|3103|本年利润|||30|||出纳|主管|1|2|8030003999"_s,
                         }));
    EXPECT_EQ(tz::entryJournalCaption(u"3"_s, 5), u"3 月份分录明细  [共5条记录]"_s);

    // The whole year begins with the opening lines, whose reference is "-".
    ASSERT_TRUE(tz::BuildEntryJournal(s, u"全部"_s, dialogs).isDone());
    const QStringList year = journal();
    ASSERT_EQ(year.size(), 9);
    EXPECT_EQ(year.first(), u"||-||年初余额|1001|库存现金||500||||||||8000000001"_s);
    EXPECT_EQ(year.at(1), u"||||年初余额|2202|应付账款|||500|||||||8000000002"_s);
    EXPECT_EQ(year.last(), u"||||业务|1122|应收账款|||7|||出纳|主管|1||8040001002"_s);
    ASSERT_TRUE(tz::BuildEntryJournal(s, QString(), dialogs).isDone());
    EXPECT_EQ(journal(), year);

    // 年初: the opening lines with every field as stored.
    ASSERT_TRUE(tz::BuildEntryJournal(s, u"年初"_s, dialogs).isDone());
    EXPECT_EQ(journal(), (QStringList{u"||||年初余额|1001|库存现金||500||||||||8000000001"_s,
                                      u"||||年初余额|2202|应付账款|||500|||||||8000000002"_s}));
    EXPECT_TRUE(dialogs.messages.isEmpty());

    // The grid reads the same rows and columns straight from the journal.
    for (const QString &month : {u"3"_s, u"全部"_s, u"年初"_s, QString()}) {
        ASSERT_TRUE(tz::BuildEntryJournal(s, month, dialogs).isDone());
        tz::ResultSet staged;
        ASSERT_TRUE(tz::ReadEntryJournal(s, staged, dialogs).isDone());
        tz::PagedRows paged;
        ASSERT_TRUE(tz::OpenEntryJournal(s, month, paged, dialogs).isDone());
        const tz::ResultSet direct = paged.readAll();
        EXPECT_EQ(direct.columnNames(), staged.columnNames());
        EXPECT_EQ(tz::test::rowTexts(direct), tz::test::rowTexts(staged)) << month.toStdString();
    }

    ScriptedDialogs refused;
    EXPECT_TRUE(tz::BuildEntryJournal(s, u"十三"_s, refused).isRefused());
    tz::PagedRows none;
    EXPECT_TRUE(tz::OpenEntryJournal(s, u"十三"_s, none, refused).isRefused());
    EXPECT_EQ(refused.messages, (QList<Message>{{u"请选择月份"_s, u"TZ305"_s, Icon::Critical},
                                                {u"请选择月份"_s, u"TZ305"_s, Icon::Critical}}));
    EXPECT_TRUE(journal().isEmpty());
}

TEST_F(SummaryAndJournal, FilterListsEveryLineUnderAPrefixAcrossTheYear)
{
    ScriptedDialogs dialogs;
    ASSERT_TRUE(tz::BuildPrefixJournal(s, u"1001"_s, dialogs).isDone());
    EXPECT_EQ(journal(), (QStringList{u"||-||年初余额|1001|库存现金||500||||||||8000000001"_s,
                                      u"4|2024-04-10|记-1|1|业务|1001|库存现金||7||||出纳|主管|1||8040001001"_s}));
    EXPECT_EQ(tz::prefixJournalCaption(u"1001"_s, 2), u"1001 开头的所有明细数据 共2条记录"_s);

    // Every heading field on every line; codes beginning with the prefix only.
    ASSERT_TRUE(tz::BuildPrefixJournal(s, u"1"_s, dialogs).isDone());
    QStringList ids;
    for (const QString &row : journal())
        ids.append(row.section(u'|', -1));
    EXPECT_EQ(ids, (QStringList{u"8000000001"_s, u"8030001001"_s, u"8030001002"_s, u"8030002001"_s,
                                u"8040001001"_s, u"8040001002"_s}));
    ASSERT_TRUE(tz::BuildPrefixJournal(s, u"1122"_s, dialogs).isDone());
    EXPECT_EQ(journal().first(), u"3|2024-03-10|记-1|1|业务|1122|应收账款|||100|||出纳|主管|1||8030001002"_s);
    ASSERT_TRUE(tz::BuildPrefixJournal(s, u"1002009"_s, dialogs).isDone());
    EXPECT_TRUE(journal().isEmpty());
    EXPECT_TRUE(dialogs.messages.isEmpty());

    // An empty box empties the table without a word; letters are refused.
    ASSERT_TRUE(tz::BuildPrefixJournal(s, u"1"_s, dialogs).isDone());
    EXPECT_TRUE(tz::BuildPrefixJournal(s, u"  "_s, dialogs).isRefused());
    EXPECT_TRUE(dialogs.messages.isEmpty());
    EXPECT_TRUE(journal().isEmpty());
    ASSERT_TRUE(tz::BuildPrefixJournal(s, u"1"_s, dialogs).isDone());
    EXPECT_TRUE(tz::BuildPrefixJournal(s, u"10%"_s, dialogs).isRefused());
    EXPECT_EQ(dialogs.messages, (QList<Message>{{u"10%  科目代码只能是数字"_s, u"TZ305提示"_s, Icon::Critical}}));
    EXPECT_TRUE(journal().isEmpty());
}

} // namespace

// The copy numbers its rows as the staging counter's trigger would: rows 1,
// 2, .. in ID order get the next TZID values, lines of unknown codes take
// none, the counter moves on by the rows written, and the trigger serves
// the next row inserted by anyone else.
TEST_F(SummaryAndJournal, CopiesTakeTheStagingCounterValuesInIdOrder)
{
    ScriptedDialogs dialogs;
    s.execSql(u"UPDATE TZID计数 SET 当前值 = 41 WHERE 表名 = '分录始表'"_s);
    const auto rows = [&] {
        QStringList out;
        const tz::ResultSet r = s.RunSql(u"SELECT rowid, ID, TZID FROM 分录始表 ORDER BY rowid"_s);
        for (const QVariantList &row : r.rows())
            out.append(row.at(0).toString() + u' ' + row.at(1).toString() + u' ' + row.at(2).toString());
        return out;
    };
    const auto counter = [&] {
        return s.RunSql(u"SELECT 当前值 FROM TZID计数 WHERE 表名 = '分录始表'"_s).value(0, 0).toLongLong();
    };

    ASSERT_TRUE(tz::BuildEntryJournal(s, u"全部"_s, dialogs).isDone());
    EXPECT_EQ(rows(), QStringList({u"1 8000000001 42"_s, u"2 8000000002 43"_s, u"3 8030001001 44"_s,
                                   u"4 8030001002 45"_s, u"5 8030002001 46"_s, u"6 8030003000 47"_s,
                                   u"7 8030003999 48"_s, u"8 8040001001 49"_s, u"9 8040001002 50"_s}));
    EXPECT_EQ(counter(), 50);

    ASSERT_TRUE(tz::BuildPrefixJournal(s, u"1122"_s, dialogs).isDone());
    EXPECT_EQ(rows(), QStringList({u"1 8030001002 51"_s, u"2 8040001002 52"_s}));
    ASSERT_TRUE(tz::BuildEntryJournal(s, u"3"_s, dialogs).isDone());
    EXPECT_EQ(rows().size(), 5);
    EXPECT_EQ(rows().constLast(), u"5 8030003999 57"_s);
    EXPECT_EQ(counter(), 57);

    // Nothing to copy: the counter stays.
    ASSERT_TRUE(tz::BuildPrefixJournal(s, u"6"_s, dialogs).isDone());
    EXPECT_TRUE(rows().isEmpty());
    EXPECT_EQ(counter(), 57);

    // The triggers are on again for every other writer.
    s.execSql(u"INSERT INTO 分录始表 (ID, 科目代码) VALUES (8050001001, '1001')"_s);
    EXPECT_EQ(rows(), QStringList({u"1 8050001001 58"_s}));
    s.execSql(u"INSERT INTO 分录始表 (ID, 科目代码, TZID) VALUES (8050001002, '1001', 70)"_s);
    EXPECT_EQ(counter(), 70);
}
