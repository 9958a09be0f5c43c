// The account picker (双击选择科目): a small modal window from which the
// operator chooses an account by double-click, in the account tree (one
// class or all) or in the list found by typing a code, pinyin initials or a
// Chinese name. It serves the voucher window, whose consecutive lines it
// fills, and the query window, which receives the account's looked-up
// values.
#pragma once

#include <functional>
#include <memory>

#include <QPointer>

#include <QDialog>

#include "store/operation.h"
#include "store/ui/setwindow.h"

class QButtonGroup;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace tz {

struct AccountLookup;

// What the voucher window offers the picker. Lines are numbered from 1, as
// the grid's 序号 column shows them: line n is grid row n under the header
// row 0, so lineCount() is the grid's row count less one.
class AccountPickTarget {
public:
    virtual ~AccountPickTarget() = default;

    // Number of entry lines in the grid.
    virtual int lineCount() const = 0;
    // Adds one empty line at the end and numbers the 序号 column of every
    // line from 1.
    virtual void appendLine() = 0;
    // Writes `text` (the code, one blank, the account's full name) into the
    // 科目名称 cell of `line` (1..lineCount()).
    virtual void setAccountText(int line, const QString &text) = 0;
};

class AccountPicker : public SetWindow<QDialog> {
    Q_OBJECT

public:
    // Who opened the picker; decides what a pick writes.
    enum class Caller {
        None, // nothing is written
        Voucher, // caller "1": the voucher grid's next line
        Query, // caller "2": the query window's account fields
    };

    // Receives a pick for the query window: the account code and the values
    // LookupAccount found for it.
    using QueryPick = std::function<void(const QString &code, const AccountLookup &values)>;
    // Shows the chart-of-accounts window modally (called by 设置).
    using ChartOpener = std::function<void()>;

    // Messages and questions go to `dialogs` (it must outlive the window), or,
    // when none is given, to message boxes over this window.
    explicit AccountPicker(Session &session, WindowDialogs dialogs = {}, QWidget *parent = nullptr);
    ~AccountPicker() override;

    // Caller "1": each pick fills the account cell of `line` of `target` and
    // moves on to the next line; when `line` is the grid's last line, the pick
    // first appends a line. The picker is placed 6000 twips right of and 1000
    // twips below `voucherWindow` (the parent's window when null). `target`
    // must outlive the picker's use.
    void pickForVoucher(AccountPickTarget &target, int line, const QWidget *voucherWindow = nullptr);

    // Caller "2": each pick hands the account's code and looked-up values to
    // `deliver`. The picker is placed 2700 twips right of and 2500 twips below
    // `accountField` when given.
    void pickForQuery(QueryPick deliver, const QWidget *accountField = nullptr);

    // 设置 opens the chart window through `opener`; without one it is disabled.
    void setChartOpener(ChartOpener opener);

    Caller caller() const { return m_caller; }
    // For caller "1": the line the next pick fills.
    int nextLine() const { return m_nextLine; }
    // The class the tree shows: 0 for all, 1 to 5 for one class.
    int accountClass() const { return m_accountClass; }

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void setUp();

    void build();
    void fillTree(int accountClass);
    void search(const QString &text);
    void pickListItem(QListWidgetItem *item);
    void pickTreeItem(QTreeWidgetItem *item);
    void fillVoucherLine(const QString &text);
    void deliverToQuery(const QString &code);
    // LookupAccount with a database failure shown to the user; false then.
    bool lookUp(const QString &code, AccountLookup &values);
    void openChart();

    Caller m_caller = Caller::None;
    AccountPickTarget *m_target = nullptr;
    int m_nextLine = 0; // the line the next voucher pick fills
    QueryPick m_deliver;
    QPointer<const QWidget> m_anchor; // the window or field the picker is placed beside
    ChartOpener m_openChart;
    int m_accountClass = 0;

    QTreeWidget *m_tree = nullptr; // TreeView1
    QListWidget *m_list = nullptr; // List1
    QLineEdit *m_search = nullptr; // Text3
    QButtonGroup *m_classes = nullptr; // Command2..Command7
    QPushButton *m_settings = nullptr; // Command8
};

} // namespace tz
