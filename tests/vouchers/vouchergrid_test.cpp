// The voucher grid's editing rules (what an edit does to its cell, F7
// balancing, Delete and Backspace, the totals), the values it hands to
// posting (loaded values kept behind unchanged cells), and the window's
// start values.
#include <gtest/gtest.h>

#include "store/session.h"
#include "tests/support/scripteddialogs.h"
#include "tests/support/testset.h"
#include "vouchers/entrystart.h"
#include "vouchers/vouchergrid.h"

using namespace Qt::Literals::StringLiterals;
using tz::VoucherGrid;
using tz::VoucherLine;
using tz::test::ScriptedDialogs;
using tz::test::TestSet;

namespace {

const QString kCash = u"1001 库存现金"_s;
const QString kBank = u"1002 银行存款"_s;

TEST(VoucherGrid, EditRulesFollowTheLinesAccount)
{
    VoucherGrid grid;
    EXPECT_EQ(grid.lineCount(), 10);
    EXPECT_EQ(grid.text(3, VoucherGrid::LineColumn), u"3"_s);

    // No account yet: a quantity, an amount or a cash-flow value is refused.
    for (const int column : {VoucherGrid::QuantityColumn, VoucherGrid::DebitColumn, VoucherGrid::FlowCodeColumn,
                             VoucherGrid::FlowAmountColumn}) {
        EXPECT_TRUE(grid.applyEdit(1, column, u"12.5"_s));
        EXPECT_EQ(grid.text(1, column), QString()) << column;
    }
    // Typing in the account column searches and never writes the cell.
    EXPECT_FALSE(grid.applyEdit(1, VoucherGrid::AccountColumn, u"1001"_s));
    EXPECT_EQ(grid.text(1, VoucherGrid::AccountColumn), QString());

    grid.setText(1, VoucherGrid::AccountColumn, kCash);
    EXPECT_TRUE(grid.applyEdit(1, VoucherGrid::DebitColumn, u"12.5"_s));
    EXPECT_EQ(grid.text(1, VoucherGrid::DebitColumn), u"12.50"_s);
    grid.applyEdit(1, VoucherGrid::CreditColumn, u"2.675"_s);
    EXPECT_EQ(grid.text(1, VoucherGrid::CreditColumn), u"2.68"_s);
    // Quantity and cash-flow cells keep what was typed; a half-typed amount stays as text.
    grid.applyEdit(1, VoucherGrid::QuantityColumn, u"1.23456"_s);
    EXPECT_EQ(grid.text(1, VoucherGrid::QuantityColumn), u"1.23456"_s);
    grid.applyEdit(1, VoucherGrid::DebitColumn, u"-"_s);
    EXPECT_EQ(grid.text(1, VoucherGrid::DebitColumn), u"-"_s);
    grid.applyEdit(1, VoucherGrid::SummaryColumn, u"提现"_s);
    EXPECT_EQ(grid.text(1, VoucherGrid::SummaryColumn), u"提现"_s);

    // Totals skip what does not read as a number.
    EXPECT_EQ(grid.totals(), (tz::VoucherTotals{0, 268}));
    grid.formatCells();
    EXPECT_EQ(grid.text(1, VoucherGrid::QuantityColumn), u"1.235"_s);
    EXPECT_EQ(grid.text(1, VoucherGrid::DebitColumn), u"-"_s);
    EXPECT_EQ(grid.text(2, VoucherGrid::DebitColumn), QString());
}

TEST(VoucherGrid, F7BalancesFromTheShownTotals)
{
    VoucherGrid grid;
    grid.setText(1, VoucherGrid::AccountColumn, kCash);
    grid.applyEdit(1, VoucherGrid::CreditColumn, u"300"_s);
    grid.setText(2, VoucherGrid::AccountColumn, kBank);
    ASSERT_TRUE(grid.balance(2, VoucherGrid::DebitColumn));
    EXPECT_EQ(grid.text(2, VoucherGrid::DebitColumn), u"300.00"_s);
    EXPECT_EQ(grid.debitTotalText(), u"300.00"_s);
    EXPECT_EQ(grid.creditTotalText(), u"300.00"_s);

    // Not on a line without an account, nor when the other side holds an amount.
    EXPECT_FALSE(grid.balance(3, VoucherGrid::DebitColumn));
    EXPECT_FALSE(grid.balance(1, VoucherGrid::DebitColumn));
    EXPECT_FALSE(grid.balance(2, VoucherGrid::SummaryColumn));

    // The shown totals include the cell being overwritten: 1300.10 - 300.00.
    grid.setText(3, VoucherGrid::AccountColumn, kBank);
    grid.applyEdit(3, VoucherGrid::CreditColumn, u"1,000.10"_s);
    ASSERT_TRUE(grid.balance(2, VoucherGrid::DebitColumn));
    EXPECT_EQ(grid.text(2, VoucherGrid::DebitColumn), u"1000.10"_s);
    EXPECT_EQ(grid.debitTotalText(), u"1,000.10"_s);

    // The result can be negative: 1000.10 - 1300.10.
    grid.setText(4, VoucherGrid::AccountColumn, kCash);
    ASSERT_TRUE(grid.balance(4, VoucherGrid::CreditColumn));
    EXPECT_EQ(grid.text(4, VoucherGrid::CreditColumn), u"-300.00"_s);
}

TEST(VoucherGrid, DeleteBackspaceAppendAndClear)
{
    VoucherGrid grid;
    grid.setText(1, VoucherGrid::AccountColumn, kCash);
    grid.applyEdit(1, VoucherGrid::DebitColumn, u"10"_s);
    grid.applyEdit(1, VoucherGrid::CreditColumn, u"20"_s);
    grid.applyEdit(1, VoucherGrid::SummaryColumn, u"摘要"_s);

    grid.backspaceCell(1, VoucherGrid::SummaryColumn);
    EXPECT_EQ(grid.text(1, VoucherGrid::SummaryColumn), u"摘"_s);
    grid.deleteCell(1, VoucherGrid::DebitColumn);
    EXPECT_EQ(grid.text(1, VoucherGrid::DebitColumn), QString());
    EXPECT_EQ(grid.text(1, VoucherGrid::CreditColumn), u"20.00"_s);
    grid.applyEdit(1, VoucherGrid::DebitColumn, u"10"_s);
    // Deleting the account takes the line's amounts with it.
    grid.deleteCell(1, VoucherGrid::AccountColumn);
    EXPECT_FALSE(grid.hasAccount(1));
    EXPECT_EQ(grid.totals(), tz::VoucherTotals());
    EXPECT_EQ(grid.text(1, VoucherGrid::SummaryColumn), u"摘"_s);

    grid.appendLine();
    EXPECT_EQ(grid.lineCount(), 11);
    EXPECT_EQ(grid.text(11, VoucherGrid::LineColumn), u"11"_s);
    grid.clear();
    EXPECT_EQ(grid.lineCount(), 11);
    EXPECT_EQ(grid.text(1, VoucherGrid::SummaryColumn), QString());
    // Outside the grid nothing is read or written.
    grid.setText(12, VoucherGrid::SummaryColumn, u"x"_s);
    grid.setText(0, VoucherGrid::SummaryColumn, u"x"_s);
    EXPECT_EQ(grid.text(12, VoucherGrid::SummaryColumn), QString());
}

TEST(VoucherGrid, UnchangedLoadedCellsPostTheirStoredValues)
{
    VoucherLine first;
    first.summary = u"购料"_s;
    first.account = u"1403 原材料"_s;
    first.quantity = 1.23456;
    first.debit = 1001;
    first.stored = VoucherLine::Stored{10.005, std::nullopt, std::nullopt};
    VoucherLine second;
    second.account = u"9999"_s; // an account no longer in the chart: the bare code
    second.credit = 1001;
    second.stored = VoucherLine::Stored{std::nullopt, 10.01, std::nullopt};

    VoucherGrid grid;
    grid.load({first, second});
    EXPECT_EQ(grid.lineCount(), 10);
    EXPECT_EQ(grid.text(1, VoucherGrid::QuantityColumn), u"1.235"_s);
    EXPECT_EQ(grid.text(1, VoucherGrid::DebitColumn), u"10.01"_s);
    EXPECT_EQ(grid.text(2, VoucherGrid::AccountColumn), u"9999"_s);

    QList<VoucherLine> lines = grid.lines();
    ASSERT_EQ(lines.size(), 10);
    EXPECT_EQ(lines.at(0).quantity, 1.23456);
    EXPECT_EQ(lines.at(0).debit, 1001);
    EXPECT_EQ(lines.at(0).stored, first.stored);
    EXPECT_EQ(lines.at(1).code(), u"9999"_s);
    EXPECT_FALSE(lines.at(2).hasAccount());

    // A changed cell gives what it reads as.
    grid.applyEdit(1, VoucherGrid::QuantityColumn, u"2"_s);
    grid.applyEdit(1, VoucherGrid::DebitColumn, u"12"_s);
    lines = grid.lines();
    EXPECT_EQ(lines.at(0).quantity, 2.0);
    EXPECT_EQ(lines.at(0).debit, 1200);

    // Loading more lines than the minimum shows them all.
    grid.load(QList<VoucherLine>(12, first));
    EXPECT_EQ(grid.lineCount(), 12);
}

TEST(EntryStart, ReviewersAndTheLatestMonth)
{
    TestSet set;
    ScriptedDialogs dialogs;
    tz::EntryStart start;
    ASSERT_TRUE(tz::ReadEntryStart(set.session(), start, dialogs).isDone());
    EXPECT_EQ(start.reviewers, (QStringList{u"主管"_s, u"会计"_s, u"出纳"_s}));
    EXPECT_EQ(start.month, 1);

    set.session().execSql(u"INSERT INTO 分录表 (ID, 月, 科目代码) VALUES ('8050001001', 5, '1001'), "
                          "('8020001001', 2, '1001')"_s);
    set.session().execSql(u"INSERT INTO 信息表 (操作员) VALUES ('')"_s);
    ASSERT_TRUE(tz::ReadEntryStart(set.session(), start, dialogs).isDone());
    EXPECT_EQ(start.month, 5);
    EXPECT_EQ(start.reviewers.size(), 3);
    EXPECT_TRUE(dialogs.messages.isEmpty());
}

} // namespace
