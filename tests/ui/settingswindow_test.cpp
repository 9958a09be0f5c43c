// The maintenance buttons of the settings window on demonstration books: a
// backup into the backup folder, compacting, restoring that backup through
// the file dialog, and the carry forward into next year (whose figures the
// core tests check).
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include "demo/demobooks.h"
#include "maintenance/passphrase.h"
#include "maintenance/ui/settingswindow.h"
#include "store/connection.h"
#include "store/dberror.h"
#include "store/login.h"
#include "store/paths.h"
#include "store/session.h"
#include "tests/support/scripteddialogs.h"
#include "tests/support/testset.h"
#include "tests/support/uitest.h"

using namespace Qt::Literals::StringLiterals;
using tz::Icon;
using tz::test::Message;
using tz::test::ScriptedDialogs;
using tz::test::child;

namespace {

class SettingsWindowTest : public QObject
{
    Q_OBJECT

private:
    tz::test::TestSet m_set{u"示例"_s};
    QString m_folder;

    // Opens the window, clicks `button` with the given answers, and returns what the user was told.
    QList<Message> press(const QString &button, const QList<bool> &answers, const QString &screenshot = {},
                         const std::function<void(QWidget *)> &inModal = {})
    {
        ScriptedDialogs dialogs(answers);
        tz::SettingsWindow window(m_set.session(), dialogs);
        window.show();
        if (!screenshot.isEmpty())
            tz::test::saveScreenshot(&window, screenshot);
        QPushButton *pressed = child<QPushButton>(&window, button);
        if (inModal)
            tz::test::runModal([&] { pressed->click(); }, inModal);
        else
            pressed->click();
        return dialogs.messages;
    }

private slots:
    void initTestCase()
    {
        ScriptedDialogs yes(QList<bool>(20, true));
        QVERIFY(tz::MakeDemoBooks(m_set.session(), 2024, 12, 7, yes).isDone());
        m_folder = m_set.folder() + u"/备份"_s;
        m_set.session().execSql(u"UPDATE 信息表 SET 备份路径 = ? WHERE 代号 = 'TZ'"_s, {m_folder});
    }

    void passwordIsMaskedAndChangedByKeys()
    {
        ScriptedDialogs dialogs;
        tz::SettingsWindow window(m_set.session(), dialogs);
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        // 原密码 never holds the password itself.
        QCOMPARE(child<QLineEdit>(&window, u"Text4"_s)->text(), u"******"_s);
        for (const QString &name : {u"Text5"_s, u"Text6"_s}) {
            child<QLineEdit>(&window, name)->setFocus();
            QTest::keyClicks(child<QLineEdit>(&window, name), u"New7pass"_s);
        }
        child<QPushButton>(&window, u"Command6"_s)->setFocus();
        QTest::keyClick(child<QPushButton>(&window, u"Command6"_s), Qt::Key_Space);
        QCOMPARE(dialogs.messages, QList<Message>({{u"修改成功"_s, u"提示"_s, Icon::Information}}));
        QCOMPARE(child<QLineEdit>(&window, u"Text4"_s)->text(), u"******"_s);
        const QString stored = m_set.session().RunSql(u"SELECT 密码 FROM 信息表 WHERE 操作员 = '主管'"_s).text(u"密码"_s);
        QVERIFY(stored.startsWith(u"$argon2id$"_s));
        QVERIFY(tz::login(m_set.session(), u"主管"_s, u"New7pass"_s));
        QVERIFY(!tz::login(m_set.session(), u"主管"_s, u"888"_s));
    }

    void backUpCompactRestoreAndCarryForward()
    {
        QCOMPARE(press(u"Command8"_s, {true}, u"settingswindow.png"_s),
                 QList<Message>({{u"数据成功备份到: "_s + m_folder + u"  文件夹中"_s, u"TZ305"_s, Icon::None}}));
        const QString backup =
            m_folder + u"/示例"_s + QDate::currentDate().toString(u"yyyy-MM-dd"_s) + u".QSBF24"_s;
        QVERIFY(QFileInfo::exists(backup));

        QCOMPARE(press(u"Command5"_s, {true, true}),
                 QList<Message>({{u"数据库压缩修复成功"_s, u"TZ305"_s, Icon::None}}));

        const QString restored = tz::dataFolder() + u"/示例.Y24"_s;
        QFile::remove(restored);
        const QList<Message> told = press(u"Command10"_s, {true, true}, {}, [&](QWidget *modal) {
            auto *files = qobject_cast<QFileDialog *>(modal);
            QVERIFY(files);
            QCOMPARE(files->nameFilters(), QStringList{u"TZ Files (*.QSBF*)"_s});
            // The backup's path typed into the name field, as a user may.
            auto *name = files->findChild<QLineEdit *>(u"fileNameEdit"_s);
            QVERIFY(name);
            name->setText(backup);
            static_cast<QDialog *>(files)->accept();
        });
        QCOMPARE(told.value(0).text, u"1.恢复成功,帐套路径:"_s + restored
                                         + u"\n\n2.请记住路径,请带走帐套,自动退出系统,请重新进入"_s);
        QVERIFY(QFile::remove(restored));

        const QString next = m_set.folder() + u"/示例.Y25"_s;
        QCOMPARE(press(u"Command12"_s, {true}),
                 QList<Message>({{u"1.恭喜你过帐成功!\n\n2.帐套路径(名): "_s + next + u"\n\n3.请重新登陆新帐套"_s,
                                  u"TZ305提示"_s, Icon::None}}));
        QVERIFY(QFileInfo::exists(next));
    }

    // 帐套加密: the passphrase typed twice in its window, the warning asked,
    // then the set opens with that passphrase and no longer with the shared
    // key; pressed again, it offers the removal.
    void passphraseButtonEncryptsTheSetAndThenRemovesIt()
    {
        const auto typeTwice = [](QWidget *modal) {
            QCOMPARE(modal->objectName(), u"PassphraseDialog"_s);
            for (const QString &name : {u"Text8"_s, u"Text9"_s}) {
                child<QLineEdit>(modal, name)->setFocus();
                QTest::keyClicks(child<QLineEdit>(modal, name), u"pw-window"_s);
            }
            QTest::keyClick(child<QLineEdit>(modal, u"Text9"_s), Qt::Key_Return);
        };
        ScriptedDialogs dialogs({true});
        tz::SettingsWindow window(m_set.session(), dialogs);
        window.show();
        QPushButton *button = child<QPushButton>(&window, u"Command13"_s);
        QCOMPARE(button->text(), u"帐套加密"_s);
        tz::test::runModal([&] { button->click(); }, typeTwice);
        QCOMPARE(dialogs.questions,
                 QList<Message>({{QString::fromUtf16(tz::kSetPassphraseQuestion), u"TZ305提示"_s, Icon::Question}}));
        QCOMPARE(dialogs.messages, QList<Message>({{u"帐套加密成功。请牢记帐套密码:遗失后任何人都不能打开此帐套。"_s,
                                                    u"TZ305提示"_s, Icon::Information}}));
        m_set.session().CloseMainConnection();
        tz::Connection own;
        own.open(m_set.path(), QByteArrayLiteral("pw-window"));
        QCOMPARE(own.query(u"PRAGMA quick_check"_s).value(0, 0).toString(), u"ok"_s);
        own.close();
        QVERIFY(tz::hasSetPassphrase(m_set.session()));

        ScriptedDialogs again({true});
        tz::SettingsWindow second(m_set.session(), again);
        second.show();
        QTest::keyClick(child<QPushButton>(&second, u"Command13"_s), Qt::Key_Space);
        QCOMPARE(again.messages, QList<Message>({{u"已取消帐套加密"_s, u"TZ305提示"_s, Icon::Information}}));
        QVERIFY(!tz::hasSetPassphrase(m_set.session()));
    }
};

} // namespace

QTEST_MAIN(SettingsWindowTest)
#include "settingswindow_test.moc"
