// The settings window: what it shows on opening, and how each save changes
// its fields, the account set and, through its signals, the main window.
#include <functional>
#include <memory>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

#include "maintenance/settings.h"
#include "maintenance/ui/settingswindow.h"
#include "shell/ui/application.h"
#include "shell/ui/mainwindow.h"
#include "shell/version.h"
#include "store/login.h"
#include "store/session.h"
#include "tests/support/scripteddialogs.h"
#include "tests/support/testset.h"
#include "tests/support/uitest.h"

using namespace Qt::Literals::StringLiterals;
using tz::Icon;
using tz::test::Message;
using tz::test::child;
using tz::test::saveScreenshot;
using tz::test::type;

namespace {

QLineEdit *edit(QWidget *window, const QString &name)
{
    return child<QLineEdit>(window, name);
}

void press(QWidget *window, const QString &button)
{
    QTest::mouseClick(child<QPushButton>(window, button), Qt::LeftButton);
}

QString infoValue(tz::Session &s, const QString &column)
{
    return s.RunSql(u"SELECT "_s + column + u" FROM 信息表 WHERE 代号 = 'TZ'"_s).value(0, 0).toString();
}

// A logged-in main window over a fresh set, with scripted dialogs.
struct Harness
{
    explicit Harness(QList<bool> answers = {})
        : dialogs(std::move(answers))
    {
        tz::Session &s = set.session();
        s.execSql(u"UPDATE 信息表 SET 帐套名称 = '华新', 备份路径 = '/srv/备份' WHERE 代号 = 'TZ'"_s);
        s.setCompanyName(u"华新"_s);
        main = std::make_unique<tz::MainWindow>(s, dialogs);
        main->show();
    }

    // Opens the settings window from the 系统设置 button, runs `body` on it
    // while it is up, and closes it with 关 闭.
    void withSettings(const std::function<void(tz::SettingsWindow *)> &body)
    {
        bool opened = false;
        QTimer poll;
        poll.setInterval(20);
        QObject::connect(&poll, &QTimer::timeout, &poll, [&] {
            auto *window = qobject_cast<tz::SettingsWindow *>(QApplication::activeModalWidget());
            if (!window)
                return;
            poll.stop();
            opened = true;
            body(window);
            press(window, u"Command7"_s);
        });
        poll.start();
        QTest::mouseClick(main->findChild<QToolButton *>(u"系统设置"_s), Qt::LeftButton);
        QVERIFY(opened);
        QVERIFY(!QApplication::activeModalWidget());
    }

    tz::test::TestSet set;
    tz::test::ScriptedDialogs dialogs;
    std::unique_ptr<tz::MainWindow> main;
};

} // namespace

class SettingsWindowTest : public QObject
{
    Q_OBJECT

private slots:
    void fieldsAreFilledOnOpening()
    {
        Harness h;
        h.withSettings([](tz::SettingsWindow *w) {
            QCOMPARE(w->windowTitle(), u"信息设置"_s);
            QCOMPARE(edit(w, u"Text1"_s)->text(), u"华新"_s);
            QCOMPARE(edit(w, u"Text2"_s)->text(), u"主管"_s);
            QCOMPARE(edit(w, u"Text4"_s)->text(), u"888"_s);
            QCOMPARE(edit(w, u"Text7"_s)->text(), u"/srv/备份"_s);
            for (const QString &name : {u"Text2"_s, u"Text4"_s, u"Text7"_s})
                QVERIFY(edit(w, name)->isReadOnly());
            for (const QString &name : {u"Text4"_s, u"Text5"_s, u"Text6"_s})
                QCOMPARE(edit(w, name)->echoMode(), QLineEdit::Password);
            for (const QString &name : {u"Command3"_s, u"Command5"_s, u"Command8"_s, u"Command10"_s,
                                        u"Command11"_s, u"Command12"_s})
                QVERIFY(child<QPushButton>(w, name)->isEnabled());
            QCOMPARE(child<QPushButton>(w, u"Command5"_s)->toolTip(), u"压缩和修复数据库"_s);
        });
        QVERIFY(h.dialogs.messages.isEmpty());
    }

    void companySaveRenamesTheMainCaption()
    {
        Harness h;
        h.withSettings([&h](tz::SettingsWindow *w) {
            edit(w, u"Text1"_s)->clear();
            press(w, u"Command2"_s);
            QCOMPARE(h.dialogs.messages, QList<Message>({{u"请输入单位全称"_s, u"TZ305"_s, Icon::Exclamation}}));
            QCOMPARE(h.main->windowTitle(), tz::mainCaption(u"华新"_s));

            type(edit(w, u"Text1"_s), u"青松商贸有限公司"_s);
            press(w, u"Command2"_s);
            QCOMPARE(h.dialogs.messages.last(),
                     Message({u"保存成功!\n\n单位名只在凭证和帐页上出现"_s, u"TZ305提示"_s, Icon::None}));
        });
        QCOMPARE(h.main->windowTitle(), u"TZ305(青松版)Y0.1-青松商贸有限公司"_s);
        QCOMPARE(infoValue(h.set.session(), u"帐套名称"_s), u"青松商贸有限公司"_s);
    }

    void renameRefusedThenAccepted()
    {
        Harness h;
        QLabel *panel = h.main->findChild<QLabel *>(u"Panel3"_s);
        h.withSettings([&h, panel](tz::SettingsWindow *w) {
            type(edit(w, u"Text3"_s), u"会计"_s);
            press(w, u"Command4"_s);
            QCOMPARE(h.dialogs.messages,
                     QList<Message>({{u"会计   此操作员已存在"_s, u"提醒您！"_s, Icon::Critical}}));
            QVERIFY(edit(w, u"Text3"_s)->text().isEmpty());
            QCOMPARE(edit(w, u"Text2"_s)->text(), u"主管"_s);
            QCOMPARE(panel->text(), u"操作员:主管"_s);

            type(edit(w, u"Text3"_s), u"老王"_s);
            press(w, u"Command4"_s);
            QCOMPARE(h.dialogs.messages.last(), Message({u"修改成功"_s, u"提示"_s, Icon::Exclamation}));
            QCOMPARE(edit(w, u"Text2"_s)->text(), u"老王"_s);
            QVERIFY(edit(w, u"Text3"_s)->text().isEmpty());
            QCOMPARE(panel->text(), u"操作员:老王"_s);

            // The password now goes to the renamed row.
            type(edit(w, u"Text5"_s), u"9'9%"_s);
            type(edit(w, u"Text6"_s), u"9'9%"_s);
            press(w, u"Command6"_s);
            QCOMPARE(h.dialogs.messages.last(), Message({u"修改成功"_s, u"提示"_s, Icon::Information}));
            QCOMPARE(edit(w, u"Text4"_s)->text(), u"9'9%"_s);
            QVERIFY(edit(w, u"Text5"_s)->text().isEmpty());
            QVERIFY(edit(w, u"Text6"_s)->text().isEmpty());
        });
        QVERIFY(tz::login(h.set.session(), u"老王"_s, u"9'9%"_s));
        QCOMPARE(h.set.session().operatorName(), u"老王"_s);
    }

    void passwordMismatchEmptiesBothFields()
    {
        Harness h;
        h.withSettings([&h](tz::SettingsWindow *w) {
            type(edit(w, u"Text5"_s), u"123"_s);
            press(w, u"Command6"_s);
            QCOMPARE(h.dialogs.messages, QList<Message>({{u"请输入密码！"_s, u"提醒您！"_s, Icon::Exclamation}}));
            QCOMPARE(edit(w, u"Text5"_s)->text(), u"123"_s); // a blank entry empties nothing

            type(edit(w, u"Text6"_s), u"124"_s);
            press(w, u"Command6"_s);
            QCOMPARE(h.dialogs.messages.last(), Message({u"两次密码输入不一致"_s, u"提醒您！"_s, Icon::Exclamation}));
            QVERIFY(edit(w, u"Text5"_s)->text().isEmpty());
            QVERIFY(edit(w, u"Text6"_s)->text().isEmpty());
            QCOMPARE(edit(w, u"Text4"_s)->text(), u"888"_s);
        });
        QVERIFY(tz::login(h.set.session(), u"主管"_s, u"888"_s));
    }

    void backupFolderYesStoresNoEmptiesTheField()
    {
        Harness h({false, true});
        const QString folder = h.set.folder() + u"/备份"_s;
        h.withSettings([&](tz::SettingsWindow *w) {
            QString chosen;
            w->setFolderChooser([&chosen] { return chosen; });
            press(w, u"Command9"_s); // cancelled: nothing asked
            QVERIFY(h.dialogs.questions.isEmpty());
            QCOMPARE(edit(w, u"Text7"_s)->text(), u"/srv/备份"_s);

            chosen = folder;
            press(w, u"Command9"_s); // No
            QCOMPARE(h.dialogs.questions.size(), 1);
            QVERIFY(edit(w, u"Text7"_s)->text().isEmpty());
            QCOMPARE(infoValue(h.set.session(), u"备份路径"_s), u"/srv/备份"_s);

            press(w, u"Command9"_s); // Yes
            QCOMPARE(h.dialogs.messages, QList<Message>({{u"已修改成功"_s, u""_s, Icon::None}}));
            QCOMPARE(edit(w, u"Text7"_s)->text(), folder);
        });
        QCOMPARE(infoValue(h.set.session(), u"备份路径"_s), folder);
        h.withSettings([&](tz::SettingsWindow *w) { QCOMPARE(edit(w, u"Text7"_s)->text(), folder); });
    }

    void helpLabelShowsTheNotes()
    {
        Harness h;
        h.withSettings([&h](tz::SettingsWindow *w) {
            QTest::mouseClick(child<QLabel>(w, u"Label1"_s), Qt::LeftButton);
            QCOMPARE(h.dialogs.messages, QList<Message>({{tz::settingsHelpText(), u"TZ305"_s, Icon::None}}));
        });
    }

    void screenshot()
    {
        Harness h;
        tz::SettingsWindow window(h.set.session(), h.dialogs, h.main.get());
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QApplication::processEvents();
        const QSize hint = window.sizeHint();
        QVERIFY(window.width() >= hint.width() && window.height() >= hint.height());
        saveScreenshot(&window, u"settingswindow.png"_s);
    }
};

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    tz::setUpApplication(app);
    SettingsWindowTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "settingswindow_test.moc"
