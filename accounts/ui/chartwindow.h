// The chart-of-accounts window (科目处理): the accounts of one class as a
// tree, adding a detail account under the account double-clicked in it,
// renaming, deleting with everything below, adding a top-level account, and
// the grid of unit (单位), spec (规格) and FX flag of the detail accounts. Also
// the routine that fills an account tree, shared with the account picker.
#pragma once

#include <QDialog>
#include <QString>

#include "store/operation.h"
#include "store/ui/setwindow.h"

class QButtonGroup;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;
class QTreeWidget;
class QTreeWidgetItem;

namespace tz {

// The node data of an account tree: Qt::UserRole holds the node key ("x"
// and the code). The code is also the node text before its first blank.
inline constexpr int kAccountNodeKeyRole = Qt::UserRole;

// Empties `tree` and fills it with the accounts of one class (1 资产 to
// 5 损益, 0 every class): level-1 accounts as roots, each other account
// under the node of its parent, siblings in code order. An account whose
// parent is missing from the chart is shown as a root rather than lost.
// Nodes start collapsed.
OpResult FillAccountTree(QTreeWidget *tree, Session &session, int accountClass, Dialogs &dialogs);

// The account code of a tree node (its text before the first blank).
QString accountNodeCode(const QTreeWidgetItem *node);

// The node of the account `code` in `tree`, or nullptr.
QTreeWidgetItem *findAccountNode(QTreeWidget *tree, const QString &code);

class ChartWindow : public SetWindow<QDialog> {
    Q_OBJECT

public:
    // Messages and questions go to `dialogs` (it must outlive the window), or,
    // when none is given, to message boxes over this window.
    explicit ChartWindow(Session &session, WindowDialogs dialogs = {}, QWidget *parent = nullptr);
    ~ChartWindow() override;

    // The class the tree shows: 1 to 5, or 0 for every class. The window
    // opens on class 1 (资产).
    int accountClass() const;
    // Shows another class, as its class button does (0 shows every class);
    // anything else is ignored.
    void setAccountClass(int accountClass);

    // Set by the account picker before it opens this window: every change
    // then switches the tree to all classes, as the picker's tree shows
    // them. The picker refills its own tree on chartChanged().
    void setOpenedFromPicker(bool fromPicker);
    bool isOpenedFromPicker() const;

    // Selects an account as a double-click on its node does: fills the code,
    // full name, name and direction, proposes the next sub-code, and makes
    // its node current (expanding the way to it when it is shown). Returns
    // false, changing nothing, when there is no such account.
    bool selectAccount(const QString &code);
    // The code of the selected account (Text1); empty when none.
    QString selectedCode() const;

signals:
    // After every change of the chart made here (add, rename, delete,
    // top-level add), once the window's own tree is refilled.
    void chartChanged();

public slots:
    void addDetailAccount(); // 增明细
    void deleteAccount(); // 删除
    void renameAccount(); // 修改
    void openTopLevelDialog(); // 增总科 (modal)
    void showHelp(); // 简单说明

    // Ends the dialog; an attribute edit still pending in the grid is saved.
    void done(int result) override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void build();
    QWidget *buildTreePanel();
    QWidget *buildFieldPanel();
    void loadAttributeGrid();
    void saveAttributeRow(int row);
    void savePendingAttributes();
    void refillTree(const QString &currentCode = {}, const QString &revealCode = {});
    void afterChange(const QString &currentCode, const QString &revealCode = {});
    void clearSelection();
    void showClassButtons();

    int m_accountClass = 1;
    bool m_fromPicker = false;
    bool m_loadingGrid = false;
    int m_pendingRow = -1; // grid row edited since the cursor came to it

    QTreeWidget *m_tree = nullptr; // TreeView1
    QButtonGroup *m_classGroup = nullptr; // Command7..Command11
    QLineEdit *m_code = nullptr; // Text1
    QLineEdit *m_subCode = nullptr; // Text2
    QLineEdit *m_fullName = nullptr; // Text3
    QLineEdit *m_name = nullptr; // Text4
    QLineEdit *m_oldName = nullptr; // Text5
    QLineEdit *m_initials = nullptr; // Text6
    QComboBox *m_direction = nullptr; // Combo1
    QTableWidget *m_grid = nullptr; // DataGrid1
    QLabel *m_help = nullptr; // Label1
};

} // namespace tz
