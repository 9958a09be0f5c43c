// The opening-balance window Form9 (年初余额处理): the working copy of every
// detail account's opening quantity, debit and credit in an editable grid
// (a row's edits are written when the row is left), the trial balance, and
// the load that turns the working copy into the journal's opening lines.
#pragma once

#include <memory>

#include <QDialog>
#include <QHash>

#include "accounts/openingbalances.h"
#include "store/operation.h"
#include "store/ui/setwindow.h"

class QLineEdit;
class QPushButton;
class QTableWidget;
class QTableWidgetItem;

namespace tz {

class AmountCellDelegate;

class OpeningBalanceWindow : public SetWindow<QDialog> {
    Q_OBJECT

public:
    // Grid columns.
    enum Column {
        CodeColumn,
        NameColumn,
        DirectionColumn,
        QuantityColumn,
        DebitColumn,
        CreditColumn,
        ColumnCount,
    };

    // Messages and questions go to `dialogs` (it must outlive the window), or,
    // when none is given, to message boxes over this window.
    explicit OpeningBalanceWindow(Session &session, WindowDialogs dialogs = {}, QWidget *parent = nullptr);
    ~OpeningBalanceWindow() override;

public slots:
    // 显示科目>>: writes pending edits, fills the grid with the detail
    // accounts' working copy, empties the totals and enables the load.
    void showAccounts();
    // 装入或修改年初数: writes pending edits, shows the trial balance and
    // loads the working copy into the journal (refused when unbalanced).
    void loadIntoJournal();
    // Ends any cell editing and writes every row with unwritten edits.
    void commitEdits();

protected:
    void done(int result) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void setUp();

    void build();
    void cellEdited(QTableWidgetItem *item);
    void rowChanged(int currentRow, int previousRow);
    void moveToNextRow();
    void writeRow(int row);
    void showRow(int row, const OpeningBalance &balance);
    void showTrialBalance(const TrialBalance &trial);
    void clearTotals();

    QTableWidget *m_grid = nullptr; // DataGrid1
    AmountCellDelegate *m_delegate = nullptr;
    QLineEdit *m_debitTotal = nullptr; // Text1
    QLineEdit *m_creditTotal = nullptr; // Text2
    QLineEdit *m_status = nullptr; // Text3
    QPushButton *m_load = nullptr; // Command2

    QHash<int, OpeningEdit> m_pending; // grid row -> cells edited, not yet written
    bool m_filling = false;
};

} // namespace tz
