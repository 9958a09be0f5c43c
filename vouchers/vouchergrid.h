// The entry grid of the voucher window as cell texts, with the rules that
// editing follows: what a typed value does to its cell, F7 balancing, the
// Delete and Backspace keys, the running totals, and the step from cell
// texts to the VoucherLine values that posting takes. The window only
// draws these cells and forwards keys, so the rules are tested here.
#pragma once

#include <optional>

#include <QList>
#include <QString>

#include "vouchers/voucherline.h"

namespace tz {

class VoucherGrid {
public:
    // The grid's columns; column 0 shows the line number.
    enum Column {
        LineColumn,
        SummaryColumn, // 摘要说明
        AccountColumn, // 科 目 名 称: code, one blank, full name
        QuantityColumn, // 数 量 (外币), shown "0.000"
        DebitColumn, // 借方金额, shown "0.00"
        CreditColumn, // 贷方金额, shown "0.00"
        FlowCodeColumn, // 流代
        FlowAmountColumn, // 流金, shown "0.00"
        ColumnCount,
    };

    // The grid always offers at least this many lines.
    static constexpr int kMinLines = 10;

    VoucherGrid();

    // Lines are numbered from 1, as column 0 shows them.
    int lineCount() const { return int(m_lines.size()); }
    // The text of a cell; column 0 gives the line number. Empty outside the grid.
    QString text(int line, int column) const;
    // Writes a cell as it is (the pickers' writes). Ignored outside the grid.
    void setText(int line, int column, const QString &text);
    // True when the line's account cell is not blank.
    bool hasAccount(int line) const;

    // Adds one empty line at the end.
    void appendLine();
    // 刷新: every cell empty; the line count stays.
    void clear();
    // Shows a loaded voucher: one line per voucher line from line 1, at
    // least kMinLines lines, cells formatted. Behind each line the loaded
    // values stay, so cells that still show them post exactly what the
    // journal holds.
    void load(const QList<VoucherLine> &lines);
    // Formats every quantity cell "0.000" and every amount cell "0.00"; an
    // empty cell stays empty and text that is no number stays as it is.
    void formatCells();

    // The editor's text after an edit of (line, column), applied by the
    // first rule that fits: an amount on a line with an account is shown
    // "0.00"; a quantity, amount or cash-flow value on a line without an
    // account empties the cell; typing in the account column never writes
    // the cell (the window searches the accounts instead); anything else is
    // written as typed. Returns false for the account column.
    bool applyEdit(int line, int column, const QString &editorText);

    // F7 in a debit (credit) cell whose line has an account and an empty
    // credit (debit) cell: the cell becomes the shown credit (debit) total
    // less the shown debit (credit) total, to the cent. The totals include
    // the cell's current value, so on an empty cell the voucher balances.
    // Returns true when the cell was written.
    bool balance(int line, int column);

    // Delete: empties the cell; in the account column also the line's
    // debit and credit cells.
    void deleteCell(int line, int column);
    // Backspace on the grid: drops the last character of the cell's text.
    void backspaceCell(int line, int column);

    // The totals shown below the grid: every cell of the debit and credit
    // columns that reads as a number, every line.
    VoucherTotals totals() const;
    // The totals as shown: "#,##0.00".
    QString debitTotalText() const;
    QString creditTotalText() const;

    // The grid as posting takes it: one VoucherLine per line. A cell that
    // still shows its loaded value gives the loaded value (the stored
    // quantity, the stored amounts behind the cents); a changed cell gives
    // what its text reads as, an empty or unreadable cell no value.
    QList<VoucherLine> lines() const;

private:
    struct Line {
        QString cells[ColumnCount]; // column 0 unused: the line number is the position
        std::optional<VoucherLine> loaded;
        QString loadedQuantityText; // what the quantity cell showed after the load
    };

    bool contains(int line, int column) const;
    Line &at(int line) { return m_lines[line - 1]; }
    const Line &at(int line) const { return m_lines.at(line - 1); }

    QList<Line> m_lines;
};

} // namespace tz
