// The login window: choosing a set, logging in, the new-set panel, and the
// keyboard and activation behaviour around them.
#include <functional>

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include "maintenance/compact.h"
#include "shell/ui/application.h"
#include "store/connection.h"
#include "store/session.h"
#include "store/setexport.h"
#include "store/ui/loginwindow.h"
#include "tests/support/scripteddialogs.h"
#include "tests/support/testset.h"
#include "tests/support/uitest.h"

using namespace Qt::Literals::StringLiterals;
using tz::Icon;
using Message = tz::ShownMessage;

namespace {

const QString setHint = u"请点右边选择帐套---------->>>"_s;
const QString folderHint = u"请点右边选择存放帐套的文件夹--->>>"_s;

// Records what the operator saw, and whether 数据库连接中 was in view when
// each message appeared.
class WatchingDialogs : public tz::test::ScriptedDialogs
{
public:
    void show(const QString &text, const QString &title, Icon icon) override
    {
        if (watch)
            seen.append(watch());
        ScriptedDialogs::show(text, title, icon);
    }

    std::function<bool()> watch;
    QList<bool> seen;
};

// A login window on its own session, whose file and folder choosers answer
// with whatever the test put into nextFile / nextFolder.
struct Harness
{
    Harness()
        : window(
              session, dialogs,
              [this] {
                  ++asked;
                  return nextFile;
              },
              [this] {
                  ++asked;
                  return nextFolder;
              })
    {
        dialogs.watch = [this] { return find<QLabel>(u"Label6"_s)->isVisible(); };
    }

    template<typename T>
    T *find(const QString &name)
    {
        return tz::test::child<T>(&window, name);
    }

    QLineEdit *edit(const QString &name) { return find<QLineEdit>(name); }
    QComboBox *operators() { return find<QComboBox>(u"Combo1"_s); }
    QGroupBox *panel() { return find<QGroupBox>(u"Frame1"_s); }

    void click(const QString &buttonName) { QTest::mouseClick(find<QPushButton>(buttonName), Qt::LeftButton); }

    bool showActive()
    {
        window.show();
        return QTest::qWaitForWindowActive(&window);
    }

    void choose(const QString &path)
    {
        nextFile = path;
        click(u"Command7"_s);
    }

    tz::Session session;
    WatchingDialogs dialogs;
    QString nextFile;
    QString nextFolder;
    int asked = 0; // file and folder dialogs opened
    tz::LoginWindow window;
};

// Types text the way an input method commits it (Chinese cannot go through key clicks).
void commit(QWidget *widget, const QString &text)
{
    widget->setFocus();
    tz::test::commitText(widget, text);
}

} // namespace

class LoginWindowTest : public QObject
{
    Q_OBJECT

private slots:
    // Activation points at the set chooser; a chosen set lists its
    // operators, a file that is no set clears them.
    void activationAndChoosingASet()
    {
        tz::test::TestSet set;
        const QString junk = set.folder() + u"/垃圾.Y24"_s;
        {
            QFile file(junk);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("plain text, not a database");
        }
        Harness h;
        auto *year = h.find<QSpinBox>(u"Text5"_s);
        QCOMPARE(year->minimum(), 2015);
        QCOMPARE(year->maximum(), 2099);
        QCOMPARE(h.edit(u"Text1"_s)->echoMode(), QLineEdit::Password);

        QVERIFY(h.showActive());
        QVERIFY(!h.panel()->isVisible());
        QVERIFY(!h.find<QLabel>(u"Label6"_s)->isVisible());
        QCOMPARE(h.edit(u"Text2"_s)->text(), setHint);
        QVERIFY(h.edit(u"Text2"_s)->hasFocus());

        // Cancelling the chooser empties Text2; coming back to the window shows the hint again.
        h.choose(QString());
        QCOMPARE(h.edit(u"Text2"_s)->text(), QString());
        QWidget other;
        other.show();
        other.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&other));
        h.window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&h.window));
        QCOMPARE(h.edit(u"Text2"_s)->text(), setHint);
        QVERIFY(h.edit(u"Text2"_s)->hasFocus());

        h.choose(set.path());
        h.choose(set.path()); // choosing again does not pile the operators up
        QCOMPARE(h.edit(u"Text2"_s)->text(), set.path());
        QCOMPARE(h.operators()->count(), 3);
        QCOMPARE(h.operators()->currentText(), u"主管"_s);
        QVERIFY(h.dialogs.messages.isEmpty());

        h.choose(junk);
        QCOMPARE(h.dialogs.messages.size(), 1);
        QCOMPARE(h.edit(u"Text2"_s)->text(), QString());
        QCOMPARE(h.operators()->count(), 0);
        QCOMPARE(h.session.dbPath(), QString());
    }

    // A set whose 信息表 page is damaged lists no operator, so it cannot be
    // logged in to: choosing it says so and offers to salvage it (the
    // program's own handler), and the salvaged set logs in.
    void aDamagedSetIsOfferedForSalvageWhenChosen()
    {
        tz::test::TestSet set;
        const qint64 page =
            set.session().RunSql(u"SELECT rootpage FROM sqlite_master WHERE name = '信息表'"_s).value(0, 0).toLongLong();
        set.session().CloseMainConnection();
        {
            QFile file(set.path());
            QVERIFY(file.open(QIODevice::ReadWrite));
            file.seek((page - 1) * 4096 + 200);
            file.write(QByteArray(32, '\x5a'));
        }
        Harness h;
        static_cast<tz::test::ScriptedDialogs &>(h.dialogs) = tz::test::ScriptedDialogs({true});
        h.window.setFailedSetHandler([](const QString &path, tz::Dialogs &d) { tz::OfferSalvage(path, d); });
        QVERIFY(h.showActive());
        auto *choose = h.find<QPushButton>(u"Command7"_s);
        h.nextFile = set.path();
        choose->setFocus();
        QTest::keyClick(choose, Qt::Key_Space);
        const QString salvaged = set.folder() + u"/测试修复.Y24"_s;
        QCOMPARE(h.dialogs.messages.size(), 2);
        QCOMPARE(h.dialogs.messages.value(0), tz::test::Message({tz::Connection::damagedText(set.path()),
                                                                 u"TZ305提示"_s, Icon::Critical}));
        QCOMPARE(h.dialogs.questions.value(0).text, u"帐套文件已损坏: 不能登录\n\n是否把能读出的数据抢救到新帐套文件 "_s
                                                        + salvaged + u"? 原帐套文件不会改动。"_s);
        QVERIFY(h.dialogs.messages.value(1).text.startsWith(u"已把能读出的数据抢救到新帐套: "_s + salvaged));

        h.nextFile = salvaged;
        QTest::keyClick(choose, Qt::Key_Space);
        QCOMPARE(h.operators()->currentText(), u"主管"_s);
        QTest::keyClicks(h.edit(u"Text1"_s), u"888"_s);
        QTest::keyClick(h.edit(u"Text1"_s), Qt::Key_Return);
        QCOMPARE(h.window.result(), int(QDialog::Accepted));
    }

    void refusedLoginKeepsTheWindowThenTheRightPasswordLogsIn()
    {
        tz::test::TestSet set;
        Harness h;
        QVERIFY(h.showActive());
        h.choose(set.path());
        h.operators()->setCurrentIndex(2); // 出纳
        // Enter in an empty password does nothing at all.
        QTest::keyClick(h.edit(u"Text1"_s), Qt::Key_Return);
        QVERIFY(h.dialogs.messages.isEmpty());
        QTest::keyClicks(h.edit(u"Text1"_s), u"888"_s);

        h.click(u"Command1"_s);
        QCOMPARE(h.dialogs.messages.size(), 1);
        QCOMPARE(h.dialogs.seen, QList<bool>{false}); // 数据库连接中 is gone once the answer shows
        QVERIFY(!h.find<QLabel>(u"Label6"_s)->isVisible());
        QVERIFY(h.window.isVisible());
        QCOMPARE(h.edit(u"Text2"_s)->text(), set.path());
        QCOMPARE(h.operators()->currentText(), u"出纳"_s);
        QCOMPARE(h.edit(u"Text1"_s)->text(), u"888"_s);

        // A wrong password makes 登陆 wait 1 s, the next 2 s; Enter waits too.
        auto *login = h.find<QPushButton>(u"Command1"_s);
        auto *delay = h.window.findChild<QTimer *>(u"loginDelay"_s);
        QVERIFY(delay);
        for (const int waitMs : {1000, 2000}) {
            QVERIFY(!login->isEnabled());
            QVERIFY(delay->isActive());
            QCOMPARE(delay->interval(), waitMs);
            QTest::keyClick(h.edit(u"Text1"_s), Qt::Key_Return);
            QCOMPARE(h.dialogs.messages.size(), waitMs / 1000);
            delay->start(0); // the wait ends now rather than in real time
            QTRY_VERIFY(login->isEnabled());
            if (waitMs == 1000)
                QTest::keyClick(h.edit(u"Text1"_s), Qt::Key_Return);
        }
        QCOMPARE(h.dialogs.messages.size(), 2);

        h.edit(u"Text1"_s)->clear();
        QTest::keyClicks(h.edit(u"Text1"_s), u"222"_s);
        h.click(u"Command1"_s);
        QCOMPARE(h.dialogs.messages.size(), 2);
        QCOMPARE(h.window.result(), int(QDialog::Accepted));
        QVERIFY(!h.window.isVisible());
        QCOMPARE(h.session.operatorName(), u"出纳"_s);
    }

    // A set under its own passphrase: the passphrase field appears; a wrong
    // passphrase is told as such, the right one lists the operators.
    void aSetUnderItsPassphraseAsksForIt()
    {
        tz::test::TestSet set;
        const QString locked = set.folder() + u"/加密.Y24"_s;
        tz::exportOpenSet(set.session(), locked, QByteArrayLiteral("pw-login"));
        Harness h;
        QVERIFY(h.showActive());
        QVERIFY(!h.find<QLabel>(u"Label7"_s)->isVisible());
        h.choose(locked);
        QCOMPARE(h.find<QLabel>(u"Label7"_s)->text(), u"此帐套已加密,请输入帐套密码"_s);
        QVERIFY(h.find<QLabel>(u"Label7"_s)->isVisible());
        QLineEdit *passphrase = h.edit(u"Text6"_s);
        QVERIFY(passphrase->isVisible());
        QCOMPARE(h.operators()->count(), 0);
        QVERIFY(h.dialogs.messages.isEmpty());

        QTest::keyClicks(passphrase, u"pw-wrong"_s);
        QTest::keyClick(passphrase, Qt::Key_Return);
        QCOMPARE(h.dialogs.messages, QList<Message>({{u"帐套密码不正确,无法打开: "_s + locked, u"TZ305提示"_s,
                                                      Icon::Critical}}));
        QCOMPARE(h.operators()->count(), 0);
        passphrase->clear();
        QTest::keyClicks(passphrase, u"pw-login"_s);
        QTest::keyClick(passphrase, Qt::Key_Return);
        QCOMPARE(h.operators()->currentText(), u"主管"_s);
        // Another set under another passphrase asks for its own.
        const QString other = set.folder() + u"/另一.Y24"_s;
        tz::exportOpenSet(set.session(), other, QByteArrayLiteral("pw-other"));
        h.choose(other);
        QVERIFY(passphrase->isVisible() && passphrase->isEnabled() && passphrase->text().isEmpty());
        QTest::keyClicks(passphrase, u"pw-other"_s);
        QTest::keyClick(passphrase, Qt::Key_Return);
        QCOMPARE(h.operators()->currentText(), u"主管"_s);
        QTest::keyClicks(h.edit(u"Text1"_s), u"888"_s);
        QTest::keyClick(h.edit(u"Text1"_s), Qt::Key_Return);
        QCOMPARE(h.window.result(), int(QDialog::Accepted));
        QCOMPARE(h.dialogs.messages.size(), 1);
    }

    void execReturnsHowTheWindowWasLeft()
    {
        tz::test::TestSet set;
        {
            Harness h;
            h.window.preselect(set.path()); // chosen before the window opens
            QTimer::singleShot(0, &h.window, [&h] {
                QTest::keyClicks(h.edit(u"Text1"_s), u"888"_s);
                QTest::keyClick(h.edit(u"Text1"_s), Qt::Key_Return); // Enter in the password logs in
            });
            QCOMPARE(h.window.exec(), int(QDialog::Accepted));
            QCOMPARE(h.session.operatorName(), u"主管"_s);
        }
        {
            Harness h;
            QTimer::singleShot(0, &h.window, [&h] { h.click(u"Command2"_s); });
            QCOMPARE(h.window.exec(), int(QDialog::Rejected));
        }
    }

    void newSetPanelCreatesASet()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString folder = dir.filePath(u"帐套/二〇二四"_s); // made by the creation
        Harness h;
        QVERIFY(h.showActive());
        const int heightWithoutPanel = h.window.height();

        h.click(u"Command4"_s);
        QVERIFY(h.panel()->isVisible());
        QVERIFY(h.window.height() > heightWithoutPanel);
        QCOMPARE(h.edit(u"Text3"_s)->text(), folderHint);
        QVERIFY(h.edit(u"Text3"_s)->hasFocus());

        commit(h.edit(u"Text4"_s), u"华新"_s);
        auto *year = h.find<QSpinBox>(u"Text5"_s);
        year->setFocus();
        year->selectAll();
        QTest::keyClicks(year, u"2024"_s);

        // Enter in the panel's fields presses no button.
        for (const QString &name : {u"Text2"_s, u"Text4"_s, u"Text3"_s})
            QTest::keyClick(h.edit(name), Qt::Key_Return);
        QVERIFY(h.panel()->isVisible());
        QCOMPARE(h.asked, 0);
        QVERIFY(h.dialogs.messages.isEmpty());

        // A cancelled folder dialog changes nothing; a chosen folder fills Text3.
        h.click(u"Command6"_s);
        QCOMPARE(h.edit(u"Text3"_s)->text(), folderHint);
        h.nextFolder = folder;
        h.click(u"Command6"_s);
        QCOMPARE(h.edit(u"Text3"_s)->text(), folder);

        h.click(u"Command3"_s);
        QVERIFY(QFileInfo(folder + u"/华新.Y24"_s).isFile());
        QCOMPARE(h.dialogs.messages.size(), 1);
        QVERIFY(!h.panel()->isVisible());
        QCOMPARE(h.window.height(), heightWithoutPanel);
        // The new set is not chosen by creating it.
        QCOMPARE(h.edit(u"Text2"_s)->text(), setHint);
        QCOMPARE(h.session.dbPath(), QString());
    }

    // The picture for the README: a chosen set with the new-set panel open.
    void screenshot()
    {
        tz::test::TestSet set(u"华新"_s, 2024);
        Harness h;
        h.window.preselect(set.path());
        QVERIFY(h.showActive());
        h.click(u"Command4"_s);
        commit(h.edit(u"Text4"_s), u"华新商贸"_s);
        QTest::keyClicks(h.edit(u"Text1"_s), u"888"_s);
        QApplication::processEvents();
        tz::test::saveScreenshot(&h.window, u"loginwindow.png"_s);
    }
};

TZ305_WINDOW_TEST_MAIN(LoginWindowTest)

#include "loginwindow_test.moc"
