// The dialog 增加总帐科目: adds level-1 accounts one after another. Opened
// modally from the chart-of-accounts window, which refills its tree on
// accountAdded().
#pragma once

#include <QDialog>

#include "store/operation.h"
#include "store/ui/setwindow.h"

class QComboBox;
class QLineEdit;

namespace tz {

class TopLevelAccountDialog : public SetWindow<QDialog> {
    Q_OBJECT

public:
    // Messages and questions go to `dialogs` (it must outlive the dialog), or,
    // when none is given, to message boxes over this dialog.
    explicit TopLevelAccountDialog(Session &session, WindowDialogs dialogs = {}, QWidget *parent = nullptr);
    ~TopLevelAccountDialog() override;

signals:
    void accountAdded(const QString &code);

public slots:
    // 增加: adds the account typed in; on success empties the name and
    // stays open for the next one.
    void addAccount();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void build();

    QLineEdit *m_code = nullptr; // Text1
    QLineEdit *m_name = nullptr; // Text2
    QLineEdit *m_initials = nullptr; // Text3
    QComboBox *m_direction = nullptr; // Combo1
};

} // namespace tz
