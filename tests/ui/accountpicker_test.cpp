// The account picker: how voucher picks fill consecutive lines and append
// lines, the class buttons and the search list, the values a query-window
// pick delivers, and 设置 refilling the tree.
#include <functional>

#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTreeWidget>
#include <QtTest>

#include "accounts/subaccount.h"
#include "accounts/ui/accountpicker.h"
#include "shell/ui/application.h"
#include "store/lookupaccount.h"
#include "store/session.h"
#include "tests/support/scripteddialogs.h"
#include "tests/support/testset.h"
#include "tests/support/uitest.h"

using namespace Qt::Literals::StringLiterals;
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

QLineEdit *searchBox(QWidget *w)
{
    return child<QLineEdit>(w, u"Text3"_s);
}

QListWidget *searchList(QWidget *w)
{
    return child<QListWidget>(w, u"List1"_s);
}

QTreeWidget *tree(QWidget *w)
{
    return child<QTreeWidget>(w, u"TreeView1"_s);
}

QStringList listTexts(QListWidget *list)
{
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts.append(list->item(i)->text());
    return texts;
}

void doubleClick(QListWidget *list, const QString &text)
{
    const QList<QListWidgetItem *> found = list->findItems(text, Qt::MatchExactly);
    QVERIFY2(!found.isEmpty(), qPrintable(text));
    list->scrollToItem(found.first());
    doubleClickAt(list->viewport(), list->visualItemRect(found.first()).center());
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
    doubleClick(searchList(picker), itemText);
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

class AccountPickerTest : public QObject {
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
        QVERIFY(!searchList(&picker)->isVisible());
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

    void searchListFollowsTheSearchBox()
    {
        tz::test::TestSet set;
        tz::test::ScriptedDialogs dialogs;
        tz::AccountPicker picker(set.session(), dialogs);
        picker.show();
        QVERIFY(QTest::qWaitForWindowExposed(&picker));
        QListWidget *list = searchList(&picker);
        QVERIFY(!list->isVisible());

        // Names and initials hold no digits: 1001 finds the detail accounts
        // whose code contains it.
        type(searchBox(&picker), u"1001"_s);
        QVERIFY(list->isVisible());
        QStringList expected;
        tz::ResultSet rows = set.session().RunSql(
            u"SELECT 科目代码 || ' ' || 科目全称 FROM 科目表 WHERE 明细 = 'Y' AND instr(科目代码, '1001') > 0 "
            "ORDER BY 科目代码"_s);
        for (; !rows.eof(); rows.moveNext())
            expected.append(rows.field(0).toString());
        QVERIFY(expected.size() > 2);
        QCOMPARE(listTexts(list), expected);

        type(searchBox(&picker), u"现金"_s);
        QVERIFY(listTexts(list).contains(u"1001 库存现金"_s));
        type(searchBox(&picker), u"kcxj"_s);
        QCOMPARE(listTexts(list), QStringList {u"1001 库存现金"_s});

        // A quote is ordinary text; a search without hits hides the list.
        type(searchBox(&picker), u"现'金"_s);
        QVERIFY(!list->isVisible());
        type(searchBox(&picker), u"1001"_s);
        QVERIFY(list->isVisible());
        searchBox(&picker)->clear();
        QVERIFY(!list->isVisible());
        QCOMPARE(list->count(), 0);
        QVERIFY(dialogs.messages.isEmpty());
    }

    void classButtonsFilterTheTree()
    {
        tz::test::TestSet set;
        tz::test::ScriptedDialogs dialogs;
        tz::AccountPicker picker(set.session(), dialogs);
        picker.show();
        QVERIFY(QTest::qWaitForWindowExposed(&picker));

        const QStringList all = treeCodes(tree(&picker));
        QCOMPARE(all.size(), set.session().RunSql(u"SELECT count(*) FROM 科目表"_s).value(0, 0).toInt());
        QVERIFY(child<QPushButton>(&picker, u"Command2"_s)->isChecked());

        const QStringList buttons = {u"Command3"_s, u"Command4"_s, u"Command5"_s, u"Command6"_s, u"Command7"_s};
        for (int accountClass = 1; accountClass <= 5; ++accountClass) {
            QTest::mouseClick(child<QPushButton>(&picker, buttons.at(accountClass - 1)), Qt::LeftButton);
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
        QTest::mouseClick(child<QPushButton>(&picker, u"Command2"_s), Qt::LeftButton);
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
        QVERIFY(!searchList(&picker)->isVisible());
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
        QTest::mouseClick(child<QPushButton>(&picker, u"Command7"_s), Qt::LeftButton);
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
    AccountPickerTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "accountpicker_test.moc"
