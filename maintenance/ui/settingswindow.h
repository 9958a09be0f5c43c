// The settings window (信息设置): company name, operator name and password,
// backup folder, and the buttons of the account-set maintenance jobs. Opened
// modally from the main window; tells it when the company or the operator
// was renamed.
#pragma once

#include <functional>
#include <memory>

#include <QDialog>

#include "store/operation.h"
#include "store/ui/setwindow.h"

class QLabel;
class QLineEdit;

namespace tz {

class SettingsWindow : public SetWindow<QDialog> {
    Q_OBJECT

public:
    // Returns the chosen folder, or an empty string when cancelled.
    using FolderChooser = std::function<QString()>;

    // Messages and questions go to `dialogs` (it must outlive the window), or,
    // when none is given, to message boxes over this window.
    explicit SettingsWindow(Session &session, WindowDialogs dialogs = {}, QWidget *parent = nullptr);
    ~SettingsWindow() override;

    // Replaces the folder dialog of 更改.. (tests choose without a dialog).
    void setFolderChooser(FolderChooser chooser);

signals:
    void companyNameChanged(const QString &companyName);
    void operatorNameChanged(const QString &operatorName);
    // The journal's closing marks may have changed (initialisation, restore).
    void closedMonthsChanged();

private slots:
    void saveCompanyName();
    void renameOperator();
    void changePassword();
    void changeBackupPath();
    void showHelp();

private:
    void build();
    void load();
    QString chooseFolderWithDialog();

    FolderChooser m_chooseFolder;

    QLineEdit *m_company = nullptr;          // Text1
    QLineEdit *m_operator = nullptr;         // Text2
    QLineEdit *m_newOperator = nullptr;      // Text3
    QLineEdit *m_password = nullptr;         // Text4
    QLineEdit *m_newPassword = nullptr;      // Text5
    QLineEdit *m_repeatedPassword = nullptr; // Text6
    QLineEdit *m_backupPath = nullptr;       // Text7
    QLabel *m_help = nullptr;                // Label1
};

} // namespace tz
