// The login window: choosing a set, logging in, creating a new set.
#include "store/ui/loginwindow.h"

#include <QComboBox>
#include <QDir>
#include <QEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>
#include <QVBoxLayout>

#include "store/accountset.h"
#include "store/login.h"
#include "store/session.h"
#include "store/setkeys.h"
#include "store/ui/controls.h"
#include "store/ui/messageboxdialogs.h"

using namespace Qt::Literals::StringLiterals;

namespace tz {

namespace {

// What Text2 shows while no set is chosen, and Text3 while no folder is.
const QString setHint = u"请点右边选择帐套---------->>>"_s;
const QString folderHint = u"请点右边选择存放帐套的文件夹--->>>"_s;

// What the operator is told when choosing the folder for a new set. The
// dialog's caption cannot break a line, so there the two steps are joined
// by a blank; the button's tooltip keeps the line break.
const QString folderStep1
    = u"1.请选择一个文件夹或事先在其他盘上建一个文件夹(最好不要在桌面或C盘)，用于存放帐套之用。"_s;
const QString folderStep2 = u"2.最后点[确定]"_s;

// No button is a default button: Enter in a field must not press one (a
// dialog otherwise makes the first button after the focus its default);
// only Enter in the password logs in.
QPushButton *button(const QString &name, const QString &text)
{
    auto *b = new QPushButton(text);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
}

} // namespace

LoginWindow::LoginWindow(Session &session, QWidget *parent)
    : LoginWindow(session, nullptr, {}, {}, parent)
{
}

LoginWindow::LoginWindow(Session &session, Dialogs &dialogs, PathChooser chooseSetFile, PathChooser chooseFolder,
                         QWidget *parent)
    : LoginWindow(session, &dialogs, std::move(chooseSetFile), std::move(chooseFolder), parent)
{
}

LoginWindow::LoginWindow(Session &session, Dialogs *dialogs, PathChooser chooseSetFile, PathChooser chooseFolder,
                         QWidget *parent)
    : QDialog(parent)
    , m_session(session)
    , m_dialogs(dialogs)
    , m_chooseSetFile(std::move(chooseSetFile))
    , m_chooseFolder(std::move(chooseFolder))
{
    if (!m_dialogs) {
        m_ownDialogs = std::make_unique<MessageBoxDialogs>(this);
        m_dialogs = m_ownDialogs.get();
    }
    if (!m_chooseSetFile)
        m_chooseSetFile = [this] { return askForSetFile(); };
    if (!m_chooseFolder)
        m_chooseFolder = [this] { return askForFolder(); };
    buildControls();
}

LoginWindow::~LoginWindow() = default;

void LoginWindow::buildControls()
{
    setWindowTitle(u"TZ305系统初始窗口"_s);
    setMinimumWidth(520);

    // The login fields.
    m_path = new QLineEdit;
    m_path->setObjectName(u"Text2"_s);
    m_path->setReadOnly(true);
    m_chooseSet = button(u"Command7"_s, u"选择帐套"_s);

    m_operator = new QComboBox;
    m_operator->setObjectName(u"Combo1"_s);
    m_operator->setEditable(true);
    m_operator->setInsertPolicy(QComboBox::NoInsert);

    m_password = new QLineEdit;
    m_password->setObjectName(u"Text1"_s);
    m_password->setEchoMode(QLineEdit::Password);

    // Shown while the password is checked; it keeps its place when hidden
    // so the window does not jump.
    m_connecting = new QLabel(u"数据库连接中... ..."_s);
    m_connecting->setObjectName(u"Label6"_s);
    m_connecting->setStyleSheet(u"color: #1a4fa0;"_s);
    QSizePolicy keepPlace = m_connecting->sizePolicy();
    keepPlace.setRetainSizeWhenHidden(true);
    m_connecting->setSizePolicy(keepPlace);
    m_connecting->hide();

    // Asked for only when the chosen set does not open with the shared key.
    m_passphraseLabel = new QLabel(u"此帐套已加密,请输入帐套密码"_s);
    m_passphraseLabel->setObjectName(u"Label7"_s);
    m_passphrase = new QLineEdit;
    m_passphrase->setObjectName(u"Text6"_s);
    m_passphrase->setEchoMode(QLineEdit::Password);
    m_passphraseLabel->hide();
    m_passphrase->hide();

    auto *fields = new QGridLayout;
    fields->setColumnStretch(1, 1);
    fields->addWidget(fieldLabel(u"帐  套"_s, m_path), 0, 0);
    fields->addWidget(m_path, 0, 1);
    fields->addWidget(m_chooseSet, 0, 2);
    fields->addWidget(m_passphraseLabel, 1, 1);
    fields->addWidget(m_passphrase, 2, 1);
    fields->addWidget(fieldLabel(u"操作员"_s, m_operator), 3, 0);
    fields->addWidget(m_operator, 3, 1);
    fields->addWidget(fieldLabel(u"密  码"_s, m_password), 4, 0);
    fields->addWidget(m_password, 4, 1);
    fields->addWidget(m_connecting, 5, 1);

    m_login = button(u"Command1"_s, u"登陆"_s);
    m_newSet = button(u"Command4"_s, u"新建帐套"_s);
    m_quit = button(u"Command2"_s, u"退出"_s);
    m_monthEnd = button(u"monthEnd"_s, u"批量月结"_s);
    m_monthEnd->setToolTip(u"文件夹下的每个帐套: 检查、结帐、出报表和余额表、备份"_s);
    m_monthEnd->hide();
    auto *actions = new QHBoxLayout;
    actions->addWidget(m_monthEnd);
    actions->addStretch();
    actions->addWidget(m_login);
    actions->addWidget(m_newSet);
    actions->addWidget(m_quit);

    // The new-set panel.
    m_panel = new QGroupBox(u"新帐套信息"_s);
    m_panel->setObjectName(u"Frame1"_s);

    m_shortName = new QLineEdit;
    m_shortName->setObjectName(u"Text4"_s);
    m_shortName->setToolTip(u"输入单位简称"_s);

    m_year = new QSpinBox;
    m_year->setObjectName(u"Text5"_s);
    m_year->setRange(2015, 2099);
    m_year->setSingleStep(1);
    m_year->setValue(2015);
    m_year->setMinimumWidth(100);

    m_folder = new QLineEdit;
    m_folder->setObjectName(u"Text3"_s);
    m_folder->setReadOnly(true);
    m_pickFolder = button(u"Command6"_s, u"选择文件夹"_s);
    m_pickFolder->setToolTip(folderStep1 + u'\n' + folderStep2);

    // Two fixed lines rather than word wrap, so the panel's height is known
    // before the window lays itself out.
    m_hint = new QLabel(u"提示：帐套简称建议用单位的简称（不超过5个字），全用汉字或全用字母\n"
                        "（也可汉字加字母），不要用符号；可以建立任意多个帐套。"_s);
    m_hint->setObjectName(u"Label3"_s);
    m_hint->setStyleSheet(u"color: #7a4b00;"_s);

    m_save = button(u"Command3"_s, u"保存帐套"_s);
    m_cancel = button(u"Command5"_s, u"取消"_s);

    auto *panelGrid = new QGridLayout(m_panel);
    panelGrid->setColumnStretch(1, 1);
    panelGrid->addWidget(fieldLabel(u"帐套简称"_s, m_shortName), 0, 0);
    panelGrid->addWidget(m_shortName, 0, 1);
    panelGrid->addWidget(fieldLabel(u"帐套年度"_s, m_year), 1, 0);
    panelGrid->addWidget(m_year, 1, 1, Qt::AlignLeft);
    panelGrid->addWidget(fieldLabel(u"路径"_s, m_folder), 2, 0);
    panelGrid->addWidget(m_folder, 2, 1);
    panelGrid->addWidget(m_pickFolder, 2, 2);
    panelGrid->addWidget(m_hint, 3, 0, 1, 3);
    auto *panelActions = new QHBoxLayout;
    panelActions->addStretch();
    panelActions->addWidget(m_save);
    panelActions->addWidget(m_cancel);
    panelGrid->addLayout(panelActions, 4, 0, 1, 3);
    m_panel->hide();

    auto *top = new QVBoxLayout(this);
    top->addLayout(fields);
    top->addLayout(actions);
    top->addWidget(m_panel);
    top->addStretch();

    connect(m_chooseSet, &QPushButton::clicked, this, [this] { chooseSet(m_chooseSetFile()); });
    connect(m_login, &QPushButton::clicked, this, &LoginWindow::logIn);
    connect(m_password, &QLineEdit::returnPressed, this, [this] {
        if (!m_password->text().isEmpty())
            logIn();
    });
    connect(m_passphrase, &QLineEdit::returnPressed, this, [this] {
        if (!m_passphrase->text().isEmpty())
            unlockSet();
    });
    // After a wrong password 登陆 (and Enter) wait a while before the next try.
    m_delay = new QTimer(this);
    m_delay->setObjectName(u"loginDelay"_s);
    m_delay->setSingleShot(true);
    connect(m_delay, &QTimer::timeout, this, [this] { m_login->setEnabled(true); });
    connect(m_quit, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_monthEnd, &QPushButton::clicked, this, [this] {
        if (m_openMonthEnd)
            m_openMonthEnd(this);
    });
    connect(m_newSet, &QPushButton::clicked, this, &LoginWindow::showNewSetPanel);
    connect(m_pickFolder, &QPushButton::clicked, this, &LoginWindow::chooseFolder);
    connect(m_save, &QPushButton::clicked, this, &LoginWindow::saveNewSet);
    connect(m_cancel, &QPushButton::clicked, this, &LoginWindow::hideNewSetPanel);
}

void LoginWindow::preselect(const QString &path)
{
    chooseSet(path);
}

bool LoginWindow::event(QEvent *event)
{
    // Whenever the window comes to the front without a chosen set, point the
    // operator at 选择帐套. While the new-set panel is open the focus stays
    // where the operator is typing (a message box closing activates the
    // window again).
    if (event->type() == QEvent::WindowActivate && chosenSetPath().isEmpty()) {
        m_path->setText(setHint);
        if (!m_panel->isVisible())
            m_path->setFocus(Qt::ActiveWindowFocusReason);
    }
    return QDialog::event(event);
}

QString LoginWindow::chosenSetPath() const
{
    const QString text = m_path->text();
    return text == setHint ? QString() : text;
}

void LoginWindow::setMonthEndOpener(WindowOpener opener)
{
    m_openMonthEnd = std::move(opener);
    m_monthEnd->setVisible(bool(m_openMonthEnd));
}

void LoginWindow::chooseSet(const QString &path)
{
    if (path.isEmpty()) { // cancelled: nothing chosen, the operator list stays
        m_path->clear();
        return;
    }
    m_path->setText(path);
    m_operator->clear();
    m_passphraseLabel->hide();
    m_passphrase->hide();
    m_passphrase->clear();
    m_passphrase->setEnabled(true);
    // A set under its own passphrase opens once the passphrase is typed.
    if (needsSetPassphrase(path)) {
        askForPassphrase();
        return;
    }
    QStringList operators;
    // A file that is no account set has been reported by the core; nothing
    // of it may stay in the window.
    if (!ChooseAccountSet(m_session, path, operators, *m_dialogs).isDone()) {
        m_path->clear();
        m_operator->clear();
        m_operator->clearEditText();
        if (m_failedSet)
            m_failedSet(path, *m_dialogs);
        return;
    }
    m_operator->addItems(operators);
    m_password->setFocus(Qt::OtherFocusReason);
}

namespace {

// Passes every message on after hiding a status label, so "数据库连接中"
// is gone by the time the check's answer is read.
class HidingDialogs : public Dialogs
{
public:
    HidingDialogs(Dialogs &inner, QWidget *label) : m_inner(inner), m_label(label) {}
    void show(const QString &text, const QString &title, Icon icon) override
    {
        m_label->hide();
        m_inner.show(text, title, icon);
    }
    bool ask(const QString &text, const QString &title) override
    {
        m_label->hide();
        return m_inner.ask(text, title);
    }

private:
    Dialogs &m_inner;
    QWidget *m_label;
};

} // namespace

void LoginWindow::askForPassphrase()
{
    m_passphraseLabel->show();
    m_passphrase->show();
    m_passphrase->setFocus(Qt::OtherFocusReason);
}

bool LoginWindow::unlockSet()
{
    const QString path = chosenSetPath();
    const QString problem = unlockAccountSet(path, m_passphrase->text());
    if (!problem.isEmpty()) {
        m_dialogs->show(problem, u"TZ305提示"_s, Icon::Critical);
        m_passphrase->selectAll();
        m_passphrase->setFocus(Qt::OtherFocusReason);
        return false;
    }
    QStringList operators;
    if (!ChooseAccountSet(m_session, path, operators, *m_dialogs).isDone())
        return false;
    m_passphrase->setEnabled(false);
    m_operator->addItems(operators);
    m_password->setFocus(Qt::OtherFocusReason);
    return true;
}

void LoginWindow::waitAfterWrongPassword()
{
    ++m_failures;
    m_login->setEnabled(false);
    m_delay->start(loginDelaySeconds(m_failures) * 1000);
}

void LoginWindow::logIn()
{
    if (!m_login->isEnabled())
        return; // still waiting after a wrong password
    if (m_passphrase->isVisible() && m_passphrase->isEnabled() && !unlockSet())
        return;
    m_connecting->show();
    m_connecting->repaint();
    HidingDialogs dialogs(*m_dialogs, m_connecting);
    bool wrongPassword = false;
    const OpResult result = CheckLogin(m_session, chosenSetPath(), m_operator->currentText(), m_password->text(),
                                       dialogs, &wrongPassword);
    m_connecting->hide();
    if (result.isDone()) {
        m_failures = 0;
        accept();
        return;
    }
    if (wrongPassword)
        waitAfterWrongPassword();
    m_password->setFocus(Qt::OtherFocusReason);
    m_password->selectAll();
}

void LoginWindow::showNewSetPanel()
{
    m_panel->show();
    m_folder->setText(folderHint);
    m_folder->setFocus(Qt::OtherFocusReason);
}

void LoginWindow::hideNewSetPanel()
{
    m_panel->hide();
    // Give back the height the panel took, keeping the operator's width.
    layout()->activate();
    resize(width(), sizeHint().height());
}

void LoginWindow::chooseFolder()
{
    const QString folder = m_chooseFolder();
    if (!folder.isEmpty())
        m_folder->setText(folder);
}

void LoginWindow::saveNewSet()
{
    const QString folder = m_folder->text() == folderHint ? QString() : m_folder->text();
    // The new set is not chosen: the operator picks it with 选择帐套.
    if (CreateAccountSet(m_shortName->text(), m_year->cleanText(), folder, *m_dialogs).isDone())
        hideNewSetPanel();
}

QString LoginWindow::askForSetFile()
{
    const QString current = chosenSetPath();
    const QString start = current.isEmpty() ? QString() : QFileInfo(current).absolutePath();
    return QFileDialog::getOpenFileName(this, u"选择帐套"_s, start, u"TZ Files (*.Y*)"_s);
}

QString LoginWindow::askForFolder()
{
    QFileDialog dialog(this, folderStep1 + u' ' + folderStep2);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    // The prompt's last step names this button.
    dialog.setLabelText(QFileDialog::Accept, u"确定"_s);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return QDir::cleanPath(dialog.selectedFiles().constFirst());
}

} // namespace tz
