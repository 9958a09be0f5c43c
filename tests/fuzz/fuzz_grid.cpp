// The entry grid's rules under any sequence of edits: each input line is one
// key or edit, "<op><line><column><text>" with op, line and column one
// character each; afterwards the totals and the lines posting would take.
#include "tests/fuzz/fuzztarget.h"
#include "vouchers/vouchergrid.h"

using tz::fuzz::fuzzCheck;

TZ_FUZZ_TARGET(grid)
{
    tz::VoucherGrid grid;
    const QStringList steps = tz::fuzz::inputText(data, size).split(u'\n');
    for (const QString &step : steps) {
        if (step.size() < 3)
            continue;
        // Line 0 and one past the end are outside the grid on purpose.
        const int line = step.at(1).unicode() % (grid.lineCount() + 2);
        const int column = step.at(2).unicode() % (tz::VoucherGrid::ColumnCount + 1);
        const QString text = step.mid(3);
        switch (step.at(0).unicode() % 7) {
        case 0: grid.applyEdit(line, column, text); break;
        case 1: grid.setText(line, column, text); break;
        case 2: grid.balance(line, column); break;
        case 3: grid.deleteCell(line, column); break;
        case 4: grid.backspaceCell(line, column); break;
        case 5: grid.formatCells(); break;
        default:
            if (grid.lineCount() < 200)
                grid.appendLine();
        }
    }
    const tz::VoucherTotals totals = grid.totals();
    grid.debitTotalText();
    grid.creditTotalText();
    const QList<tz::VoucherLine> lines = grid.lines();
    fuzzCheck(lines.size() == grid.lineCount(), "lines() differs from the grid's lines");
    fuzzCheck(grid.lineCount() >= tz::VoucherGrid::kMinLines, "fewer lines than the grid offers");
    (void)totals;
    return 0;
}
