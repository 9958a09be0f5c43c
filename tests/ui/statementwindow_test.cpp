// The statements window on demonstration books: the three statements in
// the display grid with their headers, hidden formula columns and figures,
// a template edited in the editing grid (saved when the row is left, a
// duplicate line number refused), the workbook export and the help.
#include <functional>
#include <memory>

#include <QComboBox>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QFile>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTableView>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

#include "demo/demobooks.h"
#include "shell/ui/application.h"
#include "shell/ui/mainwindow.h"
#include "statements/ui/statementwindow.h"
#include "store/offeredname.h"
#include "store/session.h"
#include "store/ui/resultgridmodel.h"
#include "tests/support/scripteddialogs.h"
#include "tests/support/testset.h"
#include "tests/support/uitest.h"

using namespace Qt::Literals::StringLiterals;
using tz::Icon;
using tz::StatementWindow;
using tz::test::Message;
using tz::test::child;
using tz::test::saveScreenshot;

namespace {

// Scripted dialogs that let a test look at the window as each message comes.
struct WatchedDialogs : tz::test::ScriptedDialogs
{
    std::function<void()> onShow;
    void show(const QString &text, const QString &title, Icon icon) override
    {
        if (onShow)
            onShow();
        ScriptedDialogs::show(text, title, icon);
    }
};

struct Harness
{
    Harness()
    {
        tz::test::ScriptedDialogs yes(QList<bool>(20, true));
        if (!tz::MakeDemoBooks(set.session(), 2024, 12, 7, yes).isDone())
            qFatal("no demonstration books");
        set.session().setCompanyName(u"华新商贸有限公司"_s);
        // Opened as a user opens it: from 报表查看 of the main window at 1366x768.
        main = std::make_unique<tz::MainWindow>(set.session(), dialogs);
        main->resize(1366, 768);
        main->show();
        child<QToolButton>(main.get(), u"报表查看"_s)->click();
        window = qobject_cast<StatementWindow *>(main->mdiArea()->subWindowList().first()->widget());
        if (!window)
            qFatal("no statements window");
    }

    void press(const QString &name) const { QTest::mouseClick(child<QPushButton>(window, name), Qt::LeftButton); }
    // Chooses the statement and the month, then 查 询 from the keyboard.
    void show(const QString &option, const QString &month) const
    {
        child<QRadioButton>(window, option)->setChecked(true);
        child<QComboBox>(window, u"Combo1"_s)->setCurrentText(month);
        auto *query = child<QPushButton>(window, u"Command4"_s);
        query->setFocus();
        QTest::keyClick(query, Qt::Key_Space);
    }
    const tz::ResultGridModel &rows() const { return window->result(); }
    QTableView *grid() const { return child<QTableView>(window, u"MSH1"_s); }
    // The row whose cell `column` reads `text`.
    int rowWith(int column, const QString &text) const
    {
        for (int r = 0; r < rows().rowCount(); ++r) {
            if (rows().text(r, column) == text)
                return r;
        }
        return -1;
    }

    tz::test::TestSet set;
    WatchedDialogs dialogs;
    std::unique_ptr<tz::MainWindow> main;
    StatementWindow *window = nullptr;
};

} // namespace

class StatementWindowTest : public QObject {
    Q_OBJECT

private slots:
    void theThreeStatements()
    {
        Harness h;
        h.press(u"Command4"_s); // no month chosen
        QCOMPARE(h.dialogs.messages.value(0), (Message{u"请选择月份"_s, u"TZ305"_s, Icon::Critical}));

        // Every statement of every month shows; the balance sheet's totals agree.
        for (const QString &option : {u"Option1"_s, u"Option3"_s, u"Option2"_s, u"Option4"_s, u"Option5"_s}) {
            for (int month = 1; month <= 12; ++month) {
                h.show(option, QString::number(month));
                QVERIFY(h.rows().rowCount() >= 17);
                const int last = h.rows().rowCount() - 1;
                if (option == u"Option1"_s || option == u"Option3"_s)
                    QCOMPARE(h.rows().text(last, 4), h.rows().text(last, 9));
            }
        }

        h.show(u"Option1"_s, u"11"_s);
        QCOMPARE(h.rows().headerData(1, Qt::Horizontal).toString(), u"资  产"_s);
        QCOMPARE(h.rows().headerData(6, Qt::Horizontal).toString(), u"负债及所有者权益"_s);
        QVERIFY(h.grid()->isColumnHidden(3) && h.grid()->isColumnHidden(8));
        const int last = h.rows().rowCount() - 1;
        QCOMPARE(h.rows().text(last, 1), u"资产总计"_s);
        QVERIFY(h.rows().text(last, 4).contains(u','));
        QCOMPARE(h.rows().text(last, 4), h.rows().text(last, 9));
        QCOMPARE(h.rows().text(last, 5), h.rows().text(last, 10));
        saveScreenshot(h.main.get(), u"statement-balancesheet.png"_s);

        // Another statement starts at its first line.
        h.grid()->scrollToBottom();
        QVERIFY(h.grid()->verticalScrollBar()->value() > 0);
        h.show(u"Option2"_s, u"11"_s);
        QCOMPARE(h.grid()->verticalScrollBar()->value(), 0);
        QCOMPARE(h.rows().headerData(4, Qt::Horizontal).toString(), u"本年累计金额"_s);
        QVERIFY(!h.rows().text(h.rowWith(1, u"四、净利润（净亏损以\"-\"号填列）"_s), 5).isEmpty());
        saveScreenshot(h.main.get(), u"statement-income.png"_s);

        // The cash-flow check comes with the cash-flow statement on screen.
        h.dialogs.messages.clear();
        bool statementShown = false;
        h.dialogs.onShow = [&h, &statementShown] { statementShown = h.rowWith(1, u"四、现金净增加额"_s) >= 0; };
        h.show(u"Option5"_s, u"11"_s);
        h.dialogs.onShow = nullptr;
        QVERIFY(statementShown);
        QCOMPARE(h.dialogs.messages.size(), 1);
        QCOMPARE(h.dialogs.messages.first().title, u"TZ305友情提示"_s);
        const int change = h.rowWith(1, u"四、现金净增加额"_s);
        QCOMPARE(h.rows().text(change, 2), u"23"_s);
        QVERIFY(h.dialogs.messages.first().text.contains(h.rows().text(change, 5)));
        saveScreenshot(h.main.get(), u"statement-cashflow.png"_s);

        // The workbook of the statement shown, written where the chooser says.
        QTemporaryDir out;
        QString suggested;
        h.window->setSavePathChooser([&](const QString &path) {
            suggested = path;
            return out.filePath(u"现金流量表.xlsx"_s);
        });
        QString opened;
        h.window->setFileOpener([&](const QString &path) { opened = path; });
        static_cast<tz::test::ScriptedDialogs &>(h.dialogs) = tz::test::ScriptedDialogs({true});
        h.press(u"Command3"_s);
        QCOMPARE(suggested, tz::exportsFolder() + u"/测试_现金流量表_2024年11月.xlsx"_s);
        QVERIFY(QFile::exists(out.filePath(u"现金流量表.xlsx"_s)));
        QCOMPARE(opened, out.filePath(u"现金流量表.xlsx"_s));
    }

    void templatesAreEditedRowByRow()
    {
        Harness h;
        child<QRadioButton>(h.window, u"Option2"_s)->setChecked(true);
        h.press(u"Command5"_s);
        auto *editor = child<QTableWidget>(h.window, u"DataGrid1"_s);
        QVERIFY(editor->isVisible() && !h.grid()->isVisible());
        QCOMPARE(editor->horizontalHeaderItem(2)->text(), u"公式"_s);
        editor->setCurrentCell(0, 2);
        editor->item(0, 2)->setText(u"5001"_s);
        editor->setCurrentCell(1, 2); // leaving the row saves it
        QCOMPARE(h.set.session().RunSql(u"SELECT 公式 FROM 利润表13 WHERE 行次 = 1"_s).value(0, 0).toString(), u"5001"_s);

        editor->item(1, 1)->setText(u"1"_s);
        editor->setCurrentCell(2, 1);
        QCOMPARE(h.dialogs.messages.last(), (Message{u"行次1重复"_s, u"TZ305提示"_s, Icon::Critical}));
        QCOMPARE(editor->item(1, 1)->text(), u"2"_s);

        // The cash-flow template shows the item codes beside the grid.
        child<QRadioButton>(h.window, u"Option5"_s)->setChecked(true);
        h.press(u"Command5"_s);
        QVERIFY(child<QWidget>(h.window, u"List1"_s)->isVisible());
        saveScreenshot(h.main.get(), u"statement-template.png"_s);

        h.press(u"Command4"_s);
        QVERIFY(!editor->isVisible());
    }
};

TZ305_WINDOW_TEST_MAIN(StatementWindowTest)

#include "statementwindow_test.moc"
