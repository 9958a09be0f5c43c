// The voucher entry window: its start state, keying a voucher with the
// editor and the account search list, F7 balancing, the pick rules, Enter
// and Delete, saving and browsing, the year rule on the posting buttons,
// the next-number label, closing a month, and its opening from the main
// window.
#include <memory>

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <QToolButton>
#include <QtTest>

#include <sqlite3.h>

#include "shell/ui/application.h"
#include "shell/ui/mainwindow.h"
#include "store/session.h"
#include "tests/ledgers/ledgersupport.h"
#include "tests/support/scripteddialogs.h"
#include "tests/support/testset.h"
#include "tests/support/uitest.h"
#include "vouchers/ui/voucherwindow.h"

using namespace Qt::Literals::StringLiterals;
using tz::Icon;
using tz::VoucherGrid;
using tz::VoucherWindow;
using tz::test::Message;
using tz::test::child;
using tz::test::commitText;
using tz::test::runModal;
using tz::test::saveScreenshot;

namespace {

struct Harness
{
    explicit Harness(QList<bool> answers = {})
        : dialogs(std::move(answers))
        , window(std::make_unique<VoucherWindow>(set.session(), dialogs))
    {
        window->show();
        // Keys and shortcuts go to the active window, as a user's do.
        if (!QTest::qWaitForWindowActive(window.get()))
            qFatal("the voucher window did not become active");
    }

    QTableWidget *grid() const { return child<QTableWidget>(window.get(), u"Grid1"_s); }
    QLineEdit *field(const QString &name) const { return child<QLineEdit>(window.get(), name); }
    QLineEdit *editor() const { return field(u"Text7"_s); }
    QListWidget *hits() const { return child<QListWidget>(window.get(), u"List1"_s); }
    QComboBox *combo(const QString &name) const { return child<QComboBox>(window.get(), name); }
    QPushButton *button(const QString &name) const { return child<QPushButton>(window.get(), name); }
    void press(const QString &name) const { QTest::mouseClick(button(name), Qt::LeftButton); }
    QString cell(int line, int column) const { return grid()->item(line - 1, column)->text(); }

    // Makes (line, column) current with the grid focused.
    void select(int line, int column) const
    {
        grid()->setFocus();
        grid()->setCurrentCell(line - 1, column);
    }
    // Types keys into the cell: the first opens the editor, which takes the rest.
    void typeKeys(int line, int column, const QString &keys) const
    {
        select(line, column);
        QTest::keyClicks(grid(), keys.left(1));
        QTest::keyClicks(editor(), keys.mid(1));
    }
    // Chooses an account through the search list.
    void chooseAccount(int line, const QString &typed) const
    {
        typeKeys(line, VoucherGrid::AccountColumn, typed);
        QListWidget *list = hits();
        if (!list->isVisible() || list->count() == 0)
            qFatal("no search hits for %s", qPrintable(typed));
        emit list->itemActivated(list->item(0));
    }

    tz::test::TestSet set;
    tz::test::ScriptedDialogs dialogs;
    std::unique_ptr<VoucherWindow> window;
};

} // namespace

class VoucherWindowTest : public QObject {
    Q_OBJECT

private slots:
    void startsOnTheFiscalYearWithABlankGrid()
    {
        Harness h;
        QCOMPARE(h.window->windowTitle(), u"TZ305财务--凭证录入         F7功能: 选择窗口/借贷找平"_s);
        QCOMPARE(h.field(u"Text3"_s)->text(), u"主管"_s);
        QComboBox *reviewer = h.combo(u"Combo1"_s);
        QCOMPARE(reviewer->count(), 3);
        QCOMPARE(reviewer->currentText(), QString());
        QCOMPARE(h.combo(u"Combo2"_s)->currentText(), u"记"_s);
        const QDate date = child<QDateEdit>(h.window.get(), u"DTPicker1"_s)->date();
        QCOMPARE(date.year(), 2024);
        QCOMPARE(date.month(), 1);
        QCOMPARE(h.grid()->rowCount(), 10);
        QCOMPARE(h.grid()->horizontalHeaderItem(3)->text(), u"数 量    (外币)"_s);
        QCOMPARE(h.cell(10, 0), u"10"_s);
        QCOMPARE(h.field(u"Text1"_s)->text(), u"0.00"_s);
        // A fresh window offers the month's next number.
        QCOMPARE(h.field(u"Text4"_s)->text(), u"1"_s);
        h.set.session().execSql(u"INSERT INTO 分录表 (ID, 月, 号码, 科目代码, 借方金额) "
                                "VALUES (8030001001, 3, 1, '1001', 5), (8030002001, 3, 2, '1001', 5)"_s);
        const VoucherWindow march(h.set.session(), h.dialogs);
        QCOMPARE(child<QLineEdit>(&march, u"Text4"_s)->text(), u"3"_s);
        // 期末调汇 (Alt+T, shown in its tip) needs a voucher number first.
        QCOMPARE(h.button(u"Command4"_s)->toolTip(), u"Alt+T"_s);
        h.field(u"Text4"_s)->clear();
        QTest::keyClick(h.window.get(), Qt::Key_T, Qt::AltModifier);
        QTRY_COMPARE(h.dialogs.messages, (QList<Message>{{u"凭证号不能为空"_s, u"TZ305提示"_s, Icon::Critical}}));
        h.dialogs.messages.clear();

        // The label "凭证号:" (or Alt+H) gives the next number and toggles its shade.
        QLabel *label = child<QLabel>(h.window.get(), u"Label7"_s);
        QCOMPARE(label->toolTip(), u"点击取得最后新号码 (Alt+H)"_s);
        QTest::keyClick(h.window.get(), Qt::Key_H, Qt::AltModifier);
        QCOMPARE(h.field(u"Text4"_s)->text(), u"1"_s);
        QVERIFY(h.window->isNumberLabelShaded());
        QTest::mouseClick(label, Qt::LeftButton);
        QVERIFY(!h.window->isNumberLabelShaded());

        // Number boxes take digits only.
        QTest::keyClicks(h.field(u"Text5"_s), u"2a-.3"_s);
        QCOMPARE(h.field(u"Text5"_s)->text(), u"23"_s);

        QTest::mouseClick(h.field(u"Text6"_s), Qt::LeftButton);
        QCOMPARE(h.dialogs.messages.size(), 1);
        QVERIFY(h.dialogs.messages.first().text.startsWith(u"1.出现与凭证号有关的提示时，请点[凭证号]\n\n2."_s));
        QCOMPARE(h.dialogs.messages.first().title, u"TZ305"_s);
    }

    // Header, two lines, balancing and saving with key events only.
    void aWholeVoucherIsKeyedWithoutTheMouse()
    {
        Harness h;
        QWidget *w = h.window.get();
        QApplication::setActiveWindow(w);
        const auto tabTo = [&](QWidget *target) {
            for (int i = 0; i < 12 && QApplication::focusWidget() != target; ++i)
                QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : w, Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), target);
        };
        const auto key = [&](Qt::Key k, Qt::KeyboardModifiers m = {}) { QTest::keyClick(QApplication::focusWidget(), k, m); };
        // Each key goes where the focus is when it is typed, as a user's keys do.
        const auto keys = [&](const QString &text) {
            for (const QChar c : text)
                QTest::keyClicks(QApplication::focusWidget(), QString(c));
        };

        tabTo(h.field(u"Text4"_s));
        keys(u"1"_s);
        QComboBox *reviewer = h.combo(u"Combo1"_s);
        tabTo(reviewer);
        key(Qt::Key_Down); // the first operator
        QVERIFY(!reviewer->currentText().isEmpty());
        tabTo(h.grid());
        QCOMPARE(h.grid()->currentColumn(), int(VoucherGrid::SummaryColumn));
        QCOMPARE(h.grid()->currentRow(), 0);

        commitText(h.grid(), u"提现"_s);
        key(Qt::Key_Escape);
        key(Qt::Key_Right);
        keys(u"kcxj"_s);
        QVERIFY(h.hits()->isVisible());
        QVERIFY(!h.hits()->geometry().intersects(QRect(h.editor()->mapTo(w, QPoint()), h.editor()->size())));
        key(Qt::Key_Return); // takes the first account and moves on to the debit
        QCOMPARE(h.cell(1, VoucherGrid::AccountColumn), u"1001 库存现金"_s);
        QCOMPARE(h.grid()->currentColumn(), int(VoucherGrid::DebitColumn));
        keys(u"100"_s);
        key(Qt::Key_Return); // down to line 2, same column
        QCOMPARE(h.grid()->currentRow(), 1);
        QCOMPARE(h.grid()->currentColumn(), int(VoucherGrid::DebitColumn));
        key(Qt::Key_Left);
        key(Qt::Key_Left);
        keys(u"rmb"_s);
        key(Qt::Key_Down); // into the list
        QCOMPARE(QApplication::focusWidget(), h.hits());
        key(Qt::Key_Return);
        QCOMPARE(h.cell(2, VoucherGrid::AccountColumn), u"1002001 银行存款/人民币户"_s);
        key(Qt::Key_Right);
        key(Qt::Key_F7);
        QCOMPARE(h.cell(2, VoucherGrid::CreditColumn), u"100.00"_s);
        key(Qt::Key_Home, Qt::ControlModifier);
        QCOMPARE(h.grid()->currentRow(), 0);
        key(Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(h.dialogs.messages.last(), (Message{u"凭证保存成功"_s, u"TZ305系统"_s, Icon::Information}));
        QCOMPARE(h.set.session().RunSql(u"SELECT count(*) FROM 分录表 WHERE 号码 = 1"_s).value(0, 0).toInt(), 2);
    }

    void keyingFollowsTheEditorRules()
    {
        Harness h;
        // An amount before the account is refused.
        h.typeKeys(1, VoucherGrid::DebitColumn, u"5"_s);
        QCOMPARE(h.cell(1, VoucherGrid::DebitColumn), QString());

        // The search list offers detail accounts by code, pinyin or name.
        h.typeKeys(1, VoucherGrid::AccountColumn, u"xj"_s);
        QVERIFY(h.hits()->isVisible());
        QCOMPARE(h.hits()->item(0)->text(), u"1001 库存现金"_s);
        QCOMPARE(h.cell(1, VoucherGrid::AccountColumn), QString()); // typing never writes the cell
        emit h.hits()->itemActivated(h.hits()->item(0));
        QVERIFY(!h.hits()->isVisible());
        QCOMPARE(h.cell(1, VoucherGrid::AccountColumn), u"1001 库存现金"_s);

        // Amount keys: digits, one point, a leading minus.
        h.typeKeys(1, VoucherGrid::CreditColumn, u"3a0.0.-0"_s);
        QCOMPARE(h.editor()->text(), u"30.00"_s);
        QCOMPARE(h.cell(1, VoucherGrid::CreditColumn), u"30.00"_s);
        h.typeKeys(1, VoucherGrid::CreditColumn, u"300"_s);
        QCOMPARE(h.field(u"Text2"_s)->text(), u"300.00"_s);

        // Chinese goes through the input method into the summary.
        h.select(1, VoucherGrid::SummaryColumn);
        commitText(h.grid(), u"提现"_s);
        QCOMPARE(h.cell(1, VoucherGrid::SummaryColumn), u"提现"_s);

        // F7 in the second line's empty debit balances the voucher.
        h.chooseAccount(2, u"1002"_s);
        h.select(2, VoucherGrid::DebitColumn);
        QTest::keyClick(h.grid(), Qt::Key_F7);
        QCOMPARE(h.cell(2, VoucherGrid::DebitColumn), u"300.00"_s);
        QCOMPARE(h.field(u"Text1"_s)->text(), u"300.00"_s);

        // Enter moves down, and in the last line adds a numbered line.
        h.typeKeys(2, VoucherGrid::QuantityColumn, u"4"_s);
        QTest::keyClick(h.editor(), Qt::Key_Return);
        QCOMPARE(h.grid()->currentRow() + 1, 3);
        h.typeKeys(10, VoucherGrid::SummaryColumn, u"x"_s);
        QTest::keyClick(h.editor(), Qt::Key_Return);
        QCOMPARE(h.grid()->rowCount(), 11);
        QCOMPARE(h.cell(11, 0), u"11"_s);

        // F2 opens the editor on the cell's text.
        h.typeKeys(4, VoucherGrid::SummaryColumn, u"y"_s);
        QTest::keyClick(h.editor(), Qt::Key_Escape);
        QVERIFY(!h.editor()->isVisible());
        QTest::keyClick(h.grid(), Qt::Key_F2);
        QVERIFY(h.editor()->isVisible());
        QCOMPARE(h.editor()->text(), u"y"_s);
        QTest::keyClick(h.editor(), Qt::Key_Escape);

        // Delete on an account takes the line's amounts with it.
        h.select(2, VoucherGrid::AccountColumn);
        QTest::keyClick(h.grid(), Qt::Key_Delete);
        QCOMPARE(h.cell(2, VoucherGrid::DebitColumn), QString());
        QCOMPARE(h.field(u"Text1"_s)->text(), u"0.00"_s);
        QVERIFY(h.dialogs.messages.isEmpty());

        // Ctrl+V pastes as typing does: an amount formatted on a line with an
        // account and left out on one without, text an amount refuses left
        // out, and the account column searched, not written.
        const auto paste = [&h](const QString &text, int line, int column) {
            QApplication::clipboard()->setText(text);
            h.select(line, column);
            QTest::keyClick(h.grid(), Qt::Key_V, Qt::ControlModifier);
        };
        paste(u"12.5\r\n"_s, 1, VoucherGrid::DebitColumn);
        QCOMPARE(h.cell(1, VoucherGrid::DebitColumn), u"12.50"_s);
        QCOMPARE(h.field(u"Text1"_s)->text(), u"12.50"_s);
        paste(u"7"_s, 3, VoucherGrid::DebitColumn);
        QCOMPARE(h.cell(3, VoucherGrid::DebitColumn), QString());
        paste(u"4a"_s, 1, VoucherGrid::CreditColumn);
        QCOMPARE(h.cell(1, VoucherGrid::CreditColumn), u"300.00"_s);
        paste(u"kcxj"_s, 3, VoucherGrid::AccountColumn);
        QCOMPARE(h.hits()->count(), 1);
        QCOMPARE(h.hits()->item(0)->text(), u"1001 库存现金"_s);
        QCOMPARE(h.cell(3, VoucherGrid::AccountColumn), QString());

        // Escape closes the search list, then the editor, then the window.
        QTest::keyClick(h.editor(), Qt::Key_Escape);
        QVERIFY(!h.hits()->isVisible() && h.editor()->isVisible());
        QTest::keyClick(h.editor(), Qt::Key_Escape);
        QVERIFY(!h.editor()->isVisible() && h.window->isVisible());
        QTest::keyClick(h.grid(), Qt::Key_Escape);
        QVERIFY(!h.window->isVisible());
    }

    void pickRulesOpenTheRightWindow()
    {
        Harness h;
        const auto pickAt = [&h](int line, int column) {
            h.select(line, column);
            return runModal([&] { QTest::keyClick(h.grid(), Qt::Key_F7); });
        };
        QCOMPARE(pickAt(1, VoucherGrid::AccountColumn), u"tz::AccountPicker"_s);
        QCOMPARE(pickAt(3, VoucherGrid::SummaryColumn), u"tz::PhrasePicker"_s);
        QCOMPARE(pickAt(2, VoucherGrid::FlowCodeColumn), u"tz::CashFlowPicker"_s);
        // A new line starts only directly below a line with an account.
        QCOMPARE(pickAt(3, VoucherGrid::AccountColumn), QString());
        h.chooseAccount(2, u"1001"_s);
        QCOMPARE(pickAt(3, VoucherGrid::AccountColumn), u"tz::AccountPicker"_s);
        QCOMPARE(pickAt(2, VoucherGrid::QuantityColumn), QString());
    }

    // 期末调汇: the USD account's balance up to the month, the foreign and
    // book balances and the rate typed over it, the recomputed difference
    // and the voucher posted as the next number with one attachment.
    void revaluesTheForeignCurrencyAccount()
    {
        Harness h({true});
        h.set.session().execSql(u"INSERT INTO 分录表 (ID, 摘要说明, 科目代码, 数量, 借方金额) "
                                "VALUES (8000000001, '年初余额', '1002002', 1000, 6800)"_s);
        h.field(u"Text4"_s)->setText(u"1"_s);
        h.field(u"Text5"_s)->setText(u"3"_s);
        QString shown;
        const QString opened = runModal([&] { h.press(u"Command4"_s); }, [&](QWidget *modal) {
            auto *grid = child<QTableWidget>(modal, u"DataGrid1"_s);
            // A key on a cell opens its editor with that key; Enter stores it.
            const auto typeCell = [grid](int column, const QString &keys) {
                grid->setFocus();
                grid->setCurrentCell(0, column);
                QTest::keyClicks(grid, keys.left(1));
                QTest::keyClicks(QApplication::focusWidget(), keys.mid(1));
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
            };
            typeCell(2, u"1,100"_s);
            typeCell(3, u"7150.5"_s);
            typeCell(4, u"6.5"_s);
            QTest::mouseClick(child<QPushButton>(modal, u"Command1"_s), Qt::LeftButton);
            for (int c = 0; c < grid->columnCount(); ++c)
                shown += grid->item(0, c)->text() + u'|';
            auto *against = child<QComboBox>(modal, u"Combo1"_s);
            against->setCurrentIndex(against->findText(u"5603001 财务费用/利息"_s));
            saveScreenshot(modal, u"revaluationwindow.png"_s);
            QTest::mouseClick(child<QPushButton>(modal, u"Command3"_s), Qt::LeftButton);
        });
        QCOMPARE(opened, u"tz::RevaluationWindow"_s);
        QCOMPARE(shown, u"1002002|银行存款/美元户|1,100.00|7,150.50|6.5|7,150.00|0.50|"_s);
        QCOMPARE(h.dialogs.messages, (QList<Message>{{u"凭证保存成功,请检查凭证是否正确!!"_s, u"TZ305提示"_s,
                                                      Icon::Information}}));
        QCOMPARE(tz::test::table(h.set.session(), u"SELECT 号码, 附件, 科目代码, 借方金额, 贷方金额, 审核 FROM 分录表 "
                                                  "WHERE 摘要说明 = '调整汇兑损益 ' ORDER BY ID"_s),
                 (QStringList{u"1|1|5603001|0.5||主管"_s, u"1|1|1002002||0.5|主管"_s}));
        QCOMPARE(h.field(u"Text4"_s)->text(), u"2"_s);
    }

    void savesBrowsesAndClosesAMonth()
    {
        Harness h({true});
        QSignalSpy closed(h.window.get(), &VoucherWindow::closedMonthsChanged);
        h.combo(u"Combo1"_s)->setCurrentText(u"会计"_s);
        h.field(u"Text4"_s)->setText(u"1"_s);
        h.select(1, VoucherGrid::SummaryColumn);
        commitText(h.grid(), u"销售商品"_s);
        h.chooseAccount(1, u"1002"_s);
        h.typeKeys(1, VoucherGrid::DebitColumn, u"1130"_s);
        h.chooseAccount(2, u"5001"_s);
        h.typeKeys(2, VoucherGrid::CreditColumn, u"1000"_s);
        h.chooseAccount(3, u"2221001002"_s);
        h.select(3, VoucherGrid::CreditColumn);
        QTest::keyClick(h.grid(), Qt::Key_F7);
        QCOMPARE(h.cell(3, VoucherGrid::CreditColumn), u"130.00"_s);

        h.press(u"Command14"_s);
        QCOMPARE(h.dialogs.messages.value(0), (Message{u"凭证保存成功"_s, u"TZ305系统"_s, Icon::Information}));
        QCOMPARE(h.field(u"Text4"_s)->text(), u"2"_s);
        QCOMPARE(h.cell(1, VoucherGrid::AccountColumn), QString());

        // A second save with a stale number shades the label.
        h.field(u"Text4"_s)->setText(u"5"_s);
        h.chooseAccount(1, u"1001"_s);
        h.press(u"Command14"_s);
        QVERIFY(h.window->isNumberLabelShaded());

        h.press(u"Command10"_s); // 首条
        QCOMPARE(h.field(u"Text4"_s)->text(), u"1"_s);
        QCOMPARE(h.cell(2, VoucherGrid::AccountColumn), u"5001 主营业务收入"_s);
        QCOMPARE(h.cell(3, VoucherGrid::SummaryColumn), u"销售商品"_s);
        QCOMPARE(h.field(u"Text1"_s)->text(), u"1,130.00"_s);
        QCOMPARE(h.field(u"Text2"_s)->text(), u"1,130.00"_s);
        saveScreenshot(h.window.get(), u"voucherwindow.png"_s);

        // Past the last voucher the box takes the largest number back.
        h.dialogs.messages.clear();
        h.press(u"Command11"_s); // 下一
        QCOMPARE(h.dialogs.messages.value(0), (Message{u"已经是最后一条了"_s, u"TZ305"_s, Icon::None}));
        QCOMPARE(h.field(u"Text4"_s)->text(), u"1"_s);

        // Closing the month writes the transfer voucher and tells the main window.
        h.dialogs.messages.clear();
        h.press(u"Command16"_s);
        QCOMPARE(h.dialogs.messages.value(0).text, u"收入/费用已成功结转！并自动生成最后一张凭证"_s);
        QCOMPARE(closed.count(), 1);
        h.press(u"Command13"_s); // 末条
        QCOMPARE(h.field(u"Text4"_s)->text(), u"2"_s);
        QCOMPARE(h.cell(1, VoucherGrid::SummaryColumn), u"结转本期损益"_s);

        // Each step stages its voucher in one transaction (one commit, the
        // step's whole cost on a full month); a refused 下一 leaves the
        // staging table empty.
        int commits = 0;
        sqlite3 *db = h.set.session().mainConnection().handle();
        sqlite3_commit_hook(db, [](void *count) { return ++*static_cast<int *>(count), 0; }, &commits);
        h.press(u"Command12"_s); // 上一
        QCOMPARE(h.field(u"Text4"_s)->text(), u"1"_s);
        h.press(u"Command11"_s); // 下一
        QCOMPARE(h.field(u"Text4"_s)->text(), u"2"_s);
        QCOMPARE(tz::test::table(h.set.session(), u"SELECT DISTINCT 号码 FROM 分录始表"_s), QStringList{u"2"_s});
        h.press(u"Command11"_s);
        sqlite3_commit_hook(db, nullptr, nullptr);
        QCOMPARE(commits, 3);
        QCOMPARE(tz::test::table(h.set.session(), u"SELECT count(*) FROM 分录始表"_s), QStringList{u"0"_s});
    }

    void postingButtonsFollowTheYear()
    {
        Harness h;
        auto *date = child<QDateEdit>(h.window.get(), u"DTPicker1"_s);
        date->setDate(QDate(2025, 1, 15));
        QCOMPARE(h.dialogs.messages.value(0), (Message{u"会计年度不一致"_s, u"TZ305"_s, Icon::None}));
        for (const QString &name : {u"Command14"_s, u"Command3"_s, u"Command2"_s, u"Command1"_s})
            QVERIFY2(!h.button(name)->isEnabled(), qPrintable(name));
        date->setDate(QDate(2024, 3, 1));
        QCOMPARE(h.dialogs.messages.size(), 1);
        QVERIFY(h.button(u"Command14"_s)->isEnabled());
    }

    void mainWindowOpensItModally()
    {
        tz::test::TestSet set;
        tz::test::ScriptedDialogs dialogs;
        tz::MainWindow main(set.session(), dialogs);
        main.show();
        const QString opened = runModal([&] { child<QToolButton>(&main, u"凭证录入"_s)->click(); });
        QCOMPARE(opened, u"tz::VoucherWindow"_s);
        QCOMPARE(runModal([&] { child<QAction>(&main, u"凭录"_s)->trigger(); }), u"tz::VoucherWindow"_s);
        // Esc closes it, and the main window has the focus again.
        bool closed = false;
        runModal([&] { child<QToolButton>(&main, u"凭证录入"_s)->click(); }, [&closed](QWidget *window) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
            closed = window->isHidden();
        });
        QVERIFY(closed);
        QTRY_COMPARE(QApplication::activeWindow(), &main);
    }
};

TZ305_WINDOW_TEST_MAIN(VoucherWindowTest)

#include "voucherwindow_test.moc"
