// The picker windows. The account picker: how voucher picks fill
// consecutive lines and append lines, the class buttons and the search
// list, the values a query-window pick delivers, and 设置 refilling the
// tree. The summary-phrase and cash-flow item pickers: adding and deleting
// through their controls with the messages the user sees, handing the
// choice to the voucher line, the digits-only code field and the
// maintenance toggle.
#include <functional>

#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTreeWidget>
#include <QtTest>

#include "accounts/subaccount.h"
#include "accounts/ui/accountpicker.h"
#include "accounts/ui/cashflowpicker.h"
#include "accounts/ui/phrasepicker.h"
#include "shell/ui/application.h"
#include "store/lookupaccount.h"
#include "store/session.h"
#include "tests/support/scripteddialogs.h"
#include "tests/support/testset.h"
#include "tests/support/uitest.h"

using namespace Qt::Literals::StringLiterals;
using tz::Icon;
using tz::test::Message;
using tz::test::child;
using tz::test::doubleClickAt;
using tz::test::saveScreenshot;
using tz::test::type;

namespace {

// The voucher grid as the picker sees it: ten entry lines (an 11-row grid).
struct GridTarget : tz::AccountPickTarget {
    QStringList lines = QStringList(10);
    int appended = 0;

    int lineCount() const override { return int(lines.size()); }
    void appendLine() override
    {
        lines.append(QString());
        ++appended;
    }
    void setAccountText(int line, const QString &text) override { lines[line - 1] = text; }
};

QLineEdit *edit(QWidget *w, const QString &name)
{
    return child<QLineEdit>(w, name);
}

QLineEdit *searchBox(QWidget *w)
{
    return edit(w, u"Text3"_s);
}

// The account picker's search list, the phrase and item pickers' list.
QListWidget *list(QWidget *w)
{
    return child<QListWidget>(w, u"List1"_s);
}

QTreeWidget *tree(QWidget *w)
{
    return child<QTreeWidget>(w, u"TreeView1"_s);
}

void press(QWidget *w, const QString &button)
{
    QTest::mouseClick(child<QPushButton>(w, button), Qt::LeftButton);
}

QStringList texts(QListWidget *l)
{
    QStringList result;
    for (int i = 0; i < l->count(); ++i)
        result.append(l->item(i)->text());
    return result;
}

// Clicks, or double-clicks, the first item starting with `start`.
void click(QListWidget *l, const QString &start, bool twice = false)
{
    const QList<QListWidgetItem *> found = l->findItems(start, Qt::MatchStartsWith);
    if (found.isEmpty())
        qFatal("no item %s", qPrintable(start));
    l->scrollToItem(found.first());
    const QPoint at = l->visualItemRect(found.first()).center();
    if (twice)
        doubleClickAt(l->viewport(), at);
    else
        QTest::mouseClick(l->viewport(), Qt::LeftButton, {}, at);
}

QTreeWidgetItem *node(QTreeWidget *tree, const QString &code)
{
    const QList<QTreeWidgetItem *> found = tree->findItems(code + u' ', Qt::MatchStartsWith | Qt::MatchRecursive);
    return found.isEmpty() ? nullptr : found.first();
}

void doubleClick(QTreeWidget *tree, const QString &code)
{
    QTreeWidgetItem *item = node(tree, code);
    QVERIFY2(item, qPrintable(code));
    for (QTreeWidgetItem *p = item->parent(); p; p = p->parent())
        p->setExpanded(true);
    tree->scrollToItem(item);
    tree->setCurrentItem(item);
    doubleClickAt(tree->viewport(), tree->visualItemRect(item).center());
}

// Picks `code` through the search list: type it, double-click its item.
void pickBySearch(QWidget *picker, const QString &code, const QString &itemText)
{
    type(searchBox(picker), code);
    click(list(picker), itemText, true);
}

// Every code in the tree, depth first.
QStringList treeCodes(QTreeWidget *tree)
{
    QStringList codes;
    std::function<void(QTreeWidgetItem *)> walk = [&](QTreeWidgetItem *item) {
        codes.append(item->text(0).section(u' ', 0, 0));
        for (int i = 0; i < item->childCount(); ++i)
            walk(item->child(i));
    };
    for (int i = 0; i < tree->topLevelItemCount(); ++i)
        walk(tree->topLevelItem(i));
    return codes;
}

} // namespace

class PickersTest : public QObject {
    Q_OBJECT

private slots:
    void voucherPicksAdvanceAndAppendLines_data()
    {
        QTest::addColumn<int>("startLine");
        QTest::addColumn<int>("picks");
        QTest::addColumn<QList<int>>("filledLines");
        QTest::addColumn<int>("lineCount");
        QTest::addColumn<int>("nextLine");

        // Line 10 is the last of an 11-row grid: each pick appends a line.
        QTest::newRow("last line appends") << 10 << 2 << QList<int> {10, 11} << 12 << 12;
        QTest::newRow("middle lines") << 3 << 3 << QList<int> {3, 4, 5} << 10 << 6;
        QTest::newRow("reaching the end") << 9 << 2 << QList<int> {9, 10} << 11 << 11;
        // Beyond the grid nothing is written and the line stays.
        QTest::newRow("past the grid") << 12 << 2 << QList<int> {} << 10 << 12;
    }

    void voucherPicksAdvanceAndAppendLines()
    {
        QFETCH(int, startLine);
        QFETCH(int, picks);
        QFETCH(QList<int>, filledLines);
        QFETCH(int, lineCount);
        QFETCH(int, nextLine);

        tz::test::TestSet set;
        tz::test::ScriptedDialogs dialogs;
        GridTarget grid;
        tz::AccountPicker picker(set.session(), dialogs);
        picker.pickForVoucher(grid, startLine);
        picker.show();
        QVERIFY(QTest::qWaitForWindowExposed(&picker));
        QCOMPARE(picker.caller(), tz::AccountPicker::Caller::Voucher);

        for (int i = 0; i < picks; ++i)
            pickBySearch(&picker, u"1001"_s, u"1001 库存现金"_s);

        QCOMPARE(grid.lineCount(), lineCount);
        QCOMPARE(picker.nextLine(), nextLine);
        for (int line = 1; line <= grid.lineCount(); ++line) {
            const QString expected = filledLines.contains(line) ? u"1001 库存现金"_s : QString();
            QCOMPARE(grid.lines.at(line - 1), expected);
        }
        // The picker stays open, its list hidden and its search box empty.
        QVERIFY(picker.isVisible());
        QVERIFY(!list(&picker)->isVisible());
        QVERIFY(searchBox(&picker)->text().isEmpty());
        QVERIFY(dialogs.messages.isEmpty());
    }

    void treePicksForTheVoucherTakeDetailAccountsOnly()
    {
        tz::test::TestSet set;
        tz::test::ScriptedDialogs dialogs;
        GridTarget grid;
        tz::AccountPicker picker(set.session(), dialogs);
        picker.pickForVoucher(grid, 1);
        picker.show();
        QVERIFY(QTest::qWaitForWindowExposed(&picker));

        // 2221 and 2221001 have sub-accounts: nothing is written.
        doubleClick(tree(&picker), u"2221"_s);
        doubleClick(tree(&picker), u"2221001"_s);
        QCOMPARE(picker.nextLine(), 1);
        QCOMPARE(grid.lines, QStringList(10));

        // A detail account is written with its name path.
        doubleClick(tree(&picker), u"2221001002"_s);
        doubleClick(tree(&picker), u"1002001"_s);
        QCOMPARE(grid.lines.at(0), u"2221001002 应交税费/应交增值税/销项税额"_s);
        QCOMPARE(grid.lines.at(1), u"1002001 银行存款/人民币户"_s);
        QCOMPARE(picker.nextLine(), 3);
        QCOMPARE(grid.appended, 0);
    }

    void searchListAndClassButtons()
    {
        tz::test::TestSet set;
        tz::test::ScriptedDialogs dialogs;
        tz::AccountPicker picker(set.session(), dialogs);
        picker.show();
        QVERIFY(QTest::qWaitForWindowExposed(&picker));
        QListWidget *hits = list(&picker);
        QVERIFY(!hits->isVisible());

        // Names and initials hold no digits: 1001 finds the detail accounts
        // whose code contains it.
        type(searchBox(&picker), u"1001"_s);
        QVERIFY(hits->isVisible());
        QStringList expected;
        tz::ResultSet rows = set.session().RunSql(
            u"SELECT 科目代码 || ' ' || 科目全称 FROM 科目表 WHERE 明细 = 'Y' AND instr(科目代码, '1001') > 0 "
            "ORDER BY 科目代码"_s);
        for (; !rows.eof(); rows.moveNext())
            expected.append(rows.field(0).toString());
        QVERIFY(expected.size() > 2);
        QCOMPARE(texts(hits), expected);

        type(searchBox(&picker), u"现金"_s);
        QVERIFY(texts(hits).contains(u"1001 库存现金"_s));
        type(searchBox(&picker), u"kcxj"_s);
        QCOMPARE(texts(hits), QStringList {u"1001 库存现金"_s});

        // A quote is ordinary text; a search without hits hides the list.
        type(searchBox(&picker), u"现'金"_s);
        QVERIFY(!hits->isVisible());
        type(searchBox(&picker), u"1001"_s);
        QVERIFY(hits->isVisible());
        searchBox(&picker)->clear();
        QVERIFY(!hits->isVisible());
        QCOMPARE(hits->count(), 0);
        QVERIFY(dialogs.messages.isEmpty());

        // The class buttons filter the tree.
        const QStringList all = treeCodes(tree(&picker));
        QCOMPARE(all.size(), set.session().RunSql(u"SELECT count(*) FROM 科目表"_s).value(0, 0).toInt());
        QVERIFY(child<QPushButton>(&picker, u"Command2"_s)->isChecked());

        const QStringList buttons = {u"Command3"_s, u"Command4"_s, u"Command5"_s, u"Command6"_s, u"Command7"_s};
        for (int accountClass = 1; accountClass <= 5; ++accountClass) {
            press(&picker, buttons.at(accountClass - 1));
            QCOMPARE(picker.accountClass(), accountClass);
            const QStringList codes = treeCodes(tree(&picker));
            QVERIFY(!codes.isEmpty());
            for (const QString &code : codes)
                QVERIFY2(code.startsWith(QString::number(accountClass)), qPrintable(code));
            int expected = 0;
            for (const QString &code : all)
                expected += code.startsWith(QString::number(accountClass)) ? 1 : 0;
            QCOMPARE(codes.size(), expected);
        }
        QCOMPARE(child<QPushButton>(&picker, u"Command7"_s)->text(), u"损益"_s);
        press(&picker, u"Command2"_s);
        QCOMPARE(treeCodes(tree(&picker)), all);
    }

    void queryPicksDeliverTheLookedUpValues()
    {
        tz::test::TestSet set;
        tz::test::ScriptedDialogs dialogs;
        set.session().execSql(u"UPDATE 科目表 SET 单位 = '吨', 规格 = 'A级' WHERE 科目代码 = '2221001001'"_s);
        QList<QPair<QString, tz::AccountLookup>> delivered;
        GridTarget grid;
        tz::AccountPicker picker(set.session(), dialogs);
        picker.pickForVoucher(grid, 1); // the later call decides
        picker.pickForQuery([&delivered](const QString &code, const tz::AccountLookup &values) {
            delivered.append({code, values});
        });
        picker.show();
        QVERIFY(QTest::qWaitForWindowExposed(&picker));
        QCOMPARE(picker.caller(), tz::AccountPicker::Caller::Query);

        // Any tree node counts for the query window, one with children too.
        doubleClick(tree(&picker), u"2221"_s);
        pickBySearch(&picker, u"进项税额"_s, u"2221001001 应交税费/应交增值税/进项税额"_s);

        QCOMPARE(delivered.size(), 2);
        QCOMPARE(delivered.at(0).first, u"2221"_s);
        QCOMPARE(delivered.at(0).second,
            (tz::AccountLookup {u"2221 应交税费"_s, u"应交税费"_s, u"贷"_s, QString(), QString()}));
        QCOMPARE(delivered.at(1).first, u"2221001001"_s);
        QCOMPARE(delivered.at(1).second,
            (tz::AccountLookup {u"2221001001 应交税费/应交增值税/进项税额"_s, u"应交税费/应交增值税/进项税额"_s,
                u"贷"_s, u"吨"_s, u"A级"_s}));
        QVERIFY(!list(&picker)->isVisible());
        QVERIFY(searchBox(&picker)->text().isEmpty());
        QCOMPARE(grid.lines, QStringList(10)); // the voucher grid is no longer the target
    }

    void settingsOpensTheChartAndRefillsAllClasses()
    {
        tz::test::TestSet set;
        tz::test::ScriptedDialogs dialogs;
        tz::AccountPicker picker(set.session(), dialogs);
        picker.show();
        QVERIFY(QTest::qWaitForWindowExposed(&picker));
        QPushButton *settings = child<QPushButton>(&picker, u"Command8"_s);
        QVERIFY(!settings->isEnabled()); // no chart window to open

        int opened = 0;
        picker.setChartOpener([&] {
            ++opened;
            // What the chart window would do: add a sub-account.
            QVERIFY(
                tz::AddDetailAccount(set.session(), {u"1001"_s, u"001"_s, u"人民币"_s, u"借"_s, {}}, dialogs).isDone());
        });
        QVERIFY(settings->isEnabled());
        press(&picker, u"Command7"_s);
        QCOMPARE(picker.accountClass(), 5);
        QTest::mouseClick(settings, Qt::LeftButton);
        QCOMPARE(opened, 1);
        QCOMPARE(picker.accountClass(), 0);
        QVERIFY(child<QPushButton>(&picker, u"Command2"_s)->isChecked());
        QTreeWidgetItem *added = node(tree(&picker), u"1001001"_s);
        QVERIFY(added);
        QCOMPARE(added->text(0), u"1001001 人民币"_s);
        QCOMPARE(added->parent()->text(0), u"1001 库存现金"_s);
        QVERIFY(dialogs.messages.isEmpty());
    }

    void phrasesAreAddedAndDeletedThroughTheWindow()
    {
        tz::test::TestSet set;
        tz::test::ScriptedDialogs dialogs({false, true});
        tz::PhrasePicker w(set.session(), dialogs);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QCOMPARE(w.windowTitle(), u"请双击选择摘要"_s);
        const QStringList before = texts(list(&w));
        QVERIFY(before.contains(u"提取现金"_s));

        press(&w, u"Command1"_s);
        type(edit(&w, u"Text2"_s), u"提取现金"_s);
        press(&w, u"Command1"_s);
        QCOMPARE(dialogs.messages,
            (QList<Message> {{u"名称不能为空！"_s, u"TZ305"_s, Icon::None},
                {u"名称重复,不能增加"_s, u"TZ305提示"_s, Icon::Critical}}));
        QCOMPARE(texts(list(&w)), before);
        QCOMPARE(edit(&w, u"Text2"_s)->text(), u"提取现金"_s);

        // With a trailing blank it is another phrase; an apostrophe is text.
        type(edit(&w, u"Text2"_s), u"提取现金 "_s);
        press(&w, u"Command1"_s);
        type(edit(&w, u"Text2"_s), u"付王'记货款"_s);
        press(&w, u"Command1"_s);
        QCOMPARE(dialogs.messages.size(), 2);
        QVERIFY(edit(&w, u"Text2"_s)->text().isEmpty());
        QCOMPARE(list(&w)->count(), before.size() + 2);
        QVERIFY(texts(list(&w)).contains(u"提取现金 "_s));

        // A click chooses the phrase to delete; No keeps it, Yes deletes it.
        click(list(&w), u"付王'记货款"_s);
        QCOMPARE(edit(&w, u"Text2"_s)->text(), u"付王'记货款"_s);
        press(&w, u"Command2"_s);
        QCOMPARE(dialogs.questions.last(), Message({u"是否删除：付王'记货款?"_s, u"tz305"_s, Icon::Question}));
        QVERIFY(texts(list(&w)).contains(u"付王'记货款"_s));
        press(&w, u"Command2"_s);
        QCOMPARE(dialogs.questions.size(), 2);
        QVERIFY(!texts(list(&w)).contains(u"付王'记货款"_s));
        QVERIFY(edit(&w, u"Text2"_s)->text().isEmpty());

        press(&w, u"Command2"_s);
        QCOMPARE(dialogs.messages.last(), Message({u"请单击选择要删除的内容"_s, u"TZ305"_s, Icon::None}));
        QCOMPARE(dialogs.questions.size(), 2);
        QCOMPARE(set.session().RunSql(u"SELECT count(*) FROM 摘要"_s).value(0, 0).toInt(), before.size() + 1);
    }

    void phraseDoubleClickFillsTheLineAndCloses()
    {
        tz::test::TestSet set;
        tz::test::ScriptedDialogs dialogs;
        QStringList delivered;
        {
            tz::PhrasePicker w(set.session(), dialogs);
            w.pickFor([&delivered](const QString &phrase) { delivered.append(phrase); });
            w.show();
            QVERIFY(QTest::qWaitForWindowExposed(&w));
            const QSize hint = w.sizeHint();
            QVERIFY(w.width() >= hint.width() && w.height() >= hint.height());
            click(list(&w), u"计提工资"_s);
            saveScreenshot(&w, u"phrasepicker.png"_s);
            click(list(&w), u"存入银行"_s, true);
            QCOMPARE(delivered, QStringList {u"存入银行"_s});
            QVERIFY(!w.isVisible());
            QVERIFY(edit(&w, u"Text2"_s)->text().isEmpty());
        }
        {
            // Opened for no line: the double-click only closes.
            tz::PhrasePicker w(set.session(), dialogs);
            w.show();
            QVERIFY(QTest::qWaitForWindowExposed(&w));
            click(list(&w), u"支付货款"_s, true);
            QVERIFY(!w.isVisible());
            QCOMPARE(edit(&w, u"Text2"_s)->text(), u"支付货款"_s);
        }
        QCOMPARE(delivered.size(), 1);
        QVERIFY(dialogs.messages.isEmpty());
    }

    void itemPickerToggleCodeFieldAndDoubleClick()
    {
        tz::test::TestSet set;
        tz::test::ScriptedDialogs dialogs;
        QStringList delivered;
        tz::CashFlowPicker w(set.session(), dialogs);
        w.pickFor([&delivered](const QString &code) { delivered.append(code); });
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        saveScreenshot(&w, u"cashflowpicker-narrow.png"_s);
        QCOMPARE(w.windowTitle(), u"双击选择项目"_s);
        QCOMPARE(child<QPushButton>(&w, u"Command1"_s)->toolTip(), u"项目增减处理"_s);
        const int narrow = w.width();
        QVERIFY(!w.isMaintenanceShown());
        QVERIFY(!edit(&w, u"Text3"_s)->isVisible());

        // The maintenance toggle widens the window and shows the fields.
        press(&w, u"Command1"_s);
        QVERIFY(w.isMaintenanceShown());
        QVERIFY(edit(&w, u"Text3"_s)->isVisible());
        QVERIFY(edit(&w, u"Text4"_s)->isVisible());
        QVERIFY(w.width() > narrow);
        saveScreenshot(&w, u"cashflowpicker.png"_s);

        // The code field takes digits only; a mistyped digit can be corrected.
        QLineEdit *code = edit(&w, u"Text3"_s);
        QTest::keyClicks(code, u"1a-2.b 3"_s);
        QCOMPARE(code->text(), u"123"_s);
        type(code, u"一二"_s);
        QVERIFY(code->text().isEmpty());
        QTest::keyClicks(code, u"45"_s);
        QTest::keyClick(code, Qt::Key_Backspace);
        QCOMPARE(code->text(), u"4"_s);

        press(&w, u"Command1"_s);
        QVERIFY(!w.isMaintenanceShown());
        QVERIFY(!edit(&w, u"Text3"_s)->isVisible());
        QCOMPARE(w.width(), narrow);
        // Every item's line is shown whole while narrow.
        QListWidget *items = list(&w);
        QVERIFY(items->sizeHintForColumn(0) <= items->viewport()->width());

        // A double-click hands the item to the voucher line and closes.
        click(list(&w), u"212 "_s, true);
        QCOMPARE(delivered, QStringList {u"212"_s});
        QVERIFY(!w.isVisible());
        QVERIFY(dialogs.messages.isEmpty());
    }

    void itemsAreAddedAndDeletedThroughTheWindow()
    {
        tz::test::TestSet set;
        tz::test::ScriptedDialogs dialogs({true});
        tz::Session &s = set.session();
        s.execSql(
            u"INSERT INTO 分录表 (ID, 科目代码, 借方金额, 流代, 流金) VALUES (8010010001, '1001', 5, '113', 5)"_s);
        tz::CashFlowPicker w(s, dialogs);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        press(&w, u"Command1"_s);
        const int before = list(&w)->count();
        QCOMPARE(texts(list(&w)).first(), u"101 销售产成品、商品、提供劳务收到的现金"_s);

        press(&w, u"Command3"_s);
        QTest::keyClicks(edit(&w, u"Text3"_s), u"12"_s);
        type(edit(&w, u"Text4"_s), u"测试项目"_s);
        press(&w, u"Command3"_s);
        edit(&w, u"Text3"_s)->clear();
        QTest::keyClicks(edit(&w, u"Text3"_s), u"101"_s);
        press(&w, u"Command3"_s);
        QCOMPARE(dialogs.messages,
            (QList<Message> {{u"代码和名称不能为空！"_s, u"TZ305"_s, Icon::None},
                {u"代码为三位数！"_s, u"TZ305"_s, Icon::None},
                {u"代码重复,不能增加"_s, u"TZ305提示"_s, Icon::Critical}}));
        QCOMPARE(list(&w)->count(), before);

        edit(&w, u"Text3"_s)->clear();
        QTest::keyClicks(edit(&w, u"Text3"_s), u"115"_s);
        type(edit(&w, u"Text4"_s), u"支付的'其他'现金"_s);
        press(&w, u"Command3"_s);
        QCOMPARE(dialogs.messages.size(), 3);
        QVERIFY(edit(&w, u"Text3"_s)->text().isEmpty());
        QVERIFY(edit(&w, u"Text4"_s)->text().isEmpty());
        QCOMPARE(list(&w)->count(), before + 1);
        // In code order, after 114.
        const QStringList lines = texts(list(&w));
        QCOMPARE(lines.at(lines.indexOf(u"115 支付的'其他'现金"_s) - 1).left(3), u"114"_s);

        // A code a journal line carries stays; an unused one goes after Yes.
        click(list(&w), u"113 "_s);
        QCOMPARE(edit(&w, u"Text3"_s)->text(), u"113"_s);
        press(&w, u"Command2"_s);
        QCOMPARE(dialogs.messages.last(), Message({u"113  此代码已使用,不能删除!"_s, u"TZ305提示"_s, Icon::Question}));
        QVERIFY(dialogs.questions.isEmpty());
        QCOMPARE(list(&w)->count(), before + 1);

        click(list(&w), u"115 "_s);
        press(&w, u"Command2"_s);
        QCOMPARE(
            dialogs.questions, QList<Message>({{u"是否删除：115 支付的'其他'现金?"_s, u"tz305"_s, Icon::Question}}));
        QCOMPARE(list(&w)->count(), before);
        QVERIFY(edit(&w, u"Text3"_s)->text().isEmpty());
        QVERIFY(s.RunSql(u"SELECT 1 FROM 现流 WHERE 代码 = '115'"_s).eof());

        press(&w, u"Command2"_s);
        QCOMPARE(dialogs.messages.last(), Message({u"请单击选择要删除的内容"_s, u"TZ305"_s, Icon::None}));
    }

    void screenshot()
    {
        tz::test::TestSet set;
        tz::test::ScriptedDialogs dialogs;
        GridTarget grid;
        tz::AccountPicker picker(set.session(), dialogs);
        picker.pickForVoucher(grid, 1);
        picker.setChartOpener([] {});
        picker.show();
        QVERIFY(QTest::qWaitForWindowExposed(&picker));
        const QSize hint = picker.sizeHint();
        QVERIFY(picker.width() >= hint.width() && picker.height() >= hint.height());
        QTreeWidgetItem *item = node(tree(&picker), u"2221001001"_s);
        QVERIFY(item);
        for (QTreeWidgetItem *p = item->parent(); p; p = p->parent())
            p->setExpanded(true);
        tree(&picker)->setCurrentItem(item);
        tree(&picker)->scrollToItem(item, QAbstractItemView::PositionAtCenter);
        saveScreenshot(&picker, u"accountpicker.png"_s);
    }
};

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    tz::setUpApplication(app);
    PickersTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "pickers_test.moc"
