// The settings window.
#include "maintenance/ui/settingswindow.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "accounts/ui/openingbalancewindow.h"
#include "maintenance/backup.h"
#include "maintenance/carryforward.h"
#include "maintenance/compact.h"
#include "maintenance/initialise.h"
#include "maintenance/passphrase.h"
#include "maintenance/restore.h"
#include "maintenance/settings.h"
#include "store/dberror.h"
#include "store/dialogs.h"
#include "store/paths.h"
#include "store/session.h"
#include "store/ui/controls.h"
#include "store/ui/messageboxdialogs.h"

using namespace Qt::Literals::StringLiterals;

namespace tz {

namespace {

// What 原密码 shows whatever the password.
const QString kPasswordMask = u"******"_s;

// A field of the window; read-only ones are drawn on the window's colour,
// passwords are echoed as '*'.
QLineEdit *textField(QWidget *parent, const QString &name, bool readOnly = false, bool password = false)
{
    auto *field = new QLineEdit(parent);
    field->setObjectName(name);
    field->setReadOnly(readOnly);
    if (readOnly)
        field->setFocusPolicy(Qt::NoFocus);
    if (password)
        field->setEchoMode(QLineEdit::Password);
    QString style;
    if (readOnly)
        style += u"background: palette(window);"_s;
    if (password)
        style += u"lineedit-password-character: 42;"_s;
    if (!style.isEmpty())
        field->setStyleSheet(u"QLineEdit { "_s + style + u" }"_s);
    return field;
}

// The new set passphrase typed twice into a small modal window (帐套密码,
// 再输一次: Text8, Text9). False when it was cancelled.
bool askPassphraseTwice(QWidget *parent, QString &first, QString &second)
{
    QDialog ask(parent);
    ask.setObjectName(u"PassphraseDialog"_s);
    ask.setWindowTitle(u"帐套加密"_s);
    auto *layout = new QGridLayout(&ask);
    auto *warning = new QLabel(u"帐套密码遗失后,帐套将无法打开,任何人都不能找回。"_s, &ask);
    warning->setStyleSheet(u"color: #a01a1a;"_s);
    QLineEdit *typed = textField(&ask, u"Text8"_s, false, true);
    QLineEdit *again = textField(&ask, u"Text9"_s, false, true);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &ask);
    layout->addWidget(warning, 0, 0, 1, 2);
    layout->addWidget(new QLabel(u"帐套密码"_s, &ask), 1, 0);
    layout->addWidget(typed, 1, 1);
    layout->addWidget(new QLabel(u"再输一次"_s, &ask), 2, 0);
    layout->addWidget(again, 2, 1);
    layout->addWidget(buttons, 3, 0, 1, 2);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &ask, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &ask, &QDialog::reject);
    if (ask.exec() != QDialog::Accepted)
        return false;
    first = typed->text();
    second = again->text();
    return true;
}

} // namespace

SettingsWindow::SettingsWindow(Session &session, WindowDialogs dialogs, QWidget *parent)
    : SetWindow(session, dialogs.given, parent)
{
    build();
    load();
}

SettingsWindow::~SettingsWindow() = default;

void SettingsWindow::setFolderChooser(FolderChooser chooser)
{
    m_chooseFolder = std::move(chooser);
}

void SettingsWindow::build()
{
    setObjectName(u"SettingsWindow"_s);
    setWindowTitle(u"信息设置"_s);
    m_chooseFolder = [this] { return chooseFolderWithDialog(); };

    // Company.
    auto *companyBox = new QGroupBox(u"单位信息"_s, this);
    auto *companyLayout = new QHBoxLayout(companyBox);
    m_company = textField(companyBox, u"Text1"_s);
    m_company->setMinimumWidth(300);
    QPushButton *saveCompany = commandButton(companyBox, u"Command2"_s, u"保存"_s);
    companyLayout->addWidget(new QLabel(u"单位全称"_s, companyBox));
    companyLayout->addWidget(m_company, 1);
    companyLayout->addWidget(saveCompany);
    connect(saveCompany, &QPushButton::clicked, this, &SettingsWindow::saveCompanyName);

    // Operator.
    auto *operatorBox = new QGroupBox(u"操作员"_s, this);
    auto *operatorLayout = new QGridLayout(operatorBox);
    m_operator = textField(operatorBox, u"Text2"_s, true);
    m_newOperator = textField(operatorBox, u"Text3"_s);
    QPushButton *saveOperator = commandButton(operatorBox, u"Command4"_s, u"保存"_s);
    operatorLayout->addWidget(new QLabel(u"原操作员"_s, operatorBox), 0, 0);
    operatorLayout->addWidget(m_operator, 0, 1);
    operatorLayout->addWidget(new QLabel(u"新操作员"_s, operatorBox), 1, 0);
    operatorLayout->addWidget(m_newOperator, 1, 1);
    operatorLayout->addWidget(saveOperator, 2, 1, Qt::AlignRight);
    operatorLayout->setRowStretch(3, 1);
    connect(saveOperator, &QPushButton::clicked, this, &SettingsWindow::renameOperator);

    // Password.
    auto *passwordBox = new QGroupBox(u"密码"_s, this);
    auto *passwordLayout = new QGridLayout(passwordBox);
    m_password = textField(passwordBox, u"Text4"_s, true, true);
    m_newPassword = textField(passwordBox, u"Text5"_s, false, true);
    m_repeatedPassword = textField(passwordBox, u"Text6"_s, false, true);
    m_repeatedPassword->setPlaceholderText(u"再输一次"_s);
    QPushButton *savePassword = commandButton(passwordBox, u"Command6"_s, u"保存"_s);
    passwordLayout->addWidget(new QLabel(u"原密码"_s, passwordBox), 0, 0);
    passwordLayout->addWidget(m_password, 0, 1);
    passwordLayout->addWidget(new QLabel(u"新密码"_s, passwordBox), 1, 0);
    passwordLayout->addWidget(m_newPassword, 1, 1);
    passwordLayout->addWidget(m_repeatedPassword, 2, 1);
    passwordLayout->addWidget(savePassword, 3, 1, Qt::AlignRight);
    connect(savePassword, &QPushButton::clicked, this, &SettingsWindow::changePassword);

    // Backup folder.
    auto *backupBox = new QGroupBox(u"数据备份"_s, this);
    auto *backupLayout = new QHBoxLayout(backupBox);
    m_backupPath = textField(backupBox, u"Text7"_s, true);
    QPushButton *changeFolder = commandButton(backupBox, u"Command9"_s, u"更改.."_s);
    backupLayout->addWidget(new QLabel(u"备份路径"_s, backupBox));
    backupLayout->addWidget(m_backupPath, 1);
    backupLayout->addWidget(changeFolder);
    connect(changeFolder, &QPushButton::clicked, this, &SettingsWindow::changeBackupPath);

    // Account-set maintenance. Backup, restore, compact, carry forward and
    // initialisation arrive with their own windows.
    auto *maintenanceBox = new QGroupBox(u"帐套维护"_s, this);
    auto *maintenanceLayout = new QGridLayout(maintenanceBox);
    QPushButton *openingBalances = commandButton(maintenanceBox, u"Command3"_s, u"年初余额"_s);
    maintenanceLayout->addWidget(openingBalances, 0, 0);
    // The settings window closes and the opening-balance window takes its place.
    connect(openingBalances, &QPushButton::clicked, this, [this] {
        QWidget *owner = parentWidget();
        reject();
        auto window = std::make_unique<OpeningBalanceWindow>(m_session, givenDialogs(), owner);
        window->exec();
    });
    QPushButton *backup = commandButton(maintenanceBox, u"Command8"_s, u"数据备份"_s);
    maintenanceLayout->addWidget(backup, 0, 1);
    // A backup that was made closes the settings window.
    connect(backup, &QPushButton::clicked, this, [this] {
        if (BackupAccountSet(m_session, m_dialogs).isDone())
            accept();
    });
    QPushButton *restore = commandButton(maintenanceBox, u"Command10"_s, u"帐套恢复"_s);
    maintenanceLayout->addWidget(restore, 0, 2);
    // A restored set ends the program: the user logs in to it.
    connect(restore, &QPushButton::clicked, this, [this] {
        const auto choose = [this] {
            return QFileDialog::getOpenFileName(this, u"帐套恢复"_s, m_backupPath->text().trimmed(),
                                                u"TZ Files (*.QSBF*)"_s);
        };
        if (RestoreBackup(m_dialogs, choose, dataFolder()).isDone()) {
            emit closedMonthsChanged();
            accept();
            QCoreApplication::quit();
        }
    });
    QPushButton *compact = commandButton(maintenanceBox, u"Command5"_s, u"压缩修复数据库"_s);
    compact->setToolTip(u"压缩和修复数据库"_s);
    maintenanceLayout->addWidget(compact, 1, 0);
    connect(compact, &QPushButton::clicked, this, [this] {
        if (CompactAccountSet(m_session, m_dialogs).isDone())
            accept();
    });
    QPushButton *carry = commandButton(maintenanceBox, u"Command12"_s, u"年度过帐"_s);
    maintenanceLayout->addWidget(carry, 1, 1);
    // A carry forward ends the program: the user logs in to the new year.
    connect(carry, &QPushButton::clicked, this, [this] {
        if (CarryForward(m_session, m_dialogs).isDone()) {
            accept();
            QCoreApplication::quit();
        }
    });
    QPushButton *initialise = commandButton(maintenanceBox, u"Command11"_s, u"系统初始化"_s);
    maintenanceLayout->addWidget(initialise, 1, 2);
    connect(initialise, &QPushButton::clicked, this, [this] {
        if (!InitialiseYear(m_session, m_dialogs).isDone())
            return;
        emit closedMonthsChanged();
        accept();
    });

    QPushButton *passphrase = commandButton(maintenanceBox, u"Command13"_s, u"帐套加密"_s);
    passphrase->setToolTip(u"帐套改用自己的帐套密码加密;已加密的帐套可取消加密"_s);
    maintenanceLayout->addWidget(passphrase, 2, 0);
    // A set under its own passphrase is offered its removal, any other one a passphrase.
    connect(passphrase, &QPushButton::clicked, this, [this] {
        bool protectedSet = false;
        try {
            protectedSet = hasSetPassphrase(m_session);
        } catch (const DbError &) {
            // The operation below tells what is wrong with the set.
        }
        if (protectedSet) {
            RemoveSetPassphrase(m_session, m_dialogs);
            return;
        }
        QString first;
        QString second;
        if (askPassphraseTwice(this, first, second))
            SetSetPassphrase(m_session, first, second, m_dialogs);
    });

    // Help and close.
    m_help = helpLink(this, u"本窗要点"_s, u"单击查看本窗要点"_s, [this] { showHelp(); });
    QPushButton *close = closeButton(this, u"Command7"_s, u"关 闭"_s);

    auto *operatorRow = new QHBoxLayout;
    operatorRow->addWidget(operatorBox, 1);
    operatorRow->addWidget(passwordBox, 1);
    auto *bottomRow = new QHBoxLayout;
    bottomRow->addWidget(m_help);
    bottomRow->addStretch(1);
    bottomRow->addWidget(close);

    auto *layout = new QVBoxLayout(this);
    layout->setSpacing(10);
    layout->setContentsMargins(14, 14, 14, 12);
    layout->addWidget(companyBox);
    layout->addLayout(operatorRow);
    layout->addWidget(backupBox);
    layout->addWidget(maintenanceBox);
    layout->addStretch(1);
    layout->addLayout(bottomRow);
}

void SettingsWindow::load()
{
    AccountSetInfo info;
    ReadAccountSetInfo(m_session, info, m_dialogs);
    m_company->setText(info.companyName);
    m_backupPath->setText(info.backupPath);
    m_operator->setText(m_session.operatorName());
    // The password itself is never shown (nor kept in the set as text).
    m_password->setText(kPasswordMask);
}

QString SettingsWindow::chooseFolderWithDialog()
{
    const QString start = m_backupPath->text().isEmpty() ? QDir::homePath() : m_backupPath->text();
    // The prompt is the dialog's title, so it is kept short enough to show whole.
    return QFileDialog::getExistingDirectory(this, u"请选择一个备份文件夹"_s, start);
}

void SettingsWindow::saveCompanyName()
{
    const QString name = m_company->text();
    if (SaveCompanyName(m_session, name, m_dialogs).isDone())
        emit companyNameChanged(name);
}

void SettingsWindow::renameOperator()
{
    const QString current = m_operator->text();
    const QString newName = m_newOperator->text();
    const OpResult result = RenameOperator(m_session, current, newName, m_dialogs);
    if (result.isDone()) {
        m_operator->setText(newName);
        m_newOperator->clear();
        emit operatorNameChanged(newName);
    } else if (result.isRefused() && !current.trimmed().isEmpty() && !newName.trimmed().isEmpty()) {
        m_newOperator->clear(); // the name is taken
    }
}

void SettingsWindow::changePassword()
{
    const QString first = m_newPassword->text();
    const QString second = m_repeatedPassword->text();
    const OpResult result = ChangePassword(m_session, m_operator->text(), first, second, m_dialogs);
    if (result.isDone()) {
        m_newPassword->clear();
        m_repeatedPassword->clear();
    } else if (result.isRefused() && !first.trimmed().isEmpty() && !second.trimmed().isEmpty()) {
        m_newPassword->clear(); // the two entries differ
        m_repeatedPassword->clear();
    }
}

void SettingsWindow::changeBackupPath()
{
    const QString folder = m_chooseFolder ? m_chooseFolder() : QString();
    if (folder.isEmpty())
        return;
    m_backupPath->setText(QDir::toNativeSeparators(folder));
    if (!SetBackupPath(m_session, m_backupPath->text(), m_dialogs).isDone())
        m_backupPath->clear();
}

void SettingsWindow::showHelp()
{
    m_dialogs.show(settingsHelpText(), applicationTitle(), Icon::None);
}

} // namespace tz
