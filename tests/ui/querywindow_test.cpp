// The query window on demonstration books: the account lookup, the format
// dispatch with its marker, grid layout and caption, account steps, the
// balance table and journal buttons, the wheel over the grid, the decimal spinners, the report
// buttons' refusals, and its single MDI child in the main window.
#include <memory>

#include <QComboBox>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QTableView>
#include <QTemporaryDir>
#include <QToolButton>
#include <QWheelEvent>
#include <QtTest>

#include "demo/demobooks.h"
#include "ledgers/ui/querywindow.h"
#include "shell/ui/application.h"
#include "shell/ui/mainwindow.h"
#include "store/offeredname.h"
#include "store/pagedrows.h"
#include "store/session.h"
#include "store/ui/resultgridmodel.h"
#include "tests/support/envguard.h"
#include "tests/support/scripteddialogs.h"
#include "tests/support/testset.h"
#include "tests/support/uitest.h"

using namespace Qt::Literals::StringLiterals;
using tz::Icon;
using tz::QueryWindow;
using tz::test::Message;
using tz::test::child;
using tz::test::saveScreenshot;

namespace {

struct Harness
{
    explicit Harness(QList<bool> answers = {})
        : dialogs(std::move(answers))
    {
        tz::test::ScriptedDialogs yes(QList<bool>(20, true));
        if (!tz::MakeDemoBooks(set.session(), 2024, 4, 7, yes).isDone())
            qFatal("no demonstration books");
        window = std::make_unique<QueryWindow>(set.session(), dialogs, nullptr);
        window->resize(1200, 640);
        window->show();
    }

    QLineEdit *field(const QString &name) const { return child<QLineEdit>(window.get(), name); }
    QString status() const { return child<QLabel>(window.get(), u"Label3"_s)->text(); }
    QTableView *grid() const { return child<QTableView>(window.get(), u"MSH1"_s); }
    const tz::ResultGridModel &rows() const { return window->result(); }
    void press(const QString &name) const { QTest::mouseClick(child<QPushButton>(window.get(), name), Qt::LeftButton); }
    // Presses a button from the keyboard: the focus on it, then Space.
    void key(const QString &name) const
    {
        auto *button = child<QPushButton>(window.get(), name);
        button->setFocus();
        QTest::keyClick(button, Qt::Key_Space);
    }
    void choose(const QString &option) const { child<QRadioButton>(window.get(), option)->setChecked(true); }
    void month(const QString &text) const { child<QComboBox>(window.get(), u"Combo1"_s)->setCurrentText(text); }
    QString lastCell(int column) const { return rows().text(rows().rowCount() - 1, column); }

    tz::test::TestSet set;
    tz::test::ScriptedDialogs dialogs;
    std::unique_ptr<QueryWindow> window;
};

} // namespace

class QueryWindowTest : public QObject {
    Q_OBJECT

private slots:
    void ledgersByFormatWithTheirMarkerAndCaption()
    {
        Harness h;
        QCOMPARE(child<QComboBox>(h.window.get(), u"Combo1"_s)->count(), 14);
        QCOMPARE(h.window->leftMarginText(), u"1"_s);

        h.press(u"Command7"_s);
        QCOMPARE(h.dialogs.messages.value(0), (Message{u"请选择帐簿格式"_s, u"TZ305"_s, Icon::None}));
        QCOMPARE(h.window->marker(), QString());

        h.field(u"Text2"_s)->setText(u"1002001"_s);
        QCOMPARE(h.field(u"Text3"_s)->text(), u"银行存款/人民币户"_s);
        QCOMPARE(h.field(u"Text4"_s)->text(), u"借"_s);
        QCOMPARE(h.field(u"Text6"_s)->text(), u"银行存款"_s);

        h.choose(u"Option1"_s);
        h.press(u"Command7"_s);
        QCOMPARE(h.window->marker(), u"5"_s);
        const int lines = h.rows().rowCount();
        QVERIFY(lines > 10);
        QCOMPARE(h.status(), u"银行存款/人民币户  明细帐   [共%1条记录]"_s.arg(lines));
        QCOMPARE(h.rows().headerData(5, Qt::Horizontal).toString(), u"摘要说明"_s);
        QVERIFY(h.grid()->isColumnHidden(1) && h.grid()->isColumnHidden(4));
        QVERIFY(!h.grid()->isColumnHidden(9));
        QCOMPARE(h.rows().text(0, 0), u"1"_s);
        QCOMPARE(h.lastCell(5), u"结转下年"_s);
        // Amounts are grouped with two decimals.
        QVERIFY(h.lastCell(9).contains(u'.'));

        // 下一 in the general-ledger format goes to the next top-level account.
        h.choose(u"Option2"_s);
        h.press(u"Command8"_s);
        QCOMPARE(h.field(u"Text2"_s)->text(), u"1012"_s);
        QCOMPARE(h.window->marker(), u"6"_s);
        QVERIFY(h.status().contains(u"  总帐   [共"_s));

        // The multi-column ledger of VAT payable: one column per sub-account.
        h.field(u"Text2"_s)->setText(u"2221"_s);
        h.choose(u"Option6"_s);
        h.press(u"Command7"_s);
        QCOMPARE(h.window->marker(), u"8"_s);
        QVERIFY(h.rows().columnCount() > 10);
        QVERIFY(h.rows().headerData(10, Qt::Horizontal).toString().startsWith(u"2221"_s));
        QCOMPARE(h.rows().headerData(6, Qt::Horizontal).toString(), u"借方金额"_s); // not the stored 借方金额1
        saveScreenshot(h.window.get(), u"querywindow-multicolumn.png"_s);

        // A fixed-asset ledger of another account is refused; the grid is emptied.
        h.choose(u"Option5"_s);
        h.press(u"Command7"_s);
        QCOMPARE(h.dialogs.messages.last().icon, Icon::Critical);
        QCOMPARE(h.rows().rowCount(), 0);
    }

    void tablesAndJournals()
    {
        Harness h;
        h.month(u"3"_s);
        child<QComboBox>(h.window.get(), u"Combo2"_s)->setCurrentText(u"2"_s);
        h.press(u"Command3"_s);
        QCOMPARE(h.window->marker(), u"3"_s);
        QVERIFY(h.grid()->isColumnHidden(4)); // quantities hidden in the amount view
        QCOMPARE(h.lastCell(2), u"合  计"_s);
        QCOMPARE(h.status(), u"3 月份金额式余额表  [共%1条记录]"_s.arg(h.rows().rowCount()));

        h.press(u"Command5"_s);
        QCOMPARE(h.window->marker(), u"4"_s);
        QVERIFY(!h.grid()->isColumnHidden(4));

        // A whole-year balance table is refused and clears the marker.
        h.month(u"全部"_s);
        h.press(u"Command3"_s);
        QCOMPARE(h.dialogs.messages.value(0), (Message{u"请选择月份和级数"_s, u"TZ305"_s, Icon::Critical}));
        QCOMPARE(h.window->marker(), QString());

        h.press(u"Command1"_s); // 分录簿 of the whole year
        QCOMPARE(h.window->marker(), u"1"_s);
        QVERIFY(h.rows().rowCount() > 48);
        QVERIFY(h.grid()->isColumnHidden(4) && h.grid()->isColumnHidden(17));
        // A wheel notch over the focused grid moves the current row two down,
        // and the grid scrolls as well.
        h.window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(h.window.get()));
        h.grid()->setFocus();
        h.grid()->setCurrentIndex(h.rows().index(0, 2));
        const QPoint at = h.grid()->viewport()->rect().center();
        QWheelEvent notch(at, h.grid()->viewport()->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(h.grid()->viewport(), &notch);
        QCOMPARE(h.grid()->currentIndex().row(), 2);
        QVERIFY(h.grid()->verticalScrollBar()->value() > 0);

        h.month(u"2"_s);
        h.press(u"Command2"_s);
        QCOMPARE(h.window->marker(), u"2"_s);
        QCOMPARE(h.lastCell(2), u"合 计"_s);
        QCOMPARE(h.lastCell(1), QString()); // its sort key 8 is not shown
        QCOMPARE(h.status(), u"2 月份科目汇总表   [共%1条记录]"_s.arg(h.rows().rowCount()));

        h.field(u"Text2"_s)->setText(u"5001"_s);
        h.press(u"Command14"_s);
        QCOMPARE(h.status(), u"5001 开头的所有明细数据 共%1条记录"_s.arg(h.rows().rowCount()));
        QVERIFY(h.rows().rowCount() > 0);
    }

    void spinnersAndReportButtons()
    {
        Harness h;
        auto *quantity = child<QSpinBox>(h.window.get(), u"UpDown1"_s);
        quantity->setValue(4);
        QCOMPARE(h.set.session().quantityFormat(), u"0.0000"_s);
        quantity->setValue(0);
        QCOMPARE(h.set.session().quantityFormat(), u"0"_s);
        QCOMPARE(h.set.session().priceFormat(), u"0.00"_s);

        h.press(u"Command6"_s);
        h.press(u"Command10"_s);
        h.press(u"Command11"_s);
        h.press(u"Command4"_s);
        const QList<Message> nothingYet = {
            {u"请先[查询]"_s, u"TZ305"_s, Icon::Exclamation},
            {u"请先点[查询]"_s, u"TZ305"_s, Icon::Exclamation},
            {u"请先查询数据"_s, u"TZ305"_s, Icon::Exclamation},
            {u"请先进行查询"_s, u"TZ305"_s, Icon::None},
        };
        QCOMPARE(h.dialogs.messages, nothingYet);
    }

    // 导出 asks first and writes the table; EXCEL帐页 writes the ledger
    // workbook; both offer the exports folder and a name after what was
    // asked for, its account and period, and offer to open the file.
    void workbooksFromTheButtons()
    {
        Harness h({false, true, true, false, false, true, false, true, false});
        QStringList suggested;
        QStringList opened;
        const QString folder = h.set.folder();
        QString offered;
        h.window->setSavePathChooser([&](const QString &name) {
            offered = name;
            suggested.append(QFileInfo(name).fileName());
            return folder + u'/' + QFileInfo(name).fileName();
        });
        h.window->setFileOpener([&](const QString &path) { opened.append(path); });
        h.field(u"Text2"_s)->setText(u"1002001"_s);
        h.choose(u"Option1"_s);
        h.press(u"Command7"_s);

        h.press(u"Command4"_s); // answered No: nothing written
        QCOMPARE(suggested, QStringList());
        h.press(u"Command4"_s);
        h.press(u"Command11"_s);
        // 预览 of the multi-column ledger writes its workbook too.
        h.field(u"Text2"_s)->setText(u"2221001"_s);
        h.choose(u"Option4"_s);
        h.press(u"Command7"_s);
        h.press(u"Command10"_s);
        QCOMPARE(suggested, (QStringList{u"测试_明细帐_1002001_2024年.xlsx"_s, u"测试_明细帐帐页_1002001_2024年.xlsx"_s,
                                         u"测试_多栏帐帐页_2221001_2024年.xlsx"_s}));
        QCOMPARE(QFileInfo(offered).path(), tz::exportsFolder());
        QVERIFY(QFileInfo(folder + u"/测试_多栏帐帐页_2221001_2024年.xlsx"_s).size() > 0);
        QCOMPARE(opened, QStringList{folder + u"/测试_明细帐_1002001_2024年.xlsx"_s});
        QVERIFY(QFileInfo(folder + u"/测试_明细帐帐页_1002001_2024年.xlsx"_s).size() > 0);
        QCOMPARE(h.dialogs.questions.value(0), (Message{u"是否导出到EXCEL工作表？"_s, u"TZ305"_s, Icon::Question}));
        QCOMPARE(h.dialogs.questions.value(2).text,
                 u"已导出: "_s + folder + u"/测试_明细帐_1002001_2024年.xlsx\n\n是否用电子表格程序打开此文件?"_s);
        QCOMPARE(h.dialogs.messages, QList<Message>{});

        // The grid reads the journal straight from the books; it is copied
        // into 分录始表 when 导出 writes that table.
        h.set.session().execSql(u"DELETE FROM 分录始表"_s);
        h.month(u"全部"_s);
        h.press(u"Command1"_s);
        const int lines = h.rows().rowCount();
        QVERIFY(lines > 48);
        QCOMPARE(h.rows().text(lines - 1, 17), h.set.session().RunSql(u"SELECT max(ID) FROM 分录表"_s).value(0, 0).toString());
        h.press(u"Command4"_s);
        QCOMPARE(suggested.last(), u"测试_分录簿_2024年.xlsx"_s);
        QCOMPARE(h.set.session().RunSql(u"SELECT count(*) FROM 分录始表"_s).value(0, 0).toInt(), lines);

        // The balance table is offered as what was asked for, with its month.
        h.month(u"3"_s);
        h.key(u"Command3"_s); // 科目余额表
        h.key(u"Command4"_s); // 导出
        QCOMPARE(suggested.last(), u"测试_科目余额表_2024年3月.xlsx"_s);
    }

    // A ledger on screen is computed from the books and writes nothing; 导出
    // fills its work table from the books as they are then.
    void ledgerOnScreenIsWrittenOnlyForItsExport()
    {
        Harness h({true, false});
        h.window->setSavePathChooser([&h](const QString &name) { return h.set.folder() + u'/' + QFileInfo(name).fileName(); });
        tz::Session &s = h.set.session();
        const auto amount = [](const QString &text) { return QString(text).remove(u',').toDouble(); };
        s.execSql(u"DELETE FROM 三总式"_s);
        h.field(u"Text2"_s)->setText(u"1002001"_s);
        h.choose(u"Option1"_s);
        h.key(u"Command7"_s);
        const int rows = h.rows().rowCount();
        const double balance = amount(h.lastCell(9));
        QVERIFY(rows > 10);
        QCOMPARE(s.RunSql(u"SELECT count(*) FROM 三总式"_s).value(0, 0).toInt(), 0);

        s.execSql(u"UPDATE 分录表 SET 借方金额 = 借方金额 + 1 WHERE ID = "
                  "(SELECT min(ID) FROM 分录表 WHERE 科目代码 = '1002001' AND 借方金额 > 0 AND 月 = 2)"_s);
        h.key(u"Command7"_s);
        QCOMPARE(h.rows().rowCount(), rows);
        QCOMPARE(amount(h.lastCell(9)), balance + 1);
        h.key(u"Command4"_s); // 导出, 是; then not opened
        QCOMPARE(h.dialogs.messages, QList<Message>{});
        QCOMPARE(s.RunSql(u"SELECT count(*) FROM 三总式"_s).value(0, 0).toInt(), rows);
        QCOMPARE(s.RunSql(u"SELECT 余额 FROM 三总式 WHERE ID = '813'"_s).value(0, 0).toDouble(), balance + 1);
    }

    // Where the desktop has no program for workbooks, 是 says that the file
    // could not be opened and where it is; LibreOffice on the PATH opens it.
    void openingAWorkbookWithoutTheDesktopsHandler()
    {
        Harness h({true, true, true, true, true});
        QTemporaryDir bin; // the PATH: no xdg-open, no LibreOffice
        tz::test::EnvGuard path("PATH", QFile::encodeName(bin.path()));
        const QString file = h.set.folder() + u"/余额.xlsx"_s;
        h.window->setSavePathChooser([&file](const QString &) { return file; });
        h.month(u"3"_s);
        h.key(u"Command3"_s);
        h.key(u"Command4"_s);
        QCOMPARE(h.dialogs.messages.value(0), (Message{u"无法打开此文件: 没有找到电子表格程序。\n文件已保存在: "_s + file,
                                                       u"TZ305提示"_s, Icon::Exclamation}));
        QFile localc(bin.filePath(u"localc"_s));
        QVERIFY(localc.open(QIODevice::WriteOnly));
        localc.write("#!/bin/sh\necho \"$@\" > \"$0.args\"\n");
        localc.close();
        localc.setPermissions(localc.permissions() | QFileDevice::ExeOwner);
        h.key(u"Command4"_s); // and 是 to replace the file
        QFile args(bin.filePath(u"localc.args"_s));
        QTRY_VERIFY(args.exists() && args.size() > 0);
        QVERIFY(args.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromUtf8(args.readAll()).trimmed(), file);
        QCOMPARE(h.dialogs.messages.size(), 1);
    }

    // A paged row that cannot be read when it comes on screen shows empty,
    // no error escapes the paint, and it is read when it can be again.
    void unreadableRowShowsEmptyUntilReadable()
    {
        tz::test::TestSet set;
        tz::Session &s = set.session();
        tz::ResultGridModel model;
        model.setPagedResult(tz::PagedRows(s, u"SELECT rowid FROM 科目表 ORDER BY 科目代码"_s, {},
                                           u"SELECT 科目代码 FROM 科目表 WHERE rowid = ?1"_s));
        QVERIFY(model.rowCount() > 0);
        const QString path = s.dbPath();
        s.CloseMainConnection();
        s.setDbPath(set.folder() + u"/无此帐套.Y24"_s);
        QCOMPARE(model.text(0, 1), QString());
        s.setDbPath(path);
        QCOMPARE(model.text(0, 1), u"1001"_s);
    }

    // The real main window at 1366x768 on the demonstration books: every
    // column of a ledger and of the balance table is in sight.
    void everyBalanceColumnShowsAt1366x768()
    {
        tz::test::TestSet set;
        tz::test::ScriptedDialogs dialogs(QList<bool>(20, true));
        QVERIFY(tz::MakeDemoBooks(set.session(), 2024, 12, 7, dialogs).isDone());
        tz::MainWindow main(set.session(), dialogs);
        main.resize(1366, 768);
        main.show();
        child<QToolButton>(&main, u"综合查询"_s)->click();
        auto *window = qobject_cast<QueryWindow *>(main.mdiArea()->subWindowList().first()->widget());
        auto *grid = child<QTableView>(window, u"MSH1"_s);
        const auto allInSight = [&] {
            QCOMPARE(grid->horizontalScrollBar()->value(), 0);
            for (int c = 0; c < grid->model()->columnCount(); ++c) {
                if (!grid->isColumnHidden(c))
                    QVERIFY2(grid->columnViewportPosition(c) + grid->columnWidth(c) <= grid->viewport()->width(),
                             qPrintable(grid->model()->headerData(c, Qt::Horizontal).toString()));
            }
        };
        child<QLineEdit>(window, u"Text2"_s)->setText(u"1002001"_s);
        child<QRadioButton>(window, u"Option1"_s)->setChecked(true);
        QTest::mouseClick(child<QPushButton>(window, u"Command7"_s), Qt::LeftButton);
        allInSight();
        saveScreenshot(&main, u"mainwindow-ledger.png"_s);
        grid->horizontalScrollBar()->setValue(grid->horizontalScrollBar()->maximum());
        child<QComboBox>(window, u"Combo1"_s)->setCurrentText(u"11"_s);
        QTest::mouseClick(child<QPushButton>(window, u"Command3"_s), Qt::LeftButton);
        allInSight();
        QCOMPARE(window->result().text(window->result().rowCount() - 1, 1), QString()); // no sort key 8
        saveScreenshot(&main, u"mainwindow-balance.png"_s);

        // The multi-column ledger's headings (code and name) show whole.
        child<QLineEdit>(window, u"Text2"_s)->setText(u"2221001"_s);
        child<QRadioButton>(window, u"Option4"_s)->setChecked(true);
        auto *query = child<QPushButton>(window, u"Command7"_s);
        query->setFocus();
        QTest::keyClick(query, Qt::Key_Space);
        saveScreenshot(&main, u"mainwindow-multicolumn.png"_s);
        QHeaderView *header = grid->horizontalHeader();
        QCOMPARE(grid->model()->headerData(10, Qt::Horizontal).toString(), u"2221001001 进项税额"_s);
        for (int c = 10; c < grid->model()->columnCount(); ++c)
            QVERIFY2(header->sectionSize(c) >= header->sectionSizeHint(c),
                     qPrintable(grid->model()->headerData(c, Qt::Horizontal).toString()));
    }

    void mainWindowHoldsOneQueryWindow()
    {
        tz::test::TestSet set;
        tz::test::ScriptedDialogs dialogs;
        tz::MainWindow main(set.session(), dialogs);
        main.show();
        child<QToolButton>(&main, u"综合查询"_s)->click();
        child<QAction>(&main, u"综查"_s)->trigger();
        QCOMPARE(main.mdiArea()->subWindowList().size(), 1);
        auto *window = qobject_cast<QueryWindow *>(main.mdiArea()->subWindowList().first()->widget());
        QVERIFY(window);
        QCOMPARE(window->windowTitle(), u"TZ305财务---综合查询"_s);
        // The marker is the main window's Text1.
        child<QLineEdit>(window, u"Text2"_s)->setText(u"1001"_s);
        child<QRadioButton>(window, u"Option1"_s)->setChecked(true);
        QTest::mouseClick(child<QPushButton>(window, u"Command7"_s), Qt::LeftButton);
        QCOMPARE(main.markerField(1)->text(), u"5"_s);
    }
};

TZ305_WINDOW_TEST_MAIN(QueryWindowTest)

#include "querywindow_test.moc"
