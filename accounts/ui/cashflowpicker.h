// The cash-flow item window (双击选择项目): lists the items, hands the code
// double-clicked to the voucher line it was opened for, and, in its
// maintenance area shown by the 项目增减处理 button, adds items and deletes
// items no journal line uses.
#pragma once

#include <functional>
#include <memory>

#include <QDialog>

#include "store/operation.h"
#include "store/ui/setwindow.h"

class QGroupBox;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;

namespace tz {

class CashFlowPicker : public SetWindow<QDialog> {
    Q_OBJECT

public:
    // Receives the chosen item code (the voucher grid's 流代 cell of the line
    // the window was opened for).
    using CodePick = std::function<void(const QString &code)>;

    // Messages and questions go to `dialogs` (it must outlive the window), or,
    // when none is given, to message boxes over this window.
    explicit CashFlowPicker(Session &session, WindowDialogs dialogs = {}, QWidget *parent = nullptr);
    ~CashFlowPicker() override;

    // A double-click hands the item's three-digit code to `deliver` and
    // closes the window; without a receiver it only closes.
    void pickFor(CodePick deliver);

    // True while the maintenance area is shown (the window is wide).
    bool isMaintenanceShown() const { return m_wide; }

public slots:
    // 项目增减处理: shows the maintenance area and widens the window, or hides
    // it and narrows the window again.
    void toggleMaintenance();

private:
    void setUp();

    void build();
    void reload();
    void choose(QListWidgetItem *item);
    void addItem();
    void deleteItem();

    CodePick m_deliver;
    bool m_wide = false;
    int m_widened = 0; // pixels the window grew when the area was shown

    QListWidget *m_list = nullptr; // List1
    QLineEdit *m_code = nullptr; // Text3
    QLineEdit *m_name = nullptr; // Text4
    QPushButton *m_toggle = nullptr; // Command1
    QGroupBox *m_maintenance = nullptr; // the area Command1 shows and hides
};

} // namespace tz
