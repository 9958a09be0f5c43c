// The picker windows: what a pick hands to the voucher grid or the query
// window, the account picker's search list (by mouse and by Enter), class
// buttons and 设置, and the phrase and cash-flow item pickers' add, delete
// and double-click wiring.
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
using tz::test::child;
using tz::test::press;
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

QLineEdit *edit(QWidget *w, const QString &name) { return child<QLineEdit>(w, name); }
QLineEdit *searchBox(QWidget *w) { return edit(w, u"Text3"_s); }
// The account picker's search list, the phrase and item pickers' list.
QListWidget *list(QWidget *w) { return child<QListWidget>(w, u"List1"_s); }
QTreeWidget *tree(QWidget *w) { return child<QTreeWidget>(w, u"TreeView1"_s); }

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

} // namespace

class PickersTest : public QObject {
    Q_OBJECT

private slots:
    void searchListClassButtonsAndSettings()
    {
        tz::test::TestSet set;
        tz::test::ScriptedDialogs dialogs;
        tz::AccountPicker picker(set.session(), dialogs);
        picker.show();
        QVERIFY(QTest::qWaitForWindowExposed(&picker));
        QListWidget *hits = list(&picker);
        QVERIFY(!hits->isVisible());

        type(searchBox(&picker), u"kcxj"_s);
        QVERIFY(hits->isVisible());
        QCOMPARE(texts(hits), QStringList {u"1001 库存现金"_s});
        // A search without hits, or an emptied box, hides the list.
        type(searchBox(&picker), u"现'金"_s);
        QVERIFY(!hits->isVisible());
        type(searchBox(&picker), u"1001"_s);
        searchBox(&picker)->clear();
        QVERIFY(!hits->isVisible());

        // The class buttons filter the tree; Command2 shows every class again.
        press(&picker, u"Command4"_s);
        QCOMPARE(picker.accountClass(), 2);
        QVERIFY(!node(tree(&picker), u"1001"_s) && node(tree(&picker), u"2221"_s));
        press(&picker, u"Command2"_s);
        QVERIFY(node(tree(&picker), u"1001"_s) && node(tree(&picker), u"5001"_s));

        // 设置 opens the chart window, then shows every class afresh.
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
        QTest::mouseClick(settings, Qt::LeftButton);
        QCOMPARE(opened, 1);
        QCOMPARE(picker.accountClass(), 0);
        QCOMPARE(node(tree(&picker), u"1001001"_s)->parent(), node(tree(&picker), u"1001"_s));
        QVERIFY(dialogs.messages.isEmpty());
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
        QCOMPARE(delivered.at(1).first, u"2221001001"_s);
        QCOMPARE(delivered.at(1).second,
            (tz::AccountLookup {u"2221001001 应交税费/应交增值税/进项税额"_s, u"应交税费/应交增值税/进项税额"_s,
                u"贷"_s, u"吨"_s, u"A级"_s}));
        QCOMPARE(grid.lines, QStringList(10)); // the voucher grid is no longer the target
    }

    void phrasesAreAddedDeletedAndHandedToTheLine()
    {
        tz::test::TestSet set;
        tz::test::ScriptedDialogs dialogs({true});
        QStringList delivered;
        tz::PhrasePicker w(set.session(), dialogs);
        w.pickFor([&delivered](const QString &phrase) { delivered.append(phrase); });
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        const int before = list(&w)->count();

        type(edit(&w, u"Text2"_s), u"付王'记货款"_s);
        press(&w, u"Command1"_s);
        QVERIFY(edit(&w, u"Text2"_s)->text().isEmpty());
        QVERIFY(texts(list(&w)).contains(u"付王'记货款"_s));

        // A click chooses the phrase to delete; Yes deletes it.
        click(list(&w), u"付王'记货款"_s);
        QCOMPARE(edit(&w, u"Text2"_s)->text(), u"付王'记货款"_s);
        press(&w, u"Command2"_s);
        QCOMPARE(dialogs.questions.size(), 1);
        QCOMPARE(list(&w)->count(), before);
        QVERIFY(edit(&w, u"Text2"_s)->text().isEmpty());
        QVERIFY(delivered.isEmpty());

        // A double-click hands the phrase to the voucher line and closes.
        click(list(&w), u"计提工资"_s);
        saveScreenshot(&w, u"phrasepicker.png"_s);
        click(list(&w), u"存入银行"_s, true);
        QCOMPARE(delivered, QStringList {u"存入银行"_s});
        QVERIFY(!w.isVisible());

        // Enter picks the current phrase as a double-click does.
        w.show();
        list(&w)->setFocus();
        list(&w)->setCurrentRow(0);
        QTest::keyClick(list(&w), Qt::Key_Return);
        QCOMPARE(delivered.size(), 2);
        QCOMPARE(delivered.last(), list(&w)->item(0)->text());
        QVERIFY(!w.isVisible());
        QVERIFY(dialogs.messages.isEmpty());
    }

    void itemPickerMaintenanceAndDoubleClick()
    {
        tz::test::TestSet set;
        tz::test::ScriptedDialogs dialogs({true});
        QStringList delivered;
        tz::CashFlowPicker w(set.session(), dialogs);
        w.pickFor([&delivered](const QString &code) { delivered.append(code); });
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        saveScreenshot(&w, u"cashflowpicker-narrow.png"_s);
        const int narrow = w.width();
        const int before = list(&w)->count();
        QVERIFY(!edit(&w, u"Text3"_s)->isVisible());

        // The maintenance toggle widens the window and shows the fields.
        press(&w, u"Command1"_s);
        QVERIFY(w.isMaintenanceShown());
        QVERIFY(edit(&w, u"Text3"_s)->isVisible());
        QVERIFY(w.width() > narrow);
        saveScreenshot(&w, u"cashflowpicker.png"_s);

        // The code field takes digits only; an added item sorts by code.
        QTest::keyClicks(edit(&w, u"Text3"_s), u"1a-1.b 5"_s);
        QCOMPARE(edit(&w, u"Text3"_s)->text(), u"115"_s);
        type(edit(&w, u"Text4"_s), u"支付的'其他'现金"_s);
        press(&w, u"Command3"_s);
        QVERIFY(edit(&w, u"Text3"_s)->text().isEmpty());
        QVERIFY(edit(&w, u"Text4"_s)->text().isEmpty());
        const QStringList lines = texts(list(&w));
        QCOMPARE(lines.size(), before + 1);
        QCOMPARE(lines.at(lines.indexOf(u"115 支付的'其他'现金"_s) - 1).left(3), u"114"_s);

        // A click chooses the item to delete; Yes deletes it.
        click(list(&w), u"115 "_s);
        QCOMPARE(edit(&w, u"Text3"_s)->text(), u"115"_s);
        press(&w, u"Command2"_s);
        QCOMPARE(dialogs.questions.size(), 1);
        QCOMPARE(list(&w)->count(), before);
        QVERIFY(delivered.isEmpty());

        press(&w, u"Command1"_s);
        QVERIFY(!edit(&w, u"Text3"_s)->isVisible());
        QCOMPARE(w.width(), narrow);

        // A double-click hands the item to the voucher line and closes.
        click(list(&w), u"212 "_s, true);
        QCOMPARE(delivered, QStringList {u"212"_s});
        QVERIFY(!w.isVisible());
        QVERIFY(dialogs.messages.isEmpty());
    }

    // Voucher picks: tree picks take detail accounts only; each pick fills
    // the next line, and on the grid's last line appends one. The picture
    // shows the picker opened for a voucher.
    void voucherPicksAndScreenshot()
    {
        tz::test::TestSet set;
        tz::test::ScriptedDialogs dialogs;
        GridTarget grid;
        tz::AccountPicker picker(set.session(), dialogs);
        picker.pickForVoucher(grid, 10);
        picker.setChartOpener([] {});
        picker.show();
        QVERIFY(QTest::qWaitForWindowExposed(&picker));

        doubleClick(tree(&picker), u"2221001"_s); // has sub-accounts
        QCOMPARE(grid.lines, QStringList(10));
        doubleClick(tree(&picker), u"2221001002"_s);
        pickBySearch(&picker, u"1001"_s, u"1001 库存现金"_s);
        QCOMPARE(grid.appended, 2);
        QCOMPARE(grid.lines.mid(8),
            (QStringList {QString(), u"2221001002 应交税费/应交增值税/销项税额"_s, u"1001 库存现金"_s, QString()}));
        QCOMPARE(picker.nextLine(), 12);
        // The picker stays open, its list hidden and its search box empty.
        QVERIFY(picker.isVisible());
        QVERIFY(!list(&picker)->isVisible());
        QVERIFY(searchBox(&picker)->text().isEmpty());

        QTreeWidgetItem *item = node(tree(&picker), u"2221001001"_s);
        tree(&picker)->setCurrentItem(item);
        tree(&picker)->scrollToItem(item, QAbstractItemView::PositionAtCenter);
        saveScreenshot(&picker, u"accountpicker.png"_s);

        // Enter in the search box takes its only hit; with several it goes
        // into the list, where Enter takes the first.
        type(searchBox(&picker), u"kcxj"_s);
        QTest::keyClick(searchBox(&picker), Qt::Key_Return);
        QCOMPARE(grid.lines.value(11), u"1001 库存现金"_s);
        QVERIFY(searchBox(&picker)->text().isEmpty());
        type(searchBox(&picker), u"1002"_s);
        QTest::keyClick(searchBox(&picker), Qt::Key_Return);
        QCOMPARE(picker.nextLine(), 13);
        QVERIFY(list(&picker)->hasFocus());
        QTest::keyClick(list(&picker), Qt::Key_Return);
        QCOMPARE(grid.lines.value(12), u"1002001 银行存款/人民币户"_s);
    }
};

TZ305_WINDOW_TEST_MAIN(PickersTest)

#include "pickers_test.moc"
