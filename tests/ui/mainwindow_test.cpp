// The main window: its named controls, the closed-month boxes, the
// scrolling version line, the preview-marker guard, leaving the program and
// the close box, and starting without the background picture. Its settings
// window: what it shows on opening, and how each save changes its fields,
// the account set and, through its signals, the main window.
#include <algorithm>
#include <functional>
#include <memory>

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPrinterInfo>
#include <QStatusBar>
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
using tz::test::saveScreenshot;
using tz::test::type;

namespace {

const QStringList toolButtons = {u"凭证录入"_s, u"凭证打印"_s, u"综合查询"_s, u"报表查看"_s,
                                 u"科目设置"_s, u"系统设置"_s, u"关闭窗口"_s};
const QStringList workTables = {u"分录始表"_s, u"三总式"_s, u"三栏帐页"_s, u"多栏式1"_s, u"数量式"_s};
const Message previewWarning{u"点右上角关闭预览↗"_s, u"TZ305提示"_s, Icon::Exclamation};

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
    // while it is up, and closes it with 关 闭.
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
    void controlsCarryTheirNames()
    {
        Harness h;
        QCOMPARE(h.window->windowTitle(), u"TZ305(青松版)Y0.1-华新"_s);
        for (const QString &name : toolButtons)
            QCOMPARE(h.find<QToolButton>(name)->text(), name);
        for (int n = 1; n <= 24; ++n)
            QVERIFY2(h.window->findChild<QLineEdit *>(u"Text"_s + QString::number(n)), qPrintable(QString::number(n)));
        for (int n = 2; n <= 13; ++n)
            QCOMPARE(h.edit(u"Text"_s + QString::number(n))->text(), QString::number(n - 1));
        QCOMPARE(h.edit(u"Text24"_s)->text(), u"2024"_s);
        QVERIFY(h.edit(u"Text24"_s)->isReadOnly());
        for (int n : {1, 14, 23}) {
            QLineEdit *marker = h.edit(u"Text"_s + QString::number(n));
            QVERIFY(marker->isHidden());
            QCOMPARE(h.window->markerField(n), marker);
        }
        QVERIFY(!h.window->markerField(13));

        const QList<std::pair<QString, QStringList>> menus = {
            {u"系统"_s, {u"科处"_s, u"初设"_s, u"横打"_s}}, {u"凭证"_s, {u"凭录"_s, u"凭打"_s}}, {u"退出"_s, {u"关闭"_s}}};
        for (const auto &[menu, items] : menus) {
            QMenu *m = h.find<QMenu>(menu);
            for (const QString &item : items)
                QVERIFY2(m->actions().contains(h.action(item)), qPrintable(item));
        }
        for (const QString &item : {u"报查"_s, u"综查"_s, u"关于"_s})
            QVERIFY(h.action(item));
        QCOMPARE(h.find<QMenu>(u"系统"_s)->title(), u"系统设置(&F)"_s);
        QCOMPARE(h.find<QLabel>(u"Panel3"_s)->text(), u"操作员:主管"_s);

        // Windows that do not exist yet: their buttons and items do nothing.
        h.window->show();
        for (const QString &name : {u"凭证打印"_s, u"报表查看"_s})
            h.click(name);
        for (const QString &name : {u"凭打"_s, u"报查"_s})
            h.action(name)->trigger();
        QVERIFY(h.dialogs.messages.isEmpty());
        QVERIFY(h.window->mdiArea()->subWindowList().isEmpty());
    }

    void monthBoxesFollowTheJournal()
    {
        Harness h;
        const auto shown = [&h] {
            QList<int> months;
            for (int m = 1; m <= 12; ++m) {
                if (!h.edit(u"Text"_s + QString::number(m + 1))->isHidden())
                    months << m;
            }
            return months;
        };
        QCOMPARE(shown(), QList<int>());
        tz::Session &s = h.set.session();
        s.execSql(u"INSERT INTO 分录表 (ID, 月, 科目代码, 结帐) VALUES (3001, 3, '1001', 1), (5001, 5, '1001', 0)"_s);
        QCOMPARE(shown(), QList<int>()); // until refreshed
        h.window->refreshClosedMonthMarkers();
        QCOMPARE(shown(), QList<int>({3}));
        s.execSql(u"UPDATE 分录表 SET 结帐 = NULL WHERE 月 = 3"_s);
        h.window->refreshClosedMonthMarkers();
        QCOMPARE(shown(), QList<int>());
        QVERIFY(h.dialogs.messages.isEmpty());
    }

    void versionLineScrollsUntilDoubleClicked()
    {
        Harness h;
        h.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(h.window.get()));
        auto *panel = h.find<QLabel>(u"Panel4"_s);
        QCOMPARE(panel->toolTip(), u"双击停止滚动"_s);
        QVERIFY(h.window->isVersionScrolling());

        // Each tick moves the first character to the end.
        const QString start = panel->text();
        // The timer may already have ticked while the window was shown: the
        // panel holds the padded line, rotated.
        const QString padded = tz::paddedVersionLine();
        QCOMPARE(start.size(), padded.size());
        QVERIFY((padded + padded).contains(start));
        h.window->scrollVersionLine();
        QCOMPARE(panel->text(), start.mid(1) + start.left(1));

        // A 400 ms timer does the same; under load ticks may come late, so
        // wait for the first one rather than counting them.
        const auto timers = h.window->findChildren<QTimer *>();
        QVERIFY(std::any_of(timers.begin(), timers.end(),
                            [](const QTimer *t) { return t->interval() == 400 && t->isActive(); }));
        const QString before = panel->text();
        QTRY_VERIFY_WITH_TIMEOUT(panel->text() != before, 10000);
        int steps = 0;
        for (QString rotated = before; steps <= 95 && rotated != panel->text(); ++steps)
            rotated = rotated.mid(1) + rotated.left(1);
        QVERIFY2(steps >= 1 && steps < 95, qPrintable(QString::number(steps)));

        QTest::mouseDClick(panel, Qt::LeftButton);
        QVERIFY(!h.window->isVersionScrolling());
        QCOMPARE(panel->text(), tz::versionLine());
        QTest::qWait(500);
        QCOMPARE(panel->text(), tz::versionLine());
    }

    void openPreviewBlocksSettingsAndIsNamedOnCloseWindows()
    {
        Harness h;
        h.window->show();
        h.window->markerField(15)->setText(u"1"_s);

        QMdiSubWindow *sub = h.openWorkingWindow();
        h.click(u"关闭窗口"_s);
        QVERIFY(sub->isHidden()); // working windows are closed first
        QVERIFY(!h.window->hasOpenSubWindows());
        QCOMPARE(h.dialogs.messages, QList<Message>({previewWarning}));

        h.dialogs.messages.clear();
        QCOMPARE(runModal([&] { h.click(u"系统设置"_s); }, {}, 100), QString());
        QCOMPARE(runModal([&] { h.action(u"初设"_s)->trigger(); }, {}, 100), QString());
        QCOMPARE(h.dialogs.messages, QList<Message>({previewWarning, previewWarning}));

        // Without a preview 关闭窗口 is silent and 系统设置 opens the settings window.
        h.window->clearPreviewMarkers();
        h.dialogs.messages.clear();
        h.click(u"关闭窗口"_s);
        QCOMPARE(runModal([&] { h.click(u"系统设置"_s); }, {}, 100), u"tz::SettingsWindow"_s);
        QCOMPARE(runModal([&] { h.action(u"初设"_s)->trigger(); }, {}, 100), u"tz::SettingsWindow"_s);
        QVERIFY(h.dialogs.messages.isEmpty());
    }

    void leavingIsRefusedWhileAWorkingWindowIsOpen()
    {
        Harness h({true});
        h.fillWorkTables();
        h.window->show();
        h.window->markerField(14)->setText(u"1"_s);
        QMdiSubWindow *sub = h.openWorkingWindow();

        h.action(u"关闭"_s)->trigger();
        QCOMPARE(h.dialogs.messages, QList<Message>({{u"请先关闭子窗口"_s, u"TZ305提示"_s, Icon::None}}));
        QVERIFY(h.dialogs.questions.isEmpty());
        QVERIFY(h.window->isVisible());
        QCOMPARE(h.window->markerField(14)->text(), u"1"_s);
        for (const QString &table : workTables)
            QCOMPARE(h.count(table), 1);

        // Once it is closed, Yes empties the work tables and clears the markers.
        sub->close();
        h.action(u"关闭"_s)->trigger();
        QCOMPARE(h.dialogs.questions, QList<Message>({{u"是否退出系统?"_s, u"TZ305提示"_s, Icon::Question}}));
        QCOMPARE(h.dialogs.messages.size(), 1);
        for (const QString &table : workTables)
            QCOMPARE(h.count(table), 0);
        QVERIFY(!h.window->isPreviewOpen());
        QVERIFY(!h.window->isVisible());
    }

    void closeBoxWaitsForWorkingWindowsAndSkipsTheCleanUp()
    {
        Harness h({true});
        h.fillWorkTables();
        h.window->show();
        QMdiSubWindow *sub = h.openWorkingWindow();
        QVERIFY(!h.window->close());
        QVERIFY(h.window->isVisible());
        sub->close();
        QVERIFY(h.window->close());
        QVERIFY(h.dialogs.messages.isEmpty());
        QVERIFY(h.dialogs.questions.isEmpty());
        for (const QString &table : workTables)
            QCOMPARE(h.count(table), 1);
    }

    void aboutAndPaperOrientation()
    {
        Harness h;
        h.action(u"关于"_s)->trigger();
        QCOMPARE(h.dialogs.messages, QList<Message>({{tz::aboutText(), u"TZ305"_s, Icon::None}}));
        if (!QPrinterInfo::availablePrinters().isEmpty())
            QSKIP("a printer is installed; its page setup dialog would open");
        h.dialogs.messages.clear();
        h.action(u"横打"_s)->trigger();
        QCOMPARE(h.dialogs.messages,
                 QList<Message>({{u"没有安装打印机,无法设置纸张方向"_s, u"TZ305提示"_s, Icon::Exclamation}}));
    }

    void startsWithoutItsPicture()
    {
        tz::test::TestSet set;
        QTemporaryDir empty;
        tz::test::EnvGuard program("TZ305_PROGRAM_DIR", QFile::encodeName(empty.path()));
        tz::test::ScriptedDialogs dialogs;
        tz::MainWindow window(set.session(), dialogs);
        QCOMPARE(dialogs.messages,
                 QList<Message>({{u"系统初始化出错。\n找不到背景图片: "_s + empty.path() + u"/TZ_QSB/TZ305.li"_s,
                                  u"TZ305提示"_s, Icon::Exclamation}}));
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(window.findChild<QLineEdit *>(u"Text24"_s)->text(), u"2024"_s);
        window.findChild<QAction *>(u"关于"_s)->trigger(); // and keeps working
        QCOMPARE(dialogs.messages.size(), 2);
        QCOMPARE(dialogs.messages.last().text, tz::aboutText());
    }

    void fieldsAreFilledOnOpening()
    {
        Harness h;
        h.withSettings([&h](tz::SettingsWindow *w) {
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
            QVERIFY(h.dialogs.messages.isEmpty());
            // The help label shows the notes.
            QTest::mouseClick(child<QLabel>(w, u"Label1"_s), Qt::LeftButton);
            QCOMPARE(h.dialogs.messages, QList<Message>({{tz::settingsHelpText(), u"TZ305"_s, Icon::None}}));
        });
    }

    void companySaveRenamesTheMainCaption()
    {
        Harness h;
        h.withSettings([&h](tz::SettingsWindow *w) {
            edit(w, u"Text1"_s)->clear();
            press(w, u"Command2"_s);
            QCOMPARE(h.dialogs.messages, QList<Message>({{u"请输入单位全称"_s, u"TZ305"_s, Icon::Exclamation}}));
            QCOMPARE(h.window->windowTitle(), tz::mainCaption(u"华新"_s));

            type(edit(w, u"Text1"_s), u"青松商贸有限公司"_s);
            press(w, u"Command2"_s);
            QCOMPARE(h.dialogs.messages.last(),
                     Message({u"保存成功!\n\n单位名只在凭证和帐页上出现"_s, u"TZ305提示"_s, Icon::None}));
        });
        QCOMPARE(h.window->windowTitle(), u"TZ305(青松版)Y0.1-青松商贸有限公司"_s);
        QCOMPARE(infoValue(h.set.session(), u"帐套名称"_s), u"青松商贸有限公司"_s);
    }

    void renameRefusedThenAccepted()
    {
        Harness h;
        QLabel *panel = h.window->findChild<QLabel *>(u"Panel3"_s);
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

    void settingsScreenshot()
    {
        Harness h;
        tz::SettingsWindow window(h.set.session(), h.dialogs, h.window.get());
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QApplication::processEvents();
        const QSize hint = window.sizeHint();
        QVERIFY(window.width() >= hint.width() && window.height() >= hint.height());
        saveScreenshot(&window, u"settingswindow.png"_s);
    }
    void screenshot()
    {
        Harness h;
        QVERIFY(h.dialogs.messages.isEmpty()); // the picture loaded
        h.set.session().execSql(
            u"INSERT INTO 分录表 (ID, 月, 科目代码, 结帐) VALUES (1001, 1, '1001', 1), (2001, 2, '1001', 1)"_s);
        h.window->refreshClosedMonthMarkers();
        h.window->resize(1024, 700);
        h.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(h.window.get()));
        QApplication::processEvents();
        saveScreenshot(h.window.get(), u"mainwindow.png"_s);
    }
};

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    tz::setUpApplication(app);
    MainWindowTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "mainwindow_test.moc"
