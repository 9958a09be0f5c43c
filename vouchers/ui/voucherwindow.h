// The voucher entry window (凭证录入): one voucher at a time, its header
// above an eight-column grid of entry lines and the running totals below.
// The operator keys, finds and corrects vouchers here, and closes and
// reopens months. The voucher on view is the one staged in 分录始表; the
// grid's cells and their editing rules live in VoucherGrid, the posting,
// navigation and closing in the vouchers operations.
#pragma once

#include <memory>

#include <QDialog>

#include "accounts/ui/accountpicker.h"
#include "store/operation.h"
#include "vouchers/vouchergrid.h"
#include "store/ui/setwindow.h"

class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class QTableWidget;

namespace tz {

struct NavigationResult;
struct PostingOutcome;
struct VoucherHeader;

class VoucherWindow : public SetWindow<QDialog>, public AccountPickTarget {
    Q_OBJECT

public:
    // Messages and questions go to `dialogs` (also for the pick windows it
    // opens; it must outlive the window), or, when none is given, to message
    // boxes over this window.
    explicit VoucherWindow(Session &session, WindowDialogs dialogs = {}, QWidget *parent = nullptr);
    ~VoucherWindow() override;

    // The grid as its cells stand.
    const VoucherGrid &grid() const { return m_cells; }
    // True while the label "凭证号:" is shaded, prompting a click for the
    // next number.
    bool isNumberLabelShaded() const { return m_numberShaded; }

    // AccountPickTarget: the account picker fills consecutive lines.
    int lineCount() const override;
    void appendLine() override;
    void setAccountText(int line, const QString &text) override;

signals:
    // A month was closed or reopened: the main window refreshes its
    // closed-month boxes.
    void closedMonthsChanged();

public slots:
    void firstVoucher(); // 首条
    void previousVoucher(); // 上一
    void nextVoucher(); // 下一
    void lastVoucher(); // 末条
    void refresh(); // 刷新: blank grid, list hidden, totals 0.00
    void saveVoucher(); // 保存记录
    void modifyVoucher(); // 修改
    void insertVoucher(); // 插入
    void deleteVoucher(); // 删除
    void closeMonth(); // 结帐
    void reopenMonth(); // 反结
    void revalue(); // 期末调汇
    // The click on "凭证号:": the month's next free number, and the label's
    // shade toggled.
    void takeNextNumber();
    // The click on 操作说明.
    void showHelp();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void setUp();

    // The dialogs a pick window shares: this window's when it was given
    // some, none when it shows its own message boxes.
    Dialogs *sharedDialogs() { return givenDialogs(); }

    void build();
    void buildHeader();
    void buildGrid();
    void buildButtons();
    void start();

    int workingMonth() const;
    VoucherHeader header() const;
    // Enables the posting buttons exactly when the date is in the fiscal
    // year; `tell` shows "会计年度不一致" when it is not.
    void applyYearRule(bool tell);
    void setNumberShaded(bool shaded);
    // The month's next free number into "凭证号:".
    void fillNextNumber();

    using NavigationStep = OpResult (*)(Session &, int, const QString &, NavigationResult &, Dialogs &);
    void navigate(NavigationStep step);
    using PostingStep
        = OpResult (*)(Session &, const VoucherHeader &, const QList<VoucherLine> &, PostingOutcome &, Dialogs &);
    void post(PostingStep step);

    // Grid display and editing.
    int currentLine() const;
    int currentColumn() const;
    void showCells();
    void showCell(int line, int column);
    void showTotals();
    void placeTotals();
    void openEditor(const QString &typed = {});
    // Ctrl+V: the clipboard's text into the current cell, as if typed.
    void pasteIntoCell();
    void closeEditor();
    void placeEditor();
    void editorEdited(const QString &text);
    bool editorKey(QKeyEvent *key);
    bool gridKey(QKeyEvent *key);
    void moveTo(int line, int column);
    void pickForCell(int line, int column);
    void balanceCell(int line, int column);
    void searchAccounts(const QString &text);
    void chooseSearchHit(QListWidgetItem *item);

    VoucherGrid m_cells;
    bool m_numberShaded = false;

    QDateEdit *m_date = nullptr; // DTPicker1
    QComboBox *m_word = nullptr; // Combo2
    QLabel *m_numberLabel = nullptr; // Label7
    QLineEdit *m_number = nullptr; // Text4
    QLineEdit *m_attachments = nullptr; // Text5
    QLineEdit *m_preparer = nullptr; // Text3
    QComboBox *m_reviewer = nullptr; // Combo1
    QTableWidget *m_grid = nullptr; // Grid1
    QLineEdit *m_editor = nullptr; // Text7
    QListWidget *m_hits = nullptr; // List1
    QLineEdit *m_debitTotal = nullptr; // Text1
    QLineEdit *m_creditTotal = nullptr; // Text2
    QLineEdit *m_help = nullptr; // Text6
    QWidget *m_totals = nullptr; // the strip under the grid
    QLabel *m_totalLabel = nullptr;
    QList<QPushButton *> m_postingButtons; // 保存记录, 修改, 插入, 删除
};

} // namespace tz
