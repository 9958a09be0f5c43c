// The first window of the program: choose an account set, pick an operator,
// type the password and log in; or create a new account set from the
// template in the panel below the login fields.
#pragma once

#include <functional>
#include <memory>

#include <QDialog>

#include "store/operation.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QTimer;

namespace tz {

class LoginWindow : public QDialog
{
    Q_OBJECT

public:
    // Asks the operator for a path; an empty string means the dialog was cancelled.
    using PathChooser = std::function<QString()>;

    // The program's window: messages in message boxes over this window, the
    // account set and the folder for a new set chosen in file dialogs.
    explicit LoginWindow(Session &session, QWidget *parent = nullptr);

    // The same window speaking through `dialogs` and asking for the set file
    // and the new set's folder through the given choosers (an empty chooser
    // means the file dialog). Tests pass scripted ones.
    LoginWindow(Session &session, Dialogs &dialogs, PathChooser chooseSetFile, PathChooser chooseFolder,
                QWidget *parent = nullptr);

    ~LoginWindow() override;

    // Chooses `path` as 选择帐套 does with a file picked in its dialog (the
    // program started with an account-set path on its command line).
    void preselect(const QString &path);

    // Called with a chosen set that could not be opened, after the failure
    // was reported: the program offers to salvage a damaged set there,
    // since its settings window cannot be reached without a login.
    using FailedSetHandler = std::function<void(const QString &path, Dialogs &dialogs)>;
    void setFailedSetHandler(FailedSetHandler handler) { m_failedSet = std::move(handler); }

    // Opens the 批量月结 window over this one, for a firm's month end over a
    // folder of sets before logging in to any. The program sets it (that
    // window lives above store/); the button 批量月结 shows only once set.
    using WindowOpener = std::function<void(QWidget *parent)>;
    void setMonthEndOpener(WindowOpener opener);

protected:
    bool event(QEvent *event) override;

private:
    // Without dialogs the window makes its own message boxes.
    LoginWindow(Session &session, Dialogs *dialogs, PathChooser chooseSetFile, PathChooser chooseFolder,
                QWidget *parent);

    void buildControls();
    void chooseSet(const QString &path);
    QString chosenSetPath() const;
    void logIn();
    void waitAfterWrongPassword();
    void askForPassphrase();
    bool unlockSet();
    void showNewSetPanel();
    void hideNewSetPanel();
    void chooseFolder();
    void saveNewSet();
    QString askForSetFile();
    QString askForFolder();

    Session &m_session;
    std::unique_ptr<Dialogs> m_ownDialogs; // the message boxes, unless dialogs were given
    Dialogs *m_dialogs = nullptr;
    PathChooser m_chooseSetFile;
    PathChooser m_chooseFolder;
    FailedSetHandler m_failedSet;

    QLineEdit *m_path = nullptr;         // Text2
    QPushButton *m_chooseSet = nullptr;  // Command7
    QComboBox *m_operator = nullptr;     // Combo1
    QLineEdit *m_password = nullptr;     // Text1
    QLabel *m_connecting = nullptr;      // Label6
    // Shown only for a set encrypted under its own passphrase.
    QLabel *m_passphraseLabel = nullptr; // Label7
    QLineEdit *m_passphrase = nullptr;   // Text6
    // Wrong passwords in a row, and the wait after them (loginDelaySeconds)
    // during which 登陆 is disabled.
    int m_failures = 0;
    QTimer *m_delay = nullptr; // loginDelay
    QPushButton *m_login = nullptr;      // Command1
    QPushButton *m_newSet = nullptr;     // Command4
    QPushButton *m_quit = nullptr;       // Command2
    QGroupBox *m_panel = nullptr;        // Frame1
    QLineEdit *m_shortName = nullptr;    // Text4
    QSpinBox *m_year = nullptr;          // Text5
    QLineEdit *m_folder = nullptr;       // Text3
    QPushButton *m_pickFolder = nullptr; // Command6
    QPushButton *m_save = nullptr;       // Command3
    QPushButton *m_cancel = nullptr;     // Command5
    QLabel *m_hint = nullptr;            // Label3
    QPushButton *m_monthEnd = nullptr;   // monthEnd
    WindowOpener m_openMonthEnd;
};

} // namespace tz
