// The chart-of-accounts window and the 增加总帐科目 dialog: their named
// controls, the class filter, selecting an account, adding, renaming and
// deleting through the window, the attribute grid's save on leaving a row,
// the grid striping, and how the main window opens the window.
#include <memory>

#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
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
#include "store/ui/stripegrid.h"
#include "tests/support/scripteddialogs.h"
#include "tests/support/testset.h"
#include "tests/support/uitest.h"

using namespace Qt::Literals::StringLiterals;
using tz::Icon;
using tz::test::Message;
using tz::test::child;
using tz::test::runModal;
using tz::test::saveScreenshot;
using tz::test::type;

namespace {

const Message emptyFieldsRefusal {u"代码,名称,方向不能为空"_s, u"请检查如下内容↓"_s, Icon::Question};

QLineEdit *edit(QWidget *window, const QString &name)
{
    return child<QLineEdit>(window, name);
}

void press(QWidget *window, const QString &button)
{
    QTest::mouseClick(child<QPushButton>(window, button), Qt::LeftButton);
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

    bool exists(const QString &code)
    {
        return !set.session().RunSql(u"SELECT 1 FROM 科目表 WHERE 科目代码 = ?"_s, {code}).eof();
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
    void controlsCarryTheirNamesAndCaptions()
    {
        Harness h;
        QWidget *w = h.window.get();
        QCOMPARE(w->windowTitle(), u"科目处理"_s);
        const QList<std::tuple<QString, QString, QString>> buttons = {
            {u"Command1"_s, u"增明细"_s, u"增加下级明细科目"_s},
            {u"Command2"_s, u"删除"_s, u"删除选中的科目"_s},
            {u"Command3"_s, u"修改"_s, u"修改选中的科目"_s},
            {u"Command4"_s, u"增总科"_s, u"增加总帐科目"_s},
            {u"Command5"_s, u"关 闭"_s, QString()},
            {u"Command7"_s, u"资产"_s, QString()},
            {u"Command8"_s, u"负债"_s, QString()},
            {u"Command9"_s, u"权益"_s, QString()},
            {u"Command10"_s, u"成本"_s, QString()},
            {u"Command11"_s, u"损益"_s, QString()},
        };
        for (const auto &[name, caption, tip] : buttons) {
            QPushButton *button = child<QPushButton>(w, name);
            QCOMPARE(button->text(), caption);
            QCOMPARE(button->toolTip(), tip);
            QVERIFY(button->isEnabled());
            QVERIFY(!button->autoDefault()); // Enter in the grid never presses a button
        }
        // Export comes with the workbook export.
        QCOMPARE(child<QPushButton>(w, u"Command6"_s)->text(), u"导出EXCEL"_s);
        QVERIFY(!child<QPushButton>(w, u"Command6"_s)->isEnabled());

        for (int n : {1, 3, 5})
            QVERIFY(h.field(n)->isReadOnly());
        for (int n : {2, 4, 6})
            QVERIFY(!h.field(n)->isReadOnly());
        QCOMPARE(h.field(2)->maxLength(), 3);
        QCOMPARE(QStringList({h.direction()->itemText(0), h.direction()->itemText(1)}), QStringList({u"借"_s, u"贷"_s}));
        QCOMPARE(h.direction()->currentIndex(), -1);

        // The grid: the detail accounts, code and full name read-only.
        QTableWidget *grid = h.grid();
        const int dollars = h.gridRow(u"1002002"_s);
        QVERIFY(dollars >= 0);
        QCOMPARE(h.gridRow(u"1002"_s), -1); // has sub-accounts
        const QStringList headers = {u"科目代码"_s, u"科目全称"_s, u"单位"_s, u"规格"_s, u"调汇"_s};
        const QStringList shown = {u"1002002"_s, u"银行存款/美元户"_s, QString(), QString(), u"Y"_s};
        QCOMPARE(grid->columnCount(), headers.size());
        for (int c = 0; c < grid->columnCount(); ++c) {
            QCOMPARE(grid->horizontalHeaderItem(c)->text(), headers.at(c));
            QCOMPARE(grid->item(dollars, c)->text(), shown.at(c));
            QCOMPARE(bool(grid->item(dollars, c)->flags() & Qt::ItemIsEditable), c >= 2);
        }

        // Help.
        QTest::mouseClick(child<QLabel>(w, u"Label1"_s), Qt::LeftButton);
        QCOMPARE(h.dialogs.messages, QList<Message>({{tz::chartHelpText(), u"TZ305"_s, Icon::None}}));
    }

    void classButtonsFilterTheTree()
    {
        Harness h;
        // The window opens on 资产; each button shows its class, down alone.
        QCOMPARE(h.window->accountClass(), 1);
        for (int accountClass = 1; accountClass <= 5; ++accountClass) {
            if (accountClass > 1)
                press(h.window.get(), u"Command"_s + QString::number(accountClass + 6));
            QCOMPARE(h.window->accountClass(), accountClass);
            for (int n = 7; n <= 11; ++n)
                QCOMPARE(child<QPushButton>(h.window.get(), u"Command"_s + QString::number(n))->isChecked(),
                    n == accountClass + 6);
            const QStringList roots = h.rootCodes();
            QVERIFY(!roots.isEmpty());
            for (const QString &code : roots)
                QVERIFY2(code.startsWith(QString::number(accountClass)), qPrintable(code));
        }

        // Three levels hang under each other, siblings in code order.
        press(h.window.get(), u"Command8"_s);
        QTreeWidgetItem *vat = h.node(u"2221001"_s);
        QVERIFY(vat);
        QCOMPARE(vat->parent(), h.node(u"2221"_s));
        QCOMPARE(vat->childCount(), 5);
        QCOMPARE(vat->child(0)->text(0), u"2221001001 进项税额"_s);
        QCOMPARE(vat->child(4)->text(0), u"2221001005 转出未交增值税"_s);
        QCOMPARE(vat->toolTip(0), u"应交税费/应交增值税"_s);

        // Every class at once leaves the buttons up.
        h.window->setAccountClass(0);
        QVERIFY(h.node(u"1001"_s) && h.node(u"5001"_s));
        for (int n = 7; n <= 11; ++n)
            QVERIFY(!child<QPushButton>(h.window.get(), u"Command"_s + QString::number(n))->isChecked());
        h.window->setAccountClass(6); // ignored
        QCOMPARE(h.window->accountClass(), 0);
        QVERIFY(h.dialogs.messages.isEmpty());
    }

    void selectingAnAccountFillsTheFieldsAndProposesTheSubCode()
    {
        Harness h;
        h.doubleClick(u"1002"_s);
        QCOMPARE(h.field(1)->text(), u"1002"_s);
        QCOMPARE(h.field(2)->text(), u"003"_s);
        QCOMPARE(h.field(3)->text(), u"银行存款"_s);
        QCOMPARE(h.field(5)->text(), u"银行存款"_s);
        QCOMPARE(h.direction()->currentText(), u"借"_s);
        QCOMPARE(h.tree()->currentItem(), h.node(u"1002"_s));

        press(h.window.get(), u"Command11"_s);
        h.doubleClick(u"5001"_s);
        QCOMPARE(h.field(1)->text(), u"5001"_s);
        QCOMPARE(h.field(2)->text(), u"001"_s);
        QCOMPARE(h.direction()->currentText(), u"贷"_s);

        // The initials follow every change of the name.
        type(h.field(4), u"应收 \"票据\""_s);
        QCOMPARE(h.field(6)->text(), u"YSPJ"_s);
        type(h.field(4), QString());
        QCOMPARE(h.field(6)->text(), QString());

        // The sub-code takes digits only.
        h.field(2)->clear();
        QTest::keyClicks(h.field(2), u"a1-b2.c34"_s);
        QCOMPARE(h.field(2)->text(), u"123"_s);

        QVERIFY(!h.window->selectAccount(u"9999"_s));
        QCOMPARE(h.field(1)->text(), u"5001"_s);
        QVERIFY(h.dialogs.messages.isEmpty());
    }

    void addingASubAccountShowsItInTheTreeAndTheGrid()
    {
        Harness h;
        QSignalSpy changed(h.window.get(), &tz::ChartWindow::chartChanged);
        press(h.window.get(), u"Command1"_s); // nothing selected
        QCOMPARE(h.dialogs.messages, QList<Message>({emptyFieldsRefusal}));

        h.doubleClick(u"1002"_s);
        type(h.field(4), u"基本户"_s);
        QCOMPARE(h.field(6)->text(), u"JBH"_s);
        press(h.window.get(), u"Command1"_s);
        QCOMPARE(h.dialogs.messages.size(), 1);
        QCOMPARE(changed.count(), 1);

        QCOMPARE(h.stored(u"1002003"_s, u"拼音"_s), u"JBH"_s);
        QCOMPARE(h.stored(u"1002003"_s, u"方向"_s), u"借"_s);
        QTreeWidgetItem *added = h.node(u"1002003"_s);
        QVERIFY(added);
        QCOMPARE(added->text(0), u"1002003 基本户"_s);
        QCOMPARE(added->parent(), h.node(u"1002"_s));
        QVERIFY(h.node(u"1002"_s)->isExpanded());
        QCOMPARE(h.tree()->currentItem(), h.node(u"1002"_s));
        QVERIFY(h.gridRow(u"1002003"_s) >= 0);

        // The parent stays selected and the next sibling's code is offered.
        QCOMPARE(h.field(1)->text(), u"1002"_s);
        QCOMPARE(h.field(2)->text(), u"004"_s);
        QVERIFY(h.field(4)->text().isEmpty());
        QVERIFY(h.field(6)->text().isEmpty());

        // A refused add changes nothing and signals nothing.
        type(h.field(4), u"基本户"_s);
        press(h.window.get(), u"Command1"_s);
        QCOMPARE(h.dialogs.messages.size(), 2);
        QVERIFY(!h.exists(u"1002004"_s));
        QCOMPARE(changed.count(), 1);

        // Under a detail account: it becomes a parent and leaves the grid.
        h.doubleClick(u"1001"_s);
        type(h.field(4), u"备用金"_s);
        press(h.window.get(), u"Command1"_s);
        QVERIFY(h.exists(u"1001001"_s));
        QCOMPARE(h.gridRow(u"1001"_s), -1);
        QVERIFY(h.gridRow(u"1001001"_s) >= 0);
        QCOMPARE(h.node(u"1001001"_s)->parent(), h.node(u"1001"_s));
    }

    void renameCascadesInTheTree()
    {
        Harness h({false, true});
        press(h.window.get(), u"Command8"_s);
        h.node(u"2221"_s)->setExpanded(true);
        h.doubleClick(u"2221001"_s);
        type(h.field(4), u"增值税"_s);

        press(h.window.get(), u"Command3"_s); // No
        const Message question {
            u"是否把( 应交增值税 )修改为( 增值税 )?, 所有涉及到的科目(包括凭证)都会自动转换,是否现在修改?"_s,
            u"****注意提示!!"_s, Icon::Question};
        QCOMPARE(h.dialogs.questions, QList<Message>({question}));
        QCOMPARE(h.node(u"2221001"_s)->text(0), u"2221001 应交增值税"_s);
        QCOMPARE(h.field(4)->text(), u"增值税"_s);

        press(h.window.get(), u"Command3"_s); // Yes
        QCOMPARE(h.dialogs.questions.size(), 2);
        QVERIFY(h.dialogs.messages.isEmpty());
        QTreeWidgetItem *renamed = h.node(u"2221001"_s);
        QCOMPARE(renamed->text(0), u"2221001 增值税"_s);
        QCOMPARE(renamed->childCount(), 5);
        QCOMPARE(renamed->toolTip(0), u"应交税费/增值税"_s);
        QCOMPARE(renamed->child(0)->toolTip(0), u"应交税费/增值税/进项税额"_s);
        QCOMPARE(h.grid()->item(h.gridRow(u"2221001001"_s), 1)->text(), u"应交税费/增值税/进项税额"_s);
        QCOMPARE(h.tree()->currentItem(), renamed);
        QVERIFY(renamed->isExpanded() || renamed->parent()->isExpanded());

        // The code stays; the old names are cleared.
        QCOMPARE(h.field(1)->text(), u"2221001"_s);
        for (int n : {3, 4, 5})
            QVERIFY(h.field(n)->text().isEmpty());
    }

    void deleteAsksThenRemovesTheSubtree()
    {
        Harness h({false, true, true});
        press(h.window.get(), u"Command2"_s);
        QCOMPARE(h.dialogs.messages, QList<Message>({{u"请先从左边选择科目!"_s, u"TZ305提示"_s, Icon::Question}}));
        QVERIFY(h.dialogs.questions.isEmpty());

        h.doubleClick(u"1002002"_s);
        press(h.window.get(), u"Command2"_s); // No
        const Message question {u"如果删除将连同下级一并自动删除!!\n是否真要删除( 1002002 )及其下级明细科目？"_s,
            u"注意！特别注意！"_s, Icon::Question};
        QCOMPARE(h.dialogs.questions, QList<Message>({question}));
        QVERIFY(h.node(u"1002002"_s));
        QVERIFY(h.exists(u"1002002"_s));

        press(h.window.get(), u"Command2"_s); // Yes
        QVERIFY(!h.node(u"1002002"_s));
        QCOMPARE(h.gridRow(u"1002002"_s), -1);
        QCOMPARE(h.tree()->currentItem(), h.node(u"1002"_s));
        for (int n : {1, 2, 3, 5})
            QVERIFY(h.field(n)->text().isEmpty());

        // The last child gone, the parent is a detail account again and
        // joins the grid.
        h.doubleClick(u"1002001"_s);
        press(h.window.get(), u"Command2"_s);
        QCOMPARE(h.node(u"1002"_s)->childCount(), 0);
        QCOMPARE(h.stored(u"1002"_s, u"明细"_s), u"Y"_s);
        QVERIFY(h.gridRow(u"1002"_s) >= 0);
        QCOMPARE(h.dialogs.messages.size(), 1);
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

        // Emptied cells are stored as NULL.
        grid->setCurrentCell(cash, 2);
        grid->item(cash, 2)->setText(QString());
        grid->item(cash, 4)->setText(u"N"_s);
        grid->setCurrentCell(cash + 1, 2);
        QVERIFY(h.set.session()
                    .RunSql(u"SELECT 1 FROM 科目表 WHERE 科目代码 = '1001' AND 单位 IS NULL AND 调汇 IS NULL"_s)
                    .recordCount()
            == 1);
        QVERIFY(grid->item(cash, 4)->text().isEmpty());

        // An edit still on its row when the window closes is saved too.
        grid->setCurrentCell(cash, 3);
        grid->item(cash, 3)->setText(u" 50kg/袋 "_s);
        press(h.window.get(), u"Command5"_s);
        QVERIFY(!h.window->isVisible());
        QCOMPARE(h.stored(u"1001"_s, u"规格"_s), u"50kg/袋"_s);
        QVERIFY(h.dialogs.messages.isEmpty());
    }

    void topLevelDialogRefusesAndAdds()
    {
        Harness h;
        QSignalSpy changed(h.window.get(), &tz::ChartWindow::chartChanged);
        const QString opened = runModal([&] { press(h.window.get(), u"Command4"_s); },
            [&h](QWidget *d) {
                QCOMPARE(d->windowTitle(), u"增加总帐科目"_s);
                auto *direction = child<QComboBox>(d, u"Combo1"_s);

                // The code field takes digits only, four of them.
                QTest::keyClicks(edit(d, u"Text1"_s), u"6a0b0-1.9"_s);
                QCOMPARE(edit(d, u"Text1"_s)->text(), u"6001"_s);
                type(edit(d, u"Text2"_s), u"测试科目"_s);
                QCOMPARE(edit(d, u"Text3"_s)->text(), u"CSKM"_s);
                direction->setCurrentIndex(0);
                press(d, u"Command1"_s);
                QCOMPARE(h.dialogs.messages,
                    QList<Message>({{u"代码4位,首位为1-5,方向,名称"_s, u"请检查如下内容↓"_s, Icon::Question}}));
                QCOMPARE(edit(d, u"Text2"_s)->text(), u"测试科目"_s);

                // Pasted letters reach the check and are refused the same way.
                edit(d, u"Text1"_s)->setText(u"A001"_s);
                press(d, u"Command1"_s);
                QCOMPARE(h.dialogs.messages.size(), 2);
                QCOMPARE(h.dialogs.messages.last().text, u"代码4位,首位为1-5,方向,名称"_s);

                edit(d, u"Text1"_s)->setText(u"1199"_s);
                type(edit(d, u"Text2"_s), u"预付保证金"_s);
                press(d, u"Command1"_s);
                QCOMPARE(h.dialogs.messages.last(), Message({u"科目增加成功"_s, u"TZ305"_s, Icon::None}));
                QVERIFY(edit(d, u"Text2"_s)->text().isEmpty());
                QCOMPARE(edit(d, u"Text1"_s)->text(), u"1199"_s);
                QVERIFY(d->isVisible()); // stays open for the next one
                // The window behind it is refilled at once.
                QVERIFY(h.node(u"1199"_s));
            });
        QCOMPARE(opened, u"tz::TopLevelAccountDialog"_s);
        QCOMPARE(h.node(u"1199"_s)->text(0), u"1199 预付保证金"_s);
        QCOMPARE(h.stored(u"1199"_s, u"拼音"_s), u"YFBZJ"_s);
        QVERIFY(h.gridRow(u"1199"_s) >= 0);
        QCOMPARE(changed.count(), 1);
        QCOMPARE(h.window->accountClass(), 1);
    }

    void fromThePickerChangesShowEveryClass()
    {
        Harness h;
        h.window->setOpenedFromPicker(true);
        press(h.window.get(), u"Command11"_s);
        h.doubleClick(u"5001"_s);
        type(h.field(4), u"商品销售"_s);
        press(h.window.get(), u"Command1"_s);
        QVERIFY(h.exists(u"5001001"_s));
        QCOMPARE(h.window->accountClass(), 0);
        QVERIFY(h.node(u"1001"_s) && h.node(u"5001001"_s));
        QCOMPARE(h.tree()->currentItem(), h.node(u"5001"_s));
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

    // The attribute grid's striping, on a grid of its own: header colour,
    // alternating rows, current cell; an empty grid is left alone.
    void stripedGrid()
    {
        QTableWidget grid(5, 3);
        grid.setItem(1, 1, new QTableWidgetItem(u"已有"_s));
        tz::StripeGrid(&grid);
        for (int row = 0; row < 5; ++row) {
            for (int column = 0; column < 3; ++column)
                QCOMPARE(grid.item(row, column)->background().color(),
                    row % 2 == 0 ? QColor(240, 255, 255) : QColor(215, 255, 215));
        }
        QCOMPARE(grid.item(1, 1)->text(), u"已有"_s); // contents untouched
        QCOMPARE(QPoint(grid.currentColumn(), grid.currentRow()), QPoint(0, 0));
        QVERIFY(grid.horizontalHeader()->styleSheet().contains(u"rgb(210,210,253)"_s));

        QTableWidget empty(0, 4);
        tz::StripeGrid(&empty);
        QVERIFY(empty.horizontalHeader()->styleSheet().isEmpty());
        tz::StripeGrid(nullptr);
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
        const QSize hint = h.window->sizeHint();
        QVERIFY(h.window->width() >= hint.width() && h.window->height() >= hint.height());
        saveScreenshot(h.window.get(), u"chartwindow.png"_s);

        tz::TopLevelAccountDialog dialog(h.set.session(), h.dialogs, h.window.get());
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        saveScreenshot(&dialog, u"toplevelaccountdialog.png"_s);
    }
};

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    tz::setUpApplication(app);
    ChartWindowTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "chartwindow_test.moc"
