// The 批量月结 window over a folder of three demonstration sets, one of
// them with another password: the sets listed with their company and year,
// a run cancelled after the set in progress, then the whole run with each
// set's state, the full progress bar and the summary opened; the refusals
// before a run; the window reached from the main window and the login
// window; its README picture.
#include <memory>

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

#include "batch/ui/monthendwindow.h"
#include "demo/demobooks.h"
#include "maintenance/settings.h"
#include "shell/ui/application.h"
#include "shell/ui/mainwindow.h"
#include "store/accountset.h"
#include "store/login.h"
#include "store/session.h"
#include "store/ui/loginwindow.h"
#include "tests/support/scripteddialogs.h"
#include "tests/support/testset.h"
#include "tests/support/uitest.h"

using namespace Qt::Literals::StringLiterals;
using tz::Icon;
using tz::MonthEndWindow;
using tz::test::Message;
using tz::test::child;

namespace {

// Makes the set `shortName` of 2024 in `folder` with demonstration books
// (months 1 to 10 closed), the company `company` and 主管's password `password`.
void makeSet(const QString &folder, const QString &shortName, const QString &company, quint32 seed,
             const QString &password)
{
    tz::test::ScriptedDialogs yes(QList<bool>(20, true));
    QString path;
    QStringList operators;
    tz::Session session;
    if (!tz::CreateAccountSet(shortName, u"2024"_s, folder, yes, &path).isDone()
        || !tz::ChooseAccountSet(session, path, operators, yes).isDone())
        qFatal("no set in %s", qPrintable(folder));
    session.setOperatorName(u"主管"_s);
    session.setFiscalYear(2024);
    if (!tz::MakeDemoBooks(session, 2024, 2, seed, yes, nullptr, 10).isDone()
        || !tz::SaveCompanyName(session, company, yes).isDone()
        || !tz::ChangePassword(session, u"主管"_s, password, password, yes).isDone())
        qFatal("no demonstration books in %s", qPrintable(path));
    session.CloseMainConnection();
}

// Selects a field's text and types `keys` over it.
void retype(QWidget *field, const QString &keys)
{
    field->setFocus();
    QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(field, keys);
}

// Presses a button from the keyboard.
void pressKey(QWidget *window, const QString &name)
{
    auto *button = child<QPushButton>(window, name);
    button->setFocus();
    QTest::keyClick(button, Qt::Key_Space);
}

} // namespace

class MonthEndWindowTest : public QObject {
    Q_OBJECT

    // c1/甲.Y24, c2/乙.Y24, c3/丙.Y24 (丙 with 主管's password 999), and an
    // empty set of another year, c4/丁.Y23.
    QTemporaryDir m_firm;

private slots:
    void initTestCase()
    {
        QVERIFY(m_firm.isValid());
        makeSet(m_firm.filePath(u"c1"_s), u"甲"_s, u"甲商贸有限公司"_s, 11, u"888"_s);
        makeSet(m_firm.filePath(u"c2"_s), u"乙"_s, u"乙服务有限公司"_s, 12, u"888"_s);
        makeSet(m_firm.filePath(u"c3"_s), u"丙"_s, u"丙制造有限公司"_s, 13, u"999"_s);
        tz::test::ScriptedDialogs dialogs;
        QVERIFY(tz::CreateAccountSet(u"丁"_s, u"2023"_s, m_firm.filePath(u"c4"_s), dialogs).isDone());
    }

    void refusals()
    {
        tz::test::ScriptedDialogs dialogs;
        MonthEndWindow w(dialogs);
        w.show();
        pressKey(&w, u"start"_s);
        retype(child<QLineEdit>(&w, u"setsFolder"_s), m_firm.path() + u"/c9"_s);
        QTest::keyClick(child<QLineEdit>(&w, u"setsFolder"_s), Qt::Key_Return);
        pressKey(&w, u"start"_s);

        retype(child<QLineEdit>(&w, u"setsFolder"_s), m_firm.path());
        QTest::keyClick(child<QLineEdit>(&w, u"setsFolder"_s), Qt::Key_Return);
        QTRY_COMPARE(child<QComboBox>(&w, u"operatorName"_s)->currentText(), u"主管"_s);
        child<QComboBox>(&w, u"operatorName"_s)->clearEditText();
        pressKey(&w, u"start"_s);

        QTemporaryDir dir;
        const QString credentials = dir.filePath(u"logins.txt"_s);
        QFile file(credentials);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("c3\t主管\t999\n");
        file.close();
        QVERIFY(file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther));
        retype(child<QLineEdit>(&w, u"credentialsFile"_s), credentials);
        pressKey(&w, u"start"_s);

        QCOMPARE(dialogs.messages,
                 (QList<Message>{
                     {u"请选择帐套文件夹"_s, u"TZ305提示"_s, Icon::Exclamation},
                     {u"文件夹不存在: "_s + m_firm.path() + u"/c9"_s, u"TZ305提示"_s, Icon::Exclamation},
                     {u"请输入操作员, 或选择凭据文件"_s, u"TZ305提示"_s, Icon::Exclamation},
                     {u"凭据文件 %1 可被其他用户读取, 请先 chmod 600 %1"_s.arg(credentials), u"TZ305提示"_s,
                      Icon::Exclamation},
                 }));
        QVERIFY(!w.isRunning());
        QVERIFY(!QDir(m_firm.filePath(u"月结输出"_s)).exists());
    }

    // Cancelled after the set in progress, then run whole: the state of
    // each set as the table shows it, the progress bar, the summary.
    void runsAFolderOfSets()
    {
        tz::test::ScriptedDialogs dialogs;
        MonthEndWindow w(dialogs);
        QStringList opened;
        w.setFileOpener([&](const QString &path) { opened.append(u"file "_s + path); });
        w.setFolderOpener([&](const QString &path) { opened.append(u"folder "_s + path); });
        w.show();
        auto *table = child<QTableWidget>(&w, u"setsTable"_s);
        auto *progress = child<QProgressBar>(&w, u"progress"_s);
        const auto column = [&](int c) {
            QStringList texts;
            for (int r = 0; r < table->rowCount(); ++r)
                texts.append(table->item(r, c)->text());
            return texts;
        };

        retype(child<QLineEdit>(&w, u"setsFolder"_s), m_firm.path());
        QTest::keyClick(child<QLineEdit>(&w, u"setsFolder"_s), Qt::Key_Return);
        QCOMPARE(column(0), (QStringList{u"c1/甲.Y24"_s, u"c2/乙.Y24"_s, u"c3/丙.Y24"_s, u"c4/丁.Y23"_s}));
        QCOMPARE(child<QLabel>(&w, u"setsFound"_s)->text(), u"找到 4 个帐套"_s);
        // Only the sets of 2024 (the years found, newest first, after 全部年度).
        auto *year = child<QComboBox>(&w, u"year"_s);
        year->setFocus();
        QTest::keyClick(year, Qt::Key_Down);
        QCOMPARE(year->currentText(), u"2024"_s);
        QCOMPARE(year->itemText(2), u"2023"_s);
        QCOMPARE(column(0), (QStringList{u"c1/甲.Y24"_s, u"c2/乙.Y24"_s, u"c3/丙.Y24"_s}));
        QCOMPARE(column(2), QStringList(3, u"2024"_s));
        QCOMPARE(column(3), QStringList(3, u"等待"_s));
        QTRY_COMPARE(column(1), (QStringList{u"甲商贸有限公司"_s, u"乙服务有限公司"_s, u"丙制造有限公司"_s}));
        QCOMPARE(child<QLabel>(&w, u"setsFound"_s)->text(), u"找到 3 个帐套"_s);
        const QString out = m_firm.filePath(u"月结输出"_s);
        QCOMPARE(child<QLineEdit>(&w, u"outFolder"_s)->text(), out);

        auto *operatorField = child<QComboBox>(&w, u"operatorName"_s)->lineEdit();
        operatorField->selectAll();
        tz::test::commitText(operatorField, u"主管"_s);
        retype(child<QLineEdit>(&w, u"password"_s), u"888"_s);
        retype(child<QSpinBox>(&w, u"month"_s), u"12"_s);
        retype(child<QSpinBox>(&w, u"jobs"_s), u"1"_s);

        // One set at a time, cancelled as the first one starts: it ends,
        // the others never start. The click returns while the sets run.
        QSignalSpy ended(&w, &MonthEndWindow::runEnded);
        bool cancelled = false;
        connect(table, &QTableWidget::itemChanged, this, [&](QTableWidgetItem *item) {
            if (!cancelled && item->row() == 0 && item->column() == 3 && item->text() == u"运行中"_s) {
                cancelled = true;
                pressKey(&w, u"cancel"_s);
            }
        });
        pressKey(&w, u"start"_s);
        QVERIFY(w.isRunning());
        QVERIFY(!child<QPushButton>(&w, u"start"_s)->isEnabled());
        QVERIFY(ended.wait(120000));
        QVERIFY(cancelled);
        table->disconnect(this);
        QCOMPARE(column(3), (QStringList{u"完成"_s, u"等待"_s, u"等待"_s}));
        QCOMPARE(column(4).mid(1), QStringList(2, u"已取消"_s));
        QCOMPARE(progress->value(), 1);
        QVERIFY(child<QLabel>(&w, u"outcome"_s)->text().startsWith(u"已取消. 共 3 个帐套: 1 个完成, 0 个失败, 2 个未运行"_s));

        // The whole folder, two at a time: 甲 has nothing left to close.
        retype(child<QSpinBox>(&w, u"jobs"_s), u"2"_s);
        pressKey(&w, u"start"_s);
        QVERIFY(ended.wait(120000));
        QCOMPARE(column(3), (QStringList{u"完成"_s, u"完成"_s, u"失败"_s}));
        QVERIFY(column(4).at(0).startsWith(u"无需结帐; 资产总计 "_s));
        QVERIFY(column(4).at(1).startsWith(u"已结帐 11、12 月; 资产总计 "_s));
        QCOMPARE(column(4).at(2), u"操作员或密码不正确!"_s);
        QCOMPARE(progress->maximum(), 3);
        QCOMPARE(progress->value(), 3);
        const QString summary = QDir(out).filePath(u"summary.xlsx"_s);
        QVERIFY(QFile::exists(summary));
        QVERIFY(QFile::exists(QDir(out).filePath(u"results.jsonl"_s)));
        QVERIFY(child<QLabel>(&w, u"outcome"_s)->text().startsWith(u"共 3 个帐套: 2 个完成, 1 个失败; 用时 "_s));

        pressKey(&w, u"openSummary"_s);
        pressKey(&w, u"openOutFolder"_s);
        QCOMPARE(opened, (QStringList{u"file "_s + summary, u"folder "_s + out}));
        QCOMPARE(dialogs.messages, QList<Message>());
        tz::test::saveScreenshot(&w, u"monthendwindow.png"_s);
    }

    // From the main window's 系统设置 menu, and from the login window
    // before any set is logged in to.
    void reachable()
    {
        tz::test::TestSet set;
        tz::test::ScriptedDialogs dialogs;
        tz::MainWindow main(set.session(), dialogs);
        main.show();
        QCOMPARE(tz::test::runModal([&] { child<QAction>(&main, u"批量月结"_s)->trigger(); }, {}, 100),
                 u"tz::MonthEndWindow"_s);

        tz::Session session;
        tz::LoginWindow login(session, dialogs, {}, {});
        QWidget *parent = nullptr;
        login.setMonthEndOpener([&](QWidget *over) { parent = over; });
        login.show();
        pressKey(&login, u"monthEnd"_s);
        QCOMPARE(parent, &login);
    }
};

int main(int argc, char **argv)
{
    tz::test::useLaptopScreen();
    QApplication app(argc, argv);
    tz::setUpApplication(app);
    MonthEndWindowTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "monthendwindow_test.moc"
