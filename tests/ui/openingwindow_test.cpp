// The opening-balance window Form9: edits written when the row is left
// (Enter, another row, the load, closing), the amount keys, the wheel, the
// trial balance shown on loading, and its opening from the settings window.
#include <memory>

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <QToolButton>
#include <QWheelEvent>
#include <QtTest>

#include "accounts/ui/openingbalancewindow.h"
#include "maintenance/ui/settingswindow.h"
#include "shell/ui/application.h"
#include "shell/ui/mainwindow.h"
#include "store/session.h"
#include "tests/support/scripteddialogs.h"
#include "tests/support/testset.h"
#include "tests/support/uitest.h"

using namespace Qt::Literals::StringLiterals;
using tz::OpeningBalanceWindow;
using tz::test::child;
using tz::test::press;
using tz::test::saveScreenshot;

namespace {

QTableWidget *grid(QWidget *w)
{
    return child<QTableWidget>(w, u"DataGrid1"_s);
}

QString field(QWidget *w, const QString &name)
{
    return child<QLineEdit>(w, name)->text();
}

int rowOf(QWidget *w, const QString &code)
{
    QTableWidget *g = grid(w);
    for (int row = 0; row < g->rowCount(); ++row) {
        if (g->item(row, OpeningBalanceWindow::CodeColumn)->text() == code)
            return row;
    }
    qFatal("no row %s", qPrintable(code));
}

QString cell(QWidget *w, const QString &code, int column)
{
    return grid(w)->item(rowOf(w, code), column)->text();
}

// Makes the cell current and types keys into it: the first key opens the
// cell's editor, which takes the rest.
void typeInto(QWidget *w, const QString &code, int column, const QString &keys)
{
    QTableWidget *g = grid(w);
    g->setFocus();
    g->setCurrentCell(rowOf(w, code), column);
    QTest::keyClicks(g, keys.left(1));
    QWidget *editor = QApplication::focusWidget();
    if (!editor || editor == g)
        qFatal("no cell editor");
    QTest::keyClicks(editor, keys.mid(1));
}

void clickCell(QWidget *w, int row, int column)
{
    QTableWidget *g = grid(w);
    g->scrollToItem(g->item(row, column));
    QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, g->visualItemRect(g->item(row, column)).center());
}

// The stored working copy of one account: 数量, 借方金额, 贷方金额.
QVariantList stored(tz::Session &s, const QString &code)
{
    tz::ResultSet r = s.RunSql(u"SELECT 数量, 借方金额, 贷方金额 FROM 科目表 WHERE 科目代码 = ?"_s, {code});
    return {r.field(0), r.field(1), r.field(2)};
}

// A shown window on a fresh set with its accounts listed.
struct Harness {
    explicit Harness(QList<bool> answers = {})
        : dialogs(std::move(answers))
        , window(set.session(), dialogs)
    {
        window.show();
        window.activateWindow();
        if (!QTest::qWaitForWindowActive(&window))
            qFatal("window not active");
        press(&window, u"Command1"_s);
    }

    tz::test::TestSet set;
    tz::test::ScriptedDialogs dialogs;
    OpeningBalanceWindow window;
};

} // namespace

class OpeningWindowTest : public QObject {
    Q_OBJECT

private slots:
    void editsAreWrittenWhenTheRowIsLeft()
    {
        Harness h;
        tz::Session &s = h.set.session();

        // Enter writes the row and moves to the next one.
        typeInto(&h.window, u"1001"_s, OpeningBalanceWindow::DebitColumn, u"1234.5"_s);
        QVERIFY(stored(s, u"1001"_s).at(1).isNull()); // still being edited
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(stored(s, u"1001"_s), (QVariantList {QVariant(), 1234.5, QVariant()}));
        QCOMPARE(cell(&h.window, u"1001"_s, OpeningBalanceWindow::DebitColumn), u"1,234.50"_s);
        QCOMPARE(grid(&h.window)->currentRow(), rowOf(&h.window, u"1001"_s) + 1);

        // Two cells of one row, written once the user clicks another row.
        typeInto(&h.window, u"3001"_s, OpeningBalanceWindow::QuantityColumn, u"3"_s);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab); // to the debit cell of the same row
        QCOMPARE(grid(&h.window)->currentColumn(), int(OpeningBalanceWindow::DebitColumn));
        typeInto(&h.window, u"3001"_s, OpeningBalanceWindow::CreditColumn, u"2.5"_s);
        QVERIFY(stored(s, u"3001"_s).at(0).isNull());
        clickCell(&h.window, 0, OpeningBalanceWindow::NameColumn);
        QCOMPARE(stored(s, u"3001"_s), (QVariantList {3.0, QVariant(), 2.5}));

        // A stored amount is edited without group separators.
        QTableWidget *g = grid(&h.window);
        g->setCurrentCell(rowOf(&h.window, u"1001"_s), OpeningBalanceWindow::DebitColumn);
        QTest::keyClick(g, Qt::Key_F2);
        auto *editor = qobject_cast<QLineEdit *>(QApplication::focusWidget());
        QVERIFY(editor);
        QCOMPARE(editor->text(), u"1234.50"_s);

        // Amount cells take only number keys.
        QTest::keyClick(editor, Qt::Key_Escape);
        typeInto(&h.window, u"1122"_s, OpeningBalanceWindow::DebitColumn, u"-1a2-.5.x3"_s);
        editor = qobject_cast<QLineEdit *>(QApplication::focusWidget());
        QVERIFY(editor);
        QCOMPARE(editor->text(), u"-12.53"_s);
        QTest::keyClick(editor, Qt::Key_Return);
        QCOMPARE(stored(s, u"1122"_s).at(1), QVariant(-12.53));
        QVERIFY(h.dialogs.messages.isEmpty());

        // One wheel notch moves the current row by two; a larger step only scrolls.
        g->setCurrentCell(5, OpeningBalanceWindow::DebitColumn);
        g->setFocus();
        const QPoint at = g->viewport()->rect().center();
        const auto wheel = [&](int delta) {
            QWheelEvent event(at, g->viewport()->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
                Qt::NoModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(g->viewport(), &event);
        };
        wheel(-120);
        QCOMPARE(g->currentRow(), 7);
        wheel(120);
        QCOMPARE(g->currentRow(), 5);
        wheel(-240);
        QCOMPARE(g->currentRow(), 5);
    }

    void showingTheAccountsTrialBalanceAndLoad()
    {
        tz::test::TestSet set;
        tz::test::ScriptedDialogs dialogs({true});
        set.session().execSql(u"UPDATE 科目表 SET 借方金额 = 1234.5, 数量 = 2.5 WHERE 科目代码 = '1403'"_s);
        OpeningBalanceWindow w(set.session(), dialogs);
        w.show();
        w.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        QVERIFY(!child<QPushButton>(&w, u"Command2"_s)->isEnabled());
        press(&w, u"Command1"_s);
        QVERIFY(child<QPushButton>(&w, u"Command2"_s)->isEnabled());
        QCOMPARE(cell(&w, u"1403"_s, OpeningBalanceWindow::DebitColumn), u"1,234.50"_s);
        QCOMPARE(cell(&w, u"1403"_s, OpeningBalanceWindow::CreditColumn), QString()); // NULL is no 0.00
        // Code, name and direction are not editable.
        for (int column = 0; column < OpeningBalanceWindow::ColumnCount; ++column) {
            const bool editable = grid(&w)->item(rowOf(&w, u"1403"_s), column)->flags() & Qt::ItemIsEditable;
            QCOMPARE(editable, column >= OpeningBalanceWindow::QuantityColumn);
        }

        // 2,234.50 against 2,234.49: refused before any question.
        typeInto(&w, u"1001"_s, OpeningBalanceWindow::DebitColumn, u"1000"_s);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        typeInto(&w, u"3001"_s, OpeningBalanceWindow::CreditColumn, u"2234.49"_s);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        press(&w, u"Command2"_s);
        QCOMPARE(field(&w, u"Text1"_s), u"2,234.50"_s);
        QCOMPARE(field(&w, u"Text2"_s), u"2,234.49"_s);
        QCOMPARE(field(&w, u"Text3"_s), u"不平衡"_s);
        QCOMPARE(dialogs.messages.size(), 1);
        QVERIFY(dialogs.questions.isEmpty());

        // The cell still being edited counts: balanced, then Yes loads.
        typeInto(&w, u"3001"_s, OpeningBalanceWindow::CreditColumn, u"2234.5"_s);
        press(&w, u"Command2"_s);
        QCOMPARE(field(&w, u"Text3"_s), u"平衡"_s);
        QCOMPARE(dialogs.questions.size(), 1);
        QCOMPARE(dialogs.messages.size(), 2);
        QCOMPARE(set.session().RunSql(u"SELECT count(*) FROM 分录表 WHERE ID LIKE '800%'"_s).value(0, 0).toInt(), 3);

        // Showing the accounts again empties the totals.
        press(&w, u"Command1"_s);
        QVERIFY(field(&w, u"Text3"_s).isEmpty());
    }

    void closingWritesTheEditedRow()
    {
        tz::test::TestSet set;
        tz::test::ScriptedDialogs dialogs;
        {
            OpeningBalanceWindow w(set.session(), dialogs);
            QTimer::singleShot(0, &w, [&w] {
                w.activateWindow();
                QVERIFY(QTest::qWaitForWindowActive(&w));
                press(&w, u"Command1"_s);
                typeInto(&w, u"2202"_s, OpeningBalanceWindow::CreditColumn, u"88"_s);
                press(&w, u"Command5"_s);
            });
            w.exec();
            QVERIFY(!w.isVisible());
        }
        QCOMPARE(stored(set.session(), u"2202"_s).at(2), QVariant(88.0));

        // Destroyed with its parent while a cell editor is open: the edit is
        // written, nothing crashes.
        {
            auto parent = std::make_unique<QWidget>();
            auto *w = new OpeningBalanceWindow(set.session(), dialogs, parent.get());
            w->show();
            w->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(w));
            press(w, u"Command1"_s);
            typeInto(w, u"2202"_s, OpeningBalanceWindow::CreditColumn, u"99"_s);
        }
        QCOMPARE(stored(set.session(), u"2202"_s).at(2), QVariant(99.0));
    }

    void settingsButtonOpensTheWindowInItsPlace()
    {
        tz::test::TestSet set;
        tz::test::ScriptedDialogs dialogs;
        set.session().setCompanyName(u"华新"_s);
        tz::MainWindow main(set.session(), dialogs);
        main.show();

        QStringList seen;
        QTimer poll;
        poll.setInterval(20);
        connect(&poll, &QTimer::timeout, &poll, [&] {
            QWidget *modal = QApplication::activeModalWidget();
            if (auto *settings = qobject_cast<tz::SettingsWindow *>(modal)) {
                if (!seen.contains(u"settings"_s)) {
                    seen.append(u"settings"_s);
                    // Pressed once this poll is over: the new window's own
                    // loop would block the poll otherwise.
                    QTimer::singleShot(0, settings, [settings] { press(settings, u"Command3"_s); });
                }
            } else if (auto *opening = qobject_cast<OpeningBalanceWindow *>(modal)) {
                poll.stop();
                seen.append(opening->windowTitle());
                // The settings window is closed underneath.
                for (QWidget *top : QApplication::topLevelWidgets()) {
                    if (qobject_cast<tz::SettingsWindow *>(top))
                        QVERIFY(!top->isVisible());
                }
                QVERIFY(!child<QPushButton>(opening, u"Command2"_s)->isEnabled());
                press(opening, u"Command5"_s);
            }
        });
        poll.start();
        QTest::mouseClick(main.findChild<QToolButton *>(u"系统设置"_s), Qt::LeftButton);
        QCOMPARE(seen, QStringList({u"settings"_s, u"年初余额处理"_s}));
        QVERIFY(!QApplication::activeModalWidget());
        QVERIFY(dialogs.messages.isEmpty());
    }

    void screenshot()
    {
        Harness h({false});
        tz::Session &s = h.set.session();
        s.execSql(u"UPDATE 科目表 SET 借方金额 = 52000 WHERE 科目代码 = '1002001'"_s);
        s.execSql(u"UPDATE 科目表 SET 借方金额 = 3180.5 WHERE 科目代码 = '1001'"_s);
        s.execSql(u"UPDATE 科目表 SET 借方金额 = 12600, 数量 = 3.5 WHERE 科目代码 = '1403'"_s);
        s.execSql(u"UPDATE 科目表 SET 贷方金额 = 67780.5 WHERE 科目代码 = '3001'"_s);
        press(&h.window, u"Command1"_s);
        press(&h.window, u"Command2"_s);
        QCOMPARE(field(&h.window, u"Text3"_s), u"平衡"_s);
        grid(&h.window)->setCurrentCell(2, OpeningBalanceWindow::DebitColumn);
        saveScreenshot(&h.window, u"openingwindow.png"_s);
    }
};

TZ305_WINDOW_TEST_MAIN(OpeningWindowTest)

#include "openingwindow_test.moc"
