// The summary-phrase and cash-flow item windows: adding and deleting through
// their controls with the messages the user sees, handing the choice to the
// voucher line, the digits-only code field and the maintenance toggle.
#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QtTest>

#include "accounts/ui/cashflowpicker.h"
#include "accounts/ui/phrasepicker.h"
#include "shell/ui/application.h"
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

QLineEdit *edit(QWidget *w, const QString &name)
{
    return child<QLineEdit>(w, name);
}

QListWidget *list(QWidget *w)
{
    return child<QListWidget>(w, u"List1"_s);
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

QListWidgetItem *itemStartingWith(QListWidget *l, const QString &start)
{
    const QList<QListWidgetItem *> found = l->findItems(start, Qt::MatchStartsWith);
    if (found.isEmpty())
        qFatal("no item %s", qPrintable(start));
    return found.first();
}

void click(QListWidget *l, const QString &start, bool twice = false)
{
    QListWidgetItem *item = itemStartingWith(l, start);
    l->scrollToItem(item);
    const QPoint at = l->visualItemRect(item).center();
    if (twice)
        doubleClickAt(l->viewport(), at);
    else
        QTest::mouseClick(l->viewport(), Qt::LeftButton, {}, at);
}

} // namespace

class PhraseCashFlowTest : public QObject {
    Q_OBJECT

private slots:
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

    void maintenanceToggleWidensAndNarrows()
    {
        tz::test::TestSet set;
        tz::test::ScriptedDialogs dialogs;
        tz::CashFlowPicker w(set.session(), dialogs);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QCOMPARE(w.windowTitle(), u"双击选择项目"_s);
        QCOMPARE(child<QPushButton>(&w, u"Command1"_s)->toolTip(), u"项目增减处理"_s);
        const int narrow = w.width();
        QVERIFY(!w.isMaintenanceShown());
        QVERIFY(!edit(&w, u"Text3"_s)->isVisible());

        press(&w, u"Command1"_s);
        QVERIFY(w.isMaintenanceShown());
        QVERIFY(edit(&w, u"Text3"_s)->isVisible());
        QVERIFY(edit(&w, u"Text4"_s)->isVisible());
        QVERIFY(w.width() > narrow);
        saveScreenshot(&w, u"cashflowpicker.png"_s);

        press(&w, u"Command1"_s);
        QVERIFY(!w.isMaintenanceShown());
        QVERIFY(!edit(&w, u"Text3"_s)->isVisible());
        QCOMPARE(w.width(), narrow);
        // Every item's line is shown whole while narrow.
        QListWidget *items = list(&w);
        QVERIFY(items->sizeHintForColumn(0) <= items->viewport()->width());
    }

    void codeFieldTakesDigitsOnly()
    {
        tz::test::TestSet set;
        tz::test::ScriptedDialogs dialogs;
        tz::CashFlowPicker w(set.session(), dialogs);
        w.show();
        press(&w, u"Command1"_s);
        QLineEdit *code = edit(&w, u"Text3"_s);
        QTest::keyClicks(code, u"1a-2.b 3"_s);
        QCOMPARE(code->text(), u"123"_s);
        type(code, u"一二"_s);
        QVERIFY(code->text().isEmpty());
        QTest::keyClicks(code, u"45"_s);
        QTest::keyClick(code, Qt::Key_Backspace); // a mistyped digit can be corrected
        QCOMPARE(code->text(), u"4"_s);
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

    void itemDoubleClickFillsTheLineAndCloses()
    {
        tz::test::TestSet set;
        tz::test::ScriptedDialogs dialogs;
        QStringList delivered;
        tz::CashFlowPicker w(set.session(), dialogs);
        w.pickFor([&delivered](const QString &code) { delivered.append(code); });
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        saveScreenshot(&w, u"cashflowpicker-narrow.png"_s);
        click(list(&w), u"212 "_s, true);
        QCOMPARE(delivered, QStringList {u"212"_s});
        QVERIFY(!w.isVisible());
        QVERIFY(dialogs.messages.isEmpty());
    }
};

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    tz::setUpApplication(app);
    PhraseCashFlowTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "phrasecashflow_test.moc"
