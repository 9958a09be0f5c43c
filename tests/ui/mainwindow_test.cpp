// The main window: the marker fields, the closed-month boxes, the scrolling
// version line, the preview-marker guard, leaving the program and the close
// box, and starting without the background picture; closing its working
// windows from the keyboard. Its settings window: what each save changes in
// its fields and, through its signals, in the main window, and the focus
// after the window closes itself.
#include <functional>
#include <memory>

#include <QApplication>
#include <QAbstractItemView>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

#include "maintenance/settings.h"
#include "maintenance/ui/settingswindow.h"
#include "shell/ui/application.h"
#include "shell/ui/mainwindow.h"
#include "shell/version.h"
#include "store/login.h"
#include "store/paths.h"
#include "store/session.h"
#include "tests/support/envguard.h"
#include "tests/support/scripteddialogs.h"
#include "tests/support/testset.h"
#include "tests/support/uitest.h"

using namespace Qt::Literals::StringLiterals;
using tz::Icon;
using tz::test::Message;
using tz::test::runModal;
using tz::test::child;
using tz::test::press;
using tz::test::saveScreenshot;
using tz::test::type;

namespace {

const QStringList workTables = {u"分录始表"_s, u"三总式"_s, u"三栏帐页"_s, u"多栏式1"_s, u"数量式"_s};
const Message previewWarning{u"点右上角关闭预览↗"_s, u"TZ305提示"_s, Icon::Exclamation};

QLineEdit *edit(QWidget *window, const QString &name)
{
    return child<QLineEdit>(window, name);
}

QString infoValue(tz::Session &s, const QString &column)
{
    return s.RunSql(u"SELECT "_s + column + u" FROM 信息表 WHERE 代号 = 'TZ'"_s).value(0, 0).toString();
}

// A logged-in session on a fresh set of 华新 and a main window over it whose
// questions are answered from `answers`.
struct Harness
{
    explicit Harness(QList<bool> answers = {})
        : dialogs(std::move(answers))
    {
        set.session().execSql(u"UPDATE 信息表 SET 帐套名称 = '华新', 备份路径 = '/srv/备份' WHERE 代号 = 'TZ'"_s);
        set.session().setCompanyName(u"华新"_s);
        window = std::make_unique<tz::MainWindow>(set.session(), dialogs);
    }

    // Opens the settings window from the 系统设置 button, runs `body` on it
    // while it is up, and closes it with 关 闭 unless `body` closed it.
    void withSettings(const std::function<void(tz::SettingsWindow *)> &body)
    {
        window->show();
        bool opened = false;
        QTimer poll;
        poll.setInterval(20);
        QObject::connect(&poll, &QTimer::timeout, &poll, [&] {
            auto *settings = qobject_cast<tz::SettingsWindow *>(QApplication::activeModalWidget());
            if (!settings)
                return;
            poll.stop();
            opened = true;
            body(settings);
            if (settings->isVisible())
                press(settings, u"Command7"_s);
        });
        poll.start();
        click(u"系统设置"_s);
        QVERIFY(opened);
        QVERIFY(!QApplication::activeModalWidget());
    }

    template<typename T>
    T *find(const QString &name)
    {
        return tz::test::child<T>(window.get(), name);
    }

    QLineEdit *edit(const QString &name) { return find<QLineEdit>(name); }
    QAction *action(const QString &name) { return find<QAction>(name); }
    void click(const QString &button) { QTest::mouseClick(find<QToolButton>(button), Qt::LeftButton); }

    QMdiSubWindow *openWorkingWindow()
    {
        auto *child = new QWidget;
        child->setWindowTitle(u"综合查询"_s);
        QMdiSubWindow *sub = window->mdiArea()->addSubWindow(child);
        sub->show();
        return sub;
    }

    int count(const QString &table)
    {
        return set.session().RunSql(u"SELECT count(*) FROM "_s + table).value(0, 0).toInt();
    }

    void fillWorkTables()
    {
        tz::Session &s = set.session();
        s.execSql(u"INSERT INTO 分录始表 (ID, 月, 科目代码) VALUES (3001, 3, '1001')"_s);
        for (const QString &table : {u"三总式"_s, u"三栏帐页"_s, u"多栏式1"_s, u"数量式"_s})
            s.execSql(u"INSERT INTO "_s + table + u" (ID) VALUES ('1')"_s);
    }

    tz::test::TestSet set;
    tz::test::ScriptedDialogs dialogs;
    std::unique_ptr<tz::MainWindow> window;
};

} // namespace

class MainWindowTest : public QObject
{
    Q_OBJECT

private slots:
    void markersMonthBoxesVersionLineAndScreenshots()
    {
        Harness h;
        QCOMPARE(h.window->windowTitle(), u"TZ305(青松版)Y0.1-华新"_s);
        for (int n : {1, 14, 23}) {
            QLineEdit *marker = h.edit(u"Text"_s + QString::number(n));
            QVERIFY(marker->isHidden());
            QCOMPARE(h.window->markerField(n), marker);
        }
        QVERIFY(!h.window->markerField(13));

        // Text2..Text13 show the closed months once refreshed.
        const auto shown = [&h] {
            QList<int> months;
            for (int m = 1; m <= 12; ++m) {
                if (!h.edit(u"Text"_s + QString::number(m + 1))->isHidden())
                    months << m;
            }
            return months;
        };
        QCOMPARE(shown(), QList<int>());
        h.set.session().execSql(
            u"INSERT INTO 分录表 (ID, 月, 科目代码, 结帐) VALUES (3001, 3, '1001', 1), (5001, 5, '1001', 0)"_s);
        QCOMPARE(shown(), QList<int>()); // until refreshed
        h.window->refreshClosedMonthMarkers();
        QCOMPARE(shown(), QList<int>({3}));
        QVERIFY(h.dialogs.messages.isEmpty()); // the picture loaded

        h.window->resize(1024, 700);
        h.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(h.window.get()));

        // The version line scrolls, a character a tick, until double-clicked.
        auto *panel = h.find<QLabel>(u"Panel4"_s);
        QVERIFY(h.window->isVersionScrolling());
        const QString start = panel->text();
        h.window->scrollVersionLine();
        QCOMPARE(panel->text(), start.mid(1) + start.left(1));
        // The timer ticks by itself; under load ticks may come late.
        const QString before = panel->text();
        QTRY_VERIFY_WITH_TIMEOUT(panel->text() != before, 10000);
        QTest::mouseDClick(panel, Qt::LeftButton);
        QVERIFY(!h.window->isVersionScrolling());
        QTest::qWait(500);
        QCOMPARE(panel->text(), tz::versionLine());

        // The pictures: the main window with a closed month, and the settings window.
        QApplication::processEvents();
        saveScreenshot(h.window.get(), u"mainwindow.png"_s);
    }

    void openPreviewBlocksSettingsAndIsNamedOnCloseWindows()
    {
        Harness h;
        h.window->show();
        h.window->markerField(15)->setText(u"1"_s);

        QMdiSubWindow *sub = h.openWorkingWindow();
        h.click(u"关闭窗口"_s);
        QVERIFY(sub->isHidden()); // working windows are closed first
        QCOMPARE(h.dialogs.messages, QList<Message>({previewWarning}));
        QCOMPARE(runModal([&] { h.click(u"系统设置"_s); }, {}, 100), QString());
        QCOMPARE(h.dialogs.messages.size(), 2);

        // Without a preview 系统设置 and 初设 open the settings window.
        h.window->clearPreviewMarkers();
        QCOMPARE(runModal([&] { h.click(u"系统设置"_s); }, {}, 100), u"tz::SettingsWindow"_s);
        QCOMPARE(runModal([&] { h.action(u"初设"_s)->trigger(); }, {}, 100), u"tz::SettingsWindow"_s);
        QCOMPARE(h.dialogs.messages.size(), 2);
    }

    // 关闭 and the close box wait for the working windows; only 关闭, after
    // Yes, empties the work tables (and nothing else) and clears the markers.
    void leavingWaitsForWorkingWindows()
    {
        Harness h({false, true});
        h.fillWorkTables();
        const int accounts = h.count(u"科目表"_s);
        h.window->show();
        h.window->markerField(14)->setText(u"1"_s);
        QMdiSubWindow *sub = h.openWorkingWindow();
        QVERIFY(!h.window->close());
        h.action(u"关闭"_s)->trigger();
        QCOMPARE(h.dialogs.messages, QList<Message>({{u"请先关闭子窗口"_s, u"TZ305提示"_s, Icon::None}}));
        QVERIFY(h.dialogs.questions.isEmpty());
        QVERIFY(h.window->isVisible());

        sub->close();
        QVERIFY(h.window->close());
        h.window->show();
        h.action(u"关闭"_s)->trigger(); // answered No
        QVERIFY(h.window->isVisible());
        for (const QString &table : workTables)
            QCOMPARE(h.count(table), 1);

        h.action(u"关闭"_s)->trigger();
        const Message leave{u"是否退出系统?"_s, u"TZ305提示"_s, Icon::Question};
        QCOMPARE(h.dialogs.questions, QList<Message>({leave, leave}));
        for (const QString &table : workTables)
            QCOMPARE(h.count(table), 0);
        QCOMPARE(h.count(u"科目表"_s), accounts);
        QVERIFY(!h.window->isPreviewOpen());
        QVERIFY(!h.window->isVisible());
    }

    void startsWithoutItsPicture()
    {
        tz::test::TestSet set;
        QTemporaryDir empty;
        tz::test::EnvGuard program("TZ305_PROGRAM_DIR", QFile::encodeName(empty.path()));
        tz::test::ScriptedDialogs dialogs;
        tz::MainWindow window(set.session(), dialogs);
        QCOMPARE(dialogs.messages.size(), 1);
        QVERIFY(dialogs.messages.first().text.endsWith(u"/TZ_QSB/TZ305.li"_s));
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.findChild<QAction *>(u"关于"_s)->trigger(); // and keeps working
        QCOMPARE(dialogs.messages.last(), Message({tz::aboutText(), u"TZ305"_s, Icon::None}));
    }

    // Each save reaches the main window: the company name its caption, the
    // operator's new name its panel; the password then goes to the renamed row
    // (原密码 shows a fixed mask).
    void settingsSavesReachTheMainWindow()
    {
        Harness h;
        QLabel *panel = h.window->findChild<QLabel *>(u"Panel3"_s);
        QCOMPARE(panel->text(), u"操作员:主管"_s);
        h.withSettings([&h, panel](tz::SettingsWindow *w) {
            QCOMPARE(edit(w, u"Text1"_s)->text(), u"华新"_s);
            type(edit(w, u"Text1"_s), u"青松商贸有限公司"_s);
            press(w, u"Command2"_s);

            type(edit(w, u"Text3"_s), u"老王"_s);
            press(w, u"Command4"_s);
            QCOMPARE(edit(w, u"Text2"_s)->text(), u"老王"_s);
            QVERIFY(edit(w, u"Text3"_s)->text().isEmpty());
            QCOMPARE(panel->text(), u"操作员:老王"_s);

            type(edit(w, u"Text5"_s), u"9'9%"_s);
            type(edit(w, u"Text6"_s), u"9'9%"_s);
            press(w, u"Command6"_s);
            QCOMPARE(edit(w, u"Text4"_s)->text(), u"******"_s); // never the password itself
            QVERIFY(edit(w, u"Text5"_s)->text().isEmpty());
            QCOMPARE(h.dialogs.messages.size(), 3);
        });
        QCOMPARE(h.window->windowTitle(), u"TZ305(青松版)Y0.1-青松商贸有限公司"_s);
        QVERIFY(tz::login(h.set.session(), u"老王"_s, u"9'9%"_s));
    }

    // Working windows close from the keyboard: Esc, Ctrl+F4 and Ctrl+W,
    // once what has the focus leaves the key unused (Esc first closes an
    // open drop-down list).
    void workingWindowsCloseFromTheKeyboard()
    {
        Harness h;
        h.window->resize(1366, 768);
        h.window->show();
        QVERIFY(QTest::qWaitForWindowActive(h.window.get()));
        const auto closesOn = [&h](const QString &button, Qt::Key key, Qt::KeyboardModifiers modifiers) {
            h.click(button);
            QMdiSubWindow *sub = h.window->mdiArea()->activeSubWindow();
            QVERIFY(sub && sub->isVisible());
            if (auto *combo = sub->findChild<QComboBox *>()) {
                combo->setFocus();
                combo->showPopup();
                QTest::keyClick(combo->view(), Qt::Key_Escape);
                QTRY_VERIFY(!combo->view()->isVisible());
                QVERIFY(sub->isVisible());
            }
            QWidget *focus = QApplication::focusWidget();
            QVERIFY(focus && sub->isAncestorOf(focus));
            QTest::keyClick(focus, key, modifiers);
            QTRY_VERIFY(!h.window->hasOpenSubWindows());
        };
        closesOn(u"综合查询"_s, Qt::Key_Escape, {});
        closesOn(u"报表查看"_s, Qt::Key_F4, Qt::ControlModifier);
        closesOn(u"凭证打印"_s, Qt::Key_W, Qt::ControlModifier);
    }

    // 数据备份 and 系统初始化 close the settings window; the main window has
    // the focus again.
    void focusReturnsAfterBackupAndInitialising()
    {
        Harness h({true, true, true, true});
        h.set.session().execSql(u"UPDATE 信息表 SET 备份路径 = ? WHERE 代号 = 'TZ'"_s, {h.set.folder() + u"/备份"_s});
        h.window->resize(1366, 768);
        for (const QString &button : {u"Command8"_s, u"Command11"_s}) {
            h.withSettings([&button](tz::SettingsWindow *w) {
                auto *pressed = child<QPushButton>(w, button);
                pressed->setFocus();
                QTest::keyClick(pressed, Qt::Key_Space);
                QVERIFY(w->isHidden());
            });
            QTRY_COMPARE(QApplication::activeWindow(), h.window.get());
            QVERIFY(QApplication::focusWidget() && h.window->isAncestorOf(QApplication::focusWidget()));
        }
        QCOMPARE(h.dialogs.messages.last(), Message({u"初始化完成"_s, u"TZ305提示"_s, Icon::Exclamation}));
    }

    void backupFolderYesStoresNoEmptiesTheField()
    {
        Harness h({false, true});
        const QString folder = h.set.folder() + u"/备份"_s;
        h.withSettings([&](tz::SettingsWindow *w) {
            w->setFolderChooser([&folder] { return folder; });
            press(w, u"Command9"_s); // No
            QVERIFY(edit(w, u"Text7"_s)->text().isEmpty());
            QCOMPARE(infoValue(h.set.session(), u"备份路径"_s), u"/srv/备份"_s);

            press(w, u"Command9"_s); // Yes
            QCOMPARE(edit(w, u"Text7"_s)->text(), folder);
        });
        QCOMPARE(infoValue(h.set.session(), u"备份路径"_s), folder);
    }

    // The month boxes follow the books: after 系统初始化 no month is closed.
    void monthBoxesFollowInitialising()
    {
        Harness h(QList<bool>(5, true));
        const QString backups = h.set.folder() + u"/初始化前"_s;
        QVERIFY(QDir().mkpath(backups));
        h.set.session().execSql(u"UPDATE 信息表 SET 备份路径 = ? WHERE 代号 = 'TZ'"_s, {backups});
        h.set.session().execSql(u"INSERT INTO 分录表 (ID, 月, 科目代码, 结帐) VALUES (8010001001, 1, '1001', 1), "
                                "(8110001001, 11, '1001', 1)"_s);
        h.window->refreshClosedMonthMarkers();
        QVERIFY(!h.edit(u"Text2"_s)->isHidden() && !h.edit(u"Text12"_s)->isHidden());
        h.withSettings([](tz::SettingsWindow *w) {
            auto *initialise = child<QPushButton>(w, u"Command11"_s);
            initialise->setFocus();
            QTest::keyClick(initialise, Qt::Key_Space);
        });
        QCOMPARE(h.count(u"分录表"_s), 0);
        for (int m = 1; m <= 12; ++m)
            QVERIFY2(h.edit(u"Text"_s + QString::number(m + 1))->isHidden(), qPrintable(QString::number(m)));
    }

    // Qt appends an application display name to every window title, message
    // boxes included ("TZ305提示 — TZ305"); the titles are the books' own
    // texts, so the program sets none (unset, it reads as the name).
    void titlesAreTheBooksOwnTexts()
    {
        QCOMPARE(QGuiApplication::applicationDisplayName(), QGuiApplication::applicationName());
    }
};

TZ305_WINDOW_TEST_MAIN(MainWindowTest)

#include "mainwindow_test.moc"
