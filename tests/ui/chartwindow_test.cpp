// The chart-of-accounts window and the 增加总帐科目 dialog: the class
// filter, selecting an account, what the tree and grid show after adding,
// renaming and deleting, the attribute grid's save on leaving a row, and
// how the main window opens the window.
#include <memory>

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <QToolButton>
#include <QTreeWidget>
#include <QtTest>

#include "accounts/chartrules.h"
#include "accounts/ui/chartwindow.h"
#include "accounts/ui/toplevelaccountdialog.h"
#include "shell/ui/application.h"
#include "shell/ui/mainwindow.h"
#include "store/session.h"
#include "tests/support/scripteddialogs.h"
#include "tests/support/testset.h"
#include "tests/support/uitest.h"

using namespace Qt::Literals::StringLiterals;
using tz::Icon;
using tz::test::Message;
using tz::test::child;
using tz::test::press;
using tz::test::runModal;
using tz::test::saveScreenshot;
using tz::test::type;

namespace {

QLineEdit *edit(QWidget *window, const QString &name)
{
    return child<QLineEdit>(window, name);
}

// A chart window over a fresh set, shown, with scripted dialogs.
struct Harness {
    explicit Harness(QList<bool> answers = {})
        : dialogs(std::move(answers))
        , window(std::make_unique<tz::ChartWindow>(set.session(), dialogs))
    {
        window->show();
        if (!QTest::qWaitForWindowExposed(window.get()))
            qFatal("chart window not shown");
    }

    QTreeWidget *tree() { return child<QTreeWidget>(window.get(), u"TreeView1"_s); }
    QTableWidget *grid() { return child<QTableWidget>(window.get(), u"DataGrid1"_s); }
    QLineEdit *field(int number) { return edit(window.get(), u"Text"_s + QString::number(number)); }
    QComboBox *direction() { return child<QComboBox>(window.get(), u"Combo1"_s); }
    QTreeWidgetItem *node(const QString &code) { return tz::findAccountNode(tree(), code); }

    // Double-clicks the node of `code` as the user would.
    void doubleClick(const QString &code)
    {
        QTreeWidgetItem *item = node(code);
        QVERIFY2(item, qPrintable(code));
        for (QTreeWidgetItem *up = item->parent(); up; up = up->parent())
            up->setExpanded(true);
        tree()->scrollToItem(item);
        QApplication::processEvents();
        // As a mouse delivers it: a click, then a press that is a double-click.
        const QPoint at = tree()->visualItemRect(item).center();
        QTest::mouseClick(tree()->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(tree()->viewport(), Qt::LeftButton, {}, at);
    }

    // The row of `code` in the attribute grid, or -1.
    int gridRow(const QString &code)
    {
        for (int row = 0; row < grid()->rowCount(); ++row) {
            if (grid()->item(row, 0)->text() == code)
                return row;
        }
        return -1;
    }

    QString stored(const QString &code, const QString &column)
    {
        return set.session()
            .RunSql(u"SELECT "_s + column + u" FROM 科目表 WHERE 科目代码 = ?"_s, {code})
            .value(0, 0)
            .toString();
    }

    QStringList rootCodes()
    {
        QStringList codes;
        for (int i = 0; i < tree()->topLevelItemCount(); ++i)
            codes << tz::accountNodeCode(tree()->topLevelItem(i));
        return codes;
    }

    tz::test::TestSet set;
    tz::test::ScriptedDialogs dialogs;
    std::unique_ptr<tz::ChartWindow> window;
};

} // namespace

class ChartWindowTest : public QObject {
    Q_OBJECT

private slots:
    void gridClassButtonsAndHelp()
    {
        Harness h;
        // The grid holds the detail accounts; only the attributes are editable.
        const int dollars = h.gridRow(u"1002002"_s);
        QVERIFY(dollars >= 0);
        QCOMPARE(h.gridRow(u"1002"_s), -1); // has sub-accounts
        for (int c = 0; c < h.grid()->columnCount(); ++c)
            QCOMPARE(bool(h.grid()->item(dollars, c)->flags() & Qt::ItemIsEditable), c >= 2);
        QVERIFY(!child<QPushButton>(h.window.get(), u"Command1"_s)->autoDefault()); // Enter in the grid
        // Striped rows.
        QCOMPARE(h.grid()->item(0, 0)->background().color(), QColor(240, 255, 255));
        QCOMPARE(h.grid()->item(1, 2)->background().color(), QColor(215, 255, 215));

        // The window opens on 资产; a button shows its class, down alone.
        QCOMPARE(h.window->accountClass(), 1);
        press(h.window.get(), u"Command8"_s);
        QCOMPARE(h.window->accountClass(), 2);
        for (int n = 7; n <= 11; ++n)
            QCOMPARE(child<QPushButton>(h.window.get(), u"Command"_s + QString::number(n))->isChecked(), n == 8);
        for (const QString &code : h.rootCodes())
            QVERIFY2(code.startsWith(u'2'), qPrintable(code));
        QCOMPARE(h.node(u"2221001"_s)->parent(), h.node(u"2221"_s));
        // Every class at once leaves the buttons up.
        h.window->setAccountClass(0);
        QVERIFY(h.node(u"1001"_s) && h.node(u"5001"_s));
        QVERIFY(!child<QPushButton>(h.window.get(), u"Command8"_s)->isChecked());

        QTest::mouseClick(child<QLabel>(h.window.get(), u"Label1"_s), Qt::LeftButton);
        QCOMPARE(h.dialogs.messages, QList<Message>({{tz::chartHelpText(), u"TZ305"_s, Icon::None}}));
    }

    void selectingAndAddingASubAccount()
    {
        Harness h;
        QSignalSpy changed(h.window.get(), &tz::ChartWindow::chartChanged);
        h.window->setOpenedFromPicker(true); // 设置 in the account picker
        h.doubleClick(u"1001"_s);
        QCOMPARE(h.field(1)->text(), u"1001"_s);
        QCOMPARE(h.field(2)->text(), u"001"_s);
        QCOMPARE(h.field(3)->text(), u"库存现金"_s);
        QCOMPARE(h.direction()->currentText(), u"借"_s);
        // The initials follow the name; the sub-code takes digits only.
        type(h.field(4), u"基本 \"户\""_s);
        QCOMPARE(h.field(6)->text(), u"JBH"_s);
        h.field(2)->clear();
        QTest::keyClicks(h.field(2), u"a0-b0.c12"_s);
        QCOMPARE(h.field(2)->text(), u"001"_s);

        press(h.window.get(), u"Command1"_s);
        QCOMPARE(changed.count(), 1);
        // Opened from the picker, the window now shows every class.
        QCOMPARE(h.window->accountClass(), 0);
        QVERIFY(h.node(u"5001"_s));
        // It hangs under its parent, which leaves the grid for it.
        QCOMPARE(h.node(u"1001001"_s)->parent(), h.node(u"1001"_s));
        QCOMPARE(h.tree()->currentItem(), h.node(u"1001"_s));
        QCOMPARE(h.gridRow(u"1001"_s), -1);
        QVERIFY(h.gridRow(u"1001001"_s) >= 0);
        // The parent stays selected and the next sibling's code is offered.
        QCOMPARE(h.field(2)->text(), u"002"_s);
        QVERIFY(h.field(4)->text().isEmpty());

        // A refused add signals nothing.
        press(h.window.get(), u"Command1"_s);
        QCOMPARE(h.dialogs.messages.size(), 1);
        QCOMPARE(changed.count(), 1);
    }

    void renameCascadesAndDeleteReturnsTheParentToTheGrid()
    {
        Harness h({true, true, true});
        press(h.window.get(), u"Command8"_s);
        h.doubleClick(u"2221001"_s);
        type(h.field(4), u"增值税"_s);
        press(h.window.get(), u"Command3"_s);
        QTreeWidgetItem *renamed = h.node(u"2221001"_s);
        QCOMPARE(renamed->text(0), u"2221001 增值税"_s);
        QCOMPARE(renamed->child(0)->toolTip(0), u"应交税费/增值税/进项税额"_s);
        QCOMPARE(h.grid()->item(h.gridRow(u"2221001001"_s), 1)->text(), u"应交税费/增值税/进项税额"_s);
        QCOMPARE(h.tree()->currentItem(), renamed);

        // Deleting the last child makes the parent a grid row again.
        press(h.window.get(), u"Command7"_s);
        h.doubleClick(u"1002002"_s);
        press(h.window.get(), u"Command2"_s);
        QVERIFY(!h.node(u"1002002"_s));
        QCOMPARE(h.tree()->currentItem(), h.node(u"1002"_s));
        QVERIFY(h.field(1)->text().isEmpty());
        h.doubleClick(u"1002001"_s);
        press(h.window.get(), u"Command2"_s);
        QCOMPARE(h.dialogs.questions.size(), 3);
        QCOMPARE(h.node(u"1002"_s)->childCount(), 0);
        QVERIFY(h.gridRow(u"1002"_s) >= 0);
        QCOMPARE(h.gridRow(u"1002002"_s), -1);
        QVERIFY(h.dialogs.messages.isEmpty());
    }

    void attributeEditsAreSavedWhenTheRowIsLeft()
    {
        Harness h;
        QTableWidget *grid = h.grid();
        const int cash = h.gridRow(u"1001"_s);
        QVERIFY(cash >= 0 && cash + 1 < grid->rowCount());

        // A typed unit: nothing written while the cursor stays on the row.
        grid->setFocus();
        grid->setCurrentCell(cash, 2);
        grid->editItem(grid->item(cash, 2));
        auto *editor = qobject_cast<QLineEdit *>(QApplication::focusWidget());
        QVERIFY(editor);
        type(editor, u"千克"_s);
        QTest::keyClick(editor, Qt::Key_Tab); // on to 规格, same row
        QCOMPARE(grid->currentColumn(), 3);
        QCOMPARE(grid->item(cash, 2)->text(), u"千克"_s);
        QVERIFY(h.stored(u"1001"_s, u"单位"_s).isEmpty());

        QTest::keyClick(grid, Qt::Key_Down);
        QCOMPARE(grid->currentRow(), cash + 1);
        QCOMPARE(h.stored(u"1001"_s, u"单位"_s), u"千克"_s);

        // Enter in an editor moves on to the next row and so saves; the
        // flag is stored as Y whatever case was typed.
        grid->setCurrentCell(cash, 4);
        grid->editItem(grid->item(cash, 4));
        editor = qobject_cast<QLineEdit *>(QApplication::focusWidget());
        QVERIFY(editor);
        editor->setText(u"y"_s);
        QTest::keyClick(editor, Qt::Key_Return);
        QTRY_COMPARE(grid->currentRow(), cash + 1);
        QCOMPARE(h.stored(u"1001"_s, u"调汇"_s), u"Y"_s);
        QCOMPARE(grid->item(cash, 4)->text(), u"Y"_s);

        // An edit still on its row when the window closes is saved too.
        grid->setCurrentCell(cash, 3);
        grid->item(cash, 3)->setText(u" 50kg/袋 "_s);
        press(h.window.get(), u"Command5"_s);
        QVERIFY(!h.window->isVisible());
        QCOMPARE(h.stored(u"1001"_s, u"规格"_s), u"50kg/袋"_s);
        QVERIFY(h.dialogs.messages.isEmpty());
    }

    void topLevelDialogAddsAndRefillsTheWindow()
    {
        Harness h;
        QSignalSpy changed(h.window.get(), &tz::ChartWindow::chartChanged);
        const QString opened = runModal([&] { press(h.window.get(), u"Command4"_s); },
            [&h](QWidget *d) {
                // The code field takes digits only, four of them.
                QTest::keyClicks(edit(d, u"Text1"_s), u"1a1b9-9.0"_s);
                QCOMPARE(edit(d, u"Text1"_s)->text(), u"1199"_s);
                type(edit(d, u"Text2"_s), u"预付保证金"_s);
                QCOMPARE(edit(d, u"Text3"_s)->text(), u"YFBZJ"_s);
                child<QComboBox>(d, u"Combo1"_s)->setCurrentIndex(0);
                press(d, u"Command1"_s);
                QCOMPARE(h.dialogs.messages.last().text, u"科目增加成功"_s);
                QVERIFY(edit(d, u"Text2"_s)->text().isEmpty());
                QVERIFY(d->isVisible()); // stays open for the next one
                // The window behind it is refilled at once.
                QVERIFY(h.node(u"1199"_s));
            });
        QCOMPARE(opened, u"tz::TopLevelAccountDialog"_s);
        QVERIFY(h.gridRow(u"1199"_s) >= 0);
        QCOMPARE(changed.count(), 1);
    }

    void mainWindowOpensTheWindowModally()
    {
        tz::test::TestSet set;
        tz::test::ScriptedDialogs dialogs;
        tz::MainWindow main(set.session(), dialogs);
        main.show();
        const auto inspect = [](QWidget *w) {
            QCOMPARE(w->windowTitle(), u"科目处理"_s);
            QVERIFY(w->isModal());
        };
        QCOMPARE(
            runModal([&] { QTest::mouseClick(main.findChild<QToolButton *>(u"科目设置"_s), Qt::LeftButton); }, inspect),
            u"tz::ChartWindow"_s);
        QCOMPARE(runModal([&] { main.findChild<QAction *>(u"科处"_s)->trigger(); }, inspect), u"tz::ChartWindow"_s);
        QVERIFY(dialogs.messages.isEmpty());
    }

    void screenshot()
    {
        Harness h;
        press(h.window.get(), u"Command8"_s);
        h.node(u"2211"_s)->setExpanded(true);
        h.doubleClick(u"2221001"_s);
        type(h.field(4), u"应交消费税"_s);
        h.grid()->setCurrentCell(h.gridRow(u"1002002"_s), 2);
        QApplication::processEvents();
        saveScreenshot(h.window.get(), u"chartwindow.png"_s);

        tz::TopLevelAccountDialog dialog(h.set.session(), h.dialogs, h.window.get());
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        saveScreenshot(&dialog, u"toplevelaccountdialog.png"_s);
    }
};

TZ305_WINDOW_TEST_MAIN(ChartWindowTest)

#include "chartwindow_test.moc"
