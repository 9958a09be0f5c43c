// The generic sheet export: every column of the entry journal with its
// field names in row 1, numbers, dates and text kept apart; a query for
// each marker that its work table answers; "没有记录!" and no file for an
// empty table.
#include <gtest/gtest.h>

#include <QFile>

#include "export/sheetexport.h"
#include "ledgers/entryjournal.h"
#include "ledgers/reportbuttons.h"
#include "tests/ledgers/tablesupport.h"
#include "tests/support/scripteddialogs.h"
#include "tests/support/testset.h"
#include "tests/support/workbookreader.h"

using namespace Qt::Literals::StringLiterals;
using tz::test::Message;
using tz::test::ScriptedDialogs;

namespace {

class SheetExport : public testing::Test
{
protected:
    tz::test::TestSet set;
    ScriptedDialogs dialogs;
};

TEST_F(SheetExport, JournalWritesEveryColumnWithItsType)
{
    tz::test::postLines(set.session(), {{8030001001, u"1001"_s, 1234.5, {}, {}, u"备用金"_s},
                                        {8030001002, u"1122"_s, {}, 1234.5}});
    ASSERT_TRUE(tz::BuildEntryJournal(set.session(), u"全部"_s, dialogs).isDone());
    const QString path = set.folder() + u"/分录.xlsx"_s;
    int written = 0;
    ASSERT_TRUE(tz::WriteSheetWorkbook(set.session(), tz::sheetQuery(tz::QueryMarker::Journal), path, dialogs, &written)
                    .isDone());
    EXPECT_EQ(written, 2);
    EXPECT_EQ(dialogs.messages, QList<Message>{});
    EXPECT_EQ(tz::test::readWorkbook(path, uR"(
print('|'.join(c.value for c in ws[1]))
print(ws.max_row, ws['A2'].value, type(ws['B2'].value).__name__, ws['I2'].value, ws['J2'].value, ws['L2'].value, ws['M2'].value, ws['M3'].value)
)"_s),
              u"ID|日期|月|字号|号码|制单|审核|附件|摘要说明|科目代码|数量|借方金额|贷方金额|流代|流金|结帐|科目全称|顺序|TZID\n"
              "3 8030001001 datetime 备用金 1001 1234.5 None 1234.5\n"_s);
}

TEST_F(SheetExport, EveryMarkerReadsItsWorkTableAndAnEmptyTableWritesNothing)
{
    // Markers 1..9 each read a work table of a new set; any other has no query.
    for (int marker = 1; marker <= 9; ++marker) {
        const QString sql = tz::sheetQuery(QString::number(marker));
        ASSERT_FALSE(sql.isEmpty()) << marker;
        EXPECT_NO_THROW(set.session().RunSql(sql)) << marker;
    }
    EXPECT_EQ(tz::sheetQuery(u"0"_s), QString());
    EXPECT_EQ(tz::queryMarkerOf(tz::LedgerFormat::MultiNet), tz::QueryMarker::MultiColumn);

    const QString path = set.folder() + u"/空.xlsx"_s;
    EXPECT_TRUE(tz::WriteSheetWorkbook(set.session(), tz::sheetQuery(tz::QueryMarker::VoucherSummary), path, dialogs)
                    .isRefused());
    EXPECT_EQ(dialogs.messages, (QList<Message>{{u"没有记录!"_s, u"TZ305"_s, tz::Icon::None}}));
    EXPECT_FALSE(QFile::exists(path));
}

} // namespace
