// The login window: choosing a set, the login checks, the new-set panel,
// and the keyboard and activation behaviour around them.
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

#include "shell/ui/application.h"
#include "store/session.h"
#include "store/ui/loginwindow.h"
#include "tests/support/scripteddialogs.h"
#include "tests/support/testset.h"
#include "tests/support/uitest.h"

using namespace Qt::Literals::StringLiterals;
using tz::Icon;
using tz::test::Message;

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

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

} // namespace

class LoginWindowTest : public QObject
{
    Q_OBJECT

private slots:
    void controlsCaptionsAndActivation()
    {
        Harness h;
        QCOMPARE(h.window.windowTitle(), u"TZ305系统初始窗口"_s);
        const QList<std::pair<QString, QString>> buttons = {
            {u"Command7"_s, u"选择帐套"_s}, {u"Command1"_s, u"登陆"_s},     {u"Command2"_s, u"退出"_s},
            {u"Command4"_s, u"新建帐套"_s}, {u"Command6"_s, u"选择文件夹"_s}, {u"Command3"_s, u"保存帐套"_s},
            {u"Command5"_s, u"取消"_s}};
        for (const auto &[name, caption] : buttons)
            QCOMPARE(h.find<QPushButton>(name)->text(), caption);
        QVERIFY(h.edit(u"Text2"_s)->isReadOnly());
        QVERIFY(h.edit(u"Text3"_s)->isReadOnly());
        QCOMPARE(h.edit(u"Text1"_s)->echoMode(), QLineEdit::Password);
        QCOMPARE(h.edit(u"Text4"_s)->toolTip(), u"输入单位简称"_s);
        QCOMPARE(h.find<QLabel>(u"Label6"_s)->text(), u"数据库连接中... ..."_s);
        QVERIFY(h.find<QLabel>(u"Label3"_s)->text().contains(u"任意多个帐套"_s));
        QCOMPARE(h.panel()->title(), u"新帐套信息"_s);

        auto *year = h.find<QSpinBox>(u"Text5"_s);
        QCOMPARE(year->minimum(), 2015);
        QCOMPARE(year->maximum(), 2099);
        QCOMPARE(year->text(), u"2015"_s);

        // The field labels, found through the controls they name.
        QStringList labels;
        for (const QLabel *label : h.window.findChildren<QLabel *>()) {
            if (label->buddy())
                labels << label->buddy()->objectName() + u'=' + label->text();
        }
        labels.sort();
        QCOMPARE(labels, (QStringList{u"Combo1=操作员"_s, u"Text1=密  码"_s, u"Text2=帐  套"_s, u"Text3=路径"_s,
                                      u"Text4=帐套简称"_s, u"Text5=帐套年度"_s}));

        QVERIFY(h.showActive());
        QVERIFY(!h.panel()->isVisible());
        QVERIFY(!h.find<QLabel>(u"Label6"_s)->isVisible());
        QVERIFY(h.window.width() >= 520);

        // Activation points at the set chooser.
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
        QVERIFY(h.dialogs.messages.isEmpty());
    }

    void choosingASetListsItsOperators()
    {
        tz::test::TestSet set;
        Harness h;
        QVERIFY(h.showActive());
        h.choose(set.path());
        QCOMPARE(h.edit(u"Text2"_s)->text(), set.path());
        QStringList names;
        for (int i = 0; i < h.operators()->count(); ++i)
            names << h.operators()->itemText(i);
        QCOMPARE(names, (QStringList{u"主管"_s, u"会计"_s, u"出纳"_s}));
        QCOMPARE(h.operators()->currentText(), u"主管"_s);

        // Choosing again does not pile the operators up; a cancelled dialog
        // empties Text2 silently and leaves the list alone.
        h.choose(set.path());
        QCOMPARE(h.operators()->count(), 3);
        h.choose(QString());
        QCOMPARE(h.edit(u"Text2"_s)->text(), QString());
        QCOMPARE(h.operators()->count(), 3);
        QVERIFY(h.dialogs.messages.isEmpty());
    }

    void aFileThatIsNoSetLeavesNothingBehind_data()
    {
        QTest::addColumn<QByteArray>("contents"); // empty: no file at all
        QTest::addColumn<QString>("expected");    // the core's message, before the path
        QTest::newRow("text file") << QByteArray("plain text, not a database") << u"此文件不是帐套数据库: "_s;
        QTest::newRow("missing file") << QByteArray() << u"帐套文件不存在: "_s;
    }

    void aFileThatIsNoSetLeavesNothingBehind()
    {
        QFETCH(QByteArray, contents);
        QFETCH(QString, expected);
        tz::test::TestSet set;
        const QString junk = set.folder() + u"/垃圾.Y24"_s;
        if (!contents.isEmpty())
            writeFile(junk, contents);

        Harness h;
        QVERIFY(h.showActive());
        h.choose(set.path());
        QCOMPARE(h.operators()->count(), 3);
        h.choose(junk);
        QCOMPARE(h.dialogs.messages, QList<Message>{Message(expected + junk, u"TZ305提示"_s, Icon::Critical)});
        QCOMPARE(h.edit(u"Text2"_s)->text(), QString());
        QCOMPARE(h.operators()->count(), 0);
        QCOMPARE(h.operators()->currentText(), QString());
        QCOMPARE(h.session.dbPath(), QString());
    }

    void refusedLoginKeepsTheWindowAndItsValues_data()
    {
        QTest::addColumn<bool>("chooseSet");
        QTest::addColumn<QString>("operatorName");
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<int>("icon");
        const int exclamation = int(Icon::Exclamation);
        const int critical = int(Icon::Critical);
        QTest::newRow("no set") << false << u"主管"_s << u"888"_s << u"请选择帐套！"_s << exclamation;
        QTest::newRow("no operator") << true << QString() << u"888"_s << u"请输入操作员！"_s << exclamation;
        QTest::newRow("another operator's password")
            << true << u"会计"_s << u"888"_s << u"操作员或密码不正确!"_s << critical;
    }

    void refusedLoginKeepsTheWindowAndItsValues()
    {
        QFETCH(bool, chooseSet);
        QFETCH(QString, operatorName);
        QFETCH(QString, password);
        QFETCH(QString, expected);
        QFETCH(int, icon);
        tz::test::TestSet set;
        Harness h;
        QVERIFY(h.showActive());
        if (chooseSet)
            h.choose(set.path());
        QLineEdit *operatorField = h.operators()->lineEdit();
        operatorField->clear();
        if (!operatorName.isEmpty())
            commit(operatorField, operatorName);
        QTest::keyClicks(h.edit(u"Text1"_s), password);
        const QString pathShown = h.edit(u"Text2"_s)->text();

        h.click(u"Command1"_s);
        QCOMPARE(h.dialogs.messages, QList<Message>{Message(expected, u"TZ305提示"_s, Icon(icon))});
        QCOMPARE(h.dialogs.seen, QList<bool>{true}); // 数据库连接中 was in view during the check
        QVERIFY(!h.find<QLabel>(u"Label6"_s)->isVisible());
        QVERIFY(h.window.isVisible());
        QCOMPARE(h.edit(u"Text2"_s)->text(), pathShown);
        QCOMPARE(h.operators()->currentText(), operatorName);
        QCOMPARE(h.edit(u"Text1"_s)->text(), password);
        QCOMPARE(h.session.operatorName(), QString());
    }

    void rightPasswordLogsIn()
    {
        tz::test::TestSet set;
        Harness h;
        QVERIFY(h.showActive());
        h.choose(set.path());
        h.operators()->setCurrentIndex(2); // 出纳
        QTest::keyClicks(h.edit(u"Text1"_s), u"222"_s);
        h.click(u"Command1"_s);
        QVERIFY(h.dialogs.messages.isEmpty());
        QCOMPARE(h.window.result(), int(QDialog::Accepted));
        QVERIFY(!h.window.isVisible());
        QCOMPARE(h.session.dbPath(), set.path());
        QCOMPARE(h.session.operatorName(), u"出纳"_s);
    }

    void execReturnsHowTheWindowWasLeft()
    {
        tz::test::TestSet set;
        {
            Harness h;
            h.window.preselect(set.path()); // chosen before the window opens
            QTimer::singleShot(0, &h.window, [&h, &set] {
                QCOMPARE(h.edit(u"Text2"_s)->text(), set.path());
                QCOMPARE(h.operators()->count(), 3);
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
        {
            Harness h; // the close box
            QTimer::singleShot(0, &h.window, [&h] { h.window.close(); });
            QCOMPARE(h.window.exec(), int(QDialog::Rejected));
            QCOMPARE(h.session.operatorName(), QString());
        }
    }

    void enterLogsInOnlyFromAFilledPassword()
    {
        tz::test::TestSet set;
        Harness h;
        QVERIFY(h.showActive());
        h.choose(set.path());

        // An empty password: Enter does nothing at all.
        QTest::keyClick(h.edit(u"Text1"_s), Qt::Key_Return);
        QVERIFY(h.dialogs.messages.isEmpty());
        QVERIFY(h.window.isVisible());

        // Enter elsewhere presses no button (no login, no dialog, no saving),
        // even with a right password typed.
        QTest::keyClicks(h.edit(u"Text1"_s), u"888"_s);
        h.click(u"Command4"_s);
        commit(h.edit(u"Text4"_s), u"华新"_s);
        const int asked = h.asked;
        for (const QString &name : {u"Text2"_s, u"Text4"_s, u"Text3"_s}) {
            QTest::keyClick(h.edit(name), Qt::Key_Return);
            QVERIFY(h.window.isVisible());
            QVERIFY(h.panel()->isVisible());
            QCOMPARE(h.asked, asked);
            QVERIFY(h.dialogs.messages.isEmpty());
            QCOMPARE(h.edit(u"Text2"_s)->text(), set.path());
            QCOMPARE(h.session.operatorName(), QString());
        }
    }

    void newSetPanelCreatesSetsAndRefusesDuplicates()
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

        // No folder yet: the hint is not taken for one.
        h.click(u"Command3"_s);
        QCOMPARE(h.dialogs.messages,
                 QList<Message>{Message(u"请选择帐套路径(存放帐套的文件夹)"_s, u"提醒您！"_s, Icon::Exclamation)});
        QVERIFY(h.panel()->isVisible());

        // A cancelled folder dialog changes nothing; a chosen folder fills Text3.
        h.click(u"Command6"_s);
        QCOMPARE(h.edit(u"Text3"_s)->text(), folderHint);
        h.nextFolder = folder;
        h.click(u"Command6"_s);
        QCOMPARE(h.edit(u"Text3"_s)->text(), folder);

        h.dialogs.messages.clear();
        h.click(u"Command3"_s);
        const QString created = folder + u"/华新.Y24"_s;
        QVERIFY(QFileInfo(created).isFile());
        QCOMPARE(h.dialogs.messages, QList<Message>{Message(u"帐套路径: "_s + folder + u"\n\n帐套名称: 华新"_s,
                                                            u"创建帐套成功!"_s, Icon::Exclamation)});
        QVERIFY(!h.panel()->isVisible());
        QCOMPARE(h.window.height(), heightWithoutPanel);
        // The new set is not chosen by creating it.
        QCOMPARE(h.edit(u"Text2"_s)->text(), setHint);
        QCOMPARE(h.session.dbPath(), QString());

        // The same name and year again: refused, and the panel stays open.
        h.click(u"Command4"_s);
        QCOMPARE(h.edit(u"Text3"_s)->text(), folderHint);
        h.click(u"Command6"_s);
        h.dialogs.messages.clear();
        h.click(u"Command3"_s);
        QCOMPARE(h.dialogs.messages,
                 QList<Message>{Message(u"帐套重复!!此文件夹中有帐套名相同且年度相同的帐套: 华新.Y24"_s,
                                        u"TZ305提示"_s, Icon::Exclamation)});
        QVERIFY(h.panel()->isVisible());
        h.click(u"Command5"_s);
        QVERIFY(!h.panel()->isVisible());
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

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    tz::setUpApplication(app);
    LoginWindowTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "loginwindow_test.moc"
