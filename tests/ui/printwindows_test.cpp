// The printing windows on demonstration books: 凭证打印 opened from the main
// window (the month's largest number, preview and 下一 with the preview
// marker, the large form, 连续打印 without a printer, 输出PDF, 保存), the
// query window's 预览 and 打印 of ledger pages and tables, and the
// statements window's 打印预览. The pages are caught where the preview
// dialog would show them.
#include <memory>

#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSettings>
#include <QToolButton>
#include <QtTest>

#include "demo/demobooks.h"
#include "ledgers/ui/querywindow.h"
#include "printing/pagelayout.h"
#include "printing/pagepainter.h"
#include "printing/ui/paperprinter.h"
#include "printing/ui/voucherprintwindow.h"
#include "shell/ui/application.h"
#include "shell/ui/mainwindow.h"
#include "statements/ui/statementwindow.h"
#include "store/offeredname.h"
#include "store/session.h"
#include "tests/support/envguard.h"
#include "tests/support/scripteddialogs.h"
#include "tests/support/testset.h"
#include "tests/support/uitest.h"

using namespace Qt::Literals::StringLiterals;
using tz::Icon;
using tz::test::Message;
using tz::test::child;

namespace {

struct Harness
{
    Harness()
    {
        tz::test::ScriptedDialogs yes(QList<bool>(20, true));
        if (!tz::MakeDemoBooks(set.session(), 2024, 12, 7, yes).isDone())
            qFatal("no demonstration books");
        set.session().setCompanyName(u"华新商贸有限公司"_s);
        main = std::make_unique<tz::MainWindow>(set.session(), dialogs);
        main->resize(1366, 768);
        main->show();
    }

    // Opens a child window from the toolbar and catches its pages.
    template<typename W> W *open(const QString &button)
    {
        child<QToolButton>(main.get(), button)->click();
        for (QMdiSubWindow *sub : main->mdiArea()->subWindowList()) {
            if (auto *w = qobject_cast<W *>(sub->widget())) {
                w->setPageOutput({[this](const tz::Document &doc, const QString &title, int marker) {
                                      shown = doc;
                                      shownTitle = title;
                                      shownMarker = marker;
                                  },
                                  [this](const tz::Document &doc) {
                                      printed = doc;
                                      return tz::OpResult::done();
                                  }});
                return w;
            }
        }
        qFatal("window not opened");
    }

    static void press(QWidget *window, const QString &name)
    {
        QTest::mouseClick(child<QPushButton>(window, name), Qt::LeftButton);
    }

    tz::test::TestSet set;
    tz::test::EnvGuard data {"TZ305_DATA_DIR", set.folder().toUtf8()};
    tz::test::EnvGuard noPrinter {"CUPS_SERVER", "/nonexistent/cups.sock"};
    tz::test::ScriptedDialogs dialogs;
    std::unique_ptr<tz::MainWindow> main;
    tz::Document shown, printed;
    QString shownTitle;
    int shownMarker = 0;
};

class PrintWindowsTest : public QObject
{
    Q_OBJECT

private slots:
    // A page is painted as its commands drawn one by one through the text
    // layout and box outlines would paint it: the texts of a style batched
    // into one glyph run and the boxes' shared sides stroked once must put
    // every glyph and side where the plain drawing does.
    void pagePaintedAsItsCommandsOneByOne()
    {
        tz::Page page;
        const auto text = [&page](const QRectF &mm, const QString &t, double size, bool bold, Qt::Alignment align) {
            tz::DrawCommand c;
            c.mm = mm;
            c.text = t;
            c.style = {size, bold, align};
            page.add(c);
        };
        const auto shape = [&page](tz::DrawCommand::Kind kind, const QRectF &mm, double pen) {
            tz::DrawCommand c;
            c.kind = kind;
            c.mm = mm;
            c.penMm = pen;
            page.add(c);
        };
        const QList<double> widths {22, 30, 18, 26};
        for (int row = 0; row < 4; ++row) {
            double left = 5;
            for (double w : widths) {
                shape(tz::DrawCommand::Kind::Box, QRectF(left, 20 + row * 7, w, 7), 0.2);
                left += w;
            }
        }
        shape(tz::DrawCommand::Kind::Box, QRectF(5, 8, 96, 10), 0.5);
        shape(tz::DrawCommand::Kind::Line, QRectF(5, 52, 96, 3), 0.3);
        const Qt::Alignment center = Qt::AlignHCenter | Qt::AlignVCenter;
        text(QRectF(5, 8, 96, 10), u"库存商品  明细帐"_s, 14, true, center);
        text(QRectF(5, 20, 22, 7), u"2024-01-01"_s, 8, false, Qt::AlignLeft | Qt::AlignVCenter);
        text(QRectF(27, 20, 30, 7), u"  承 前 页"_s, 8, false, Qt::AlignLeft | Qt::AlignVCenter);
        text(QRectF(57, 20, 18, 7), u"借  "_s, 8, false, center);
        text(QRectF(75, 20, 26, 7), u"378,928.01"_s, 8, false, Qt::AlignRight | Qt::AlignVCenter);
        text(QRectF(5, 27, 22, 7), u"转-41"_s, 8, false, Qt::AlignLeft | Qt::AlignBottom);
        text(QRectF(27, 27, 30, 7), u"采购商品"_s, 9.5, true, Qt::AlignRight | Qt::AlignTop);
        text(QRectF(57, 27, 18, 7), u"e\u0301te\u0301"_s, 8, false, center); // combining marks: the text layout
        text(QRectF(27, 34, 30, 7), u"一个放不下这一格的很长的科目名称"_s, 8, false, Qt::AlignLeft | Qt::AlignVCenter);
        text(QRectF(75, 41, 26, 7), u"-1,234.50"_s, 8, false, Qt::AlignRight | Qt::AlignVCenter);
        text(QRectF(5, 41, 22, 7), u"贷方  "_s, 8, false, Qt::AlignRight | Qt::AlignVCenter);

        const double dotsPerMm = 300 / 25.4;
        const auto blank = [&] {
            QImage image(int(106 * dotsPerMm), int(60 * dotsPerMm), QImage::Format_Grayscale8);
            image.setDotsPerMeterX(int(dotsPerMm * 1000));
            image.setDotsPerMeterY(int(dotsPerMm * 1000));
            image.fill(Qt::white);
            return image;
        };
        QImage painted = blank();
        {
            QPainter painter(&painted);
            tz::PagePainter(painter, dotsPerMm).paint(page);
        }
        QImage plain = blank();
        {
            QPainter painter(&plain);
            for (const tz::DrawCommand &c : page.commands()) {
                const QRectF box(c.mm.topLeft() * dotsPerMm, c.mm.size() * dotsPerMm);
                QPen pen(Qt::black);
                pen.setWidthF(std::max(1.0, c.penMm * dotsPerMm));
                painter.setPen(pen);
                if (c.kind == tz::DrawCommand::Kind::Box) {
                    painter.drawRect(box);
                } else if (c.kind == tz::DrawCommand::Kind::Line) {
                    painter.drawLine(box.topLeft(), box.bottomRight());
                } else {
                    QFont font(tz::printFontFamily());
                    font.setPointSizeF(c.style.pointSize);
                    font.setBold(c.style.bold);
                    font = QFont(font, &plain);
                    const double width = QFontMetricsF(font, &plain).horizontalAdvance(c.text);
                    if (width > box.width())
                        font.setPointSizeF(std::max(5.0, c.style.pointSize * box.width() / width));
                    painter.setFont(font);
                    painter.drawText(box, int(c.style.align) | Qt::TextSingleLine, c.text);
                }
            }
        }
        qsizetype ink = 0, differing = 0;
        for (int y = 0; y < plain.height(); ++y) {
            const uchar *a = plain.constScanLine(y);
            const uchar *b = painted.constScanLine(y);
            for (int x = 0; x < plain.width(); ++x) {
                ink += a[x] < 128;
                differing += std::abs(int(a[x]) - int(b[x])) >= 128;
            }
        }
        QVERIFY(ink > 10000);
        // What may differ: the four outer corners of a frame (square caps
        // where the outline's corner was bevelled) and edge pixels.
        QVERIFY2(differing * 200 < ink, qPrintable(u"%1 of %2 ink pixels differ"_s.arg(differing).arg(ink)));
    }

    void voucherPrinting()
    {
        Harness h;
        auto *w = h.open<tz::VoucherPrintWindow>(u"凭证打印"_s);
        auto *month = child<QComboBox>(w, u"Combo1"_s);
        month->setCurrentIndex(1);
        emit month->activated(1);
        QCOMPARE(child<QLineEdit>(w, u"Text2"_s)->text(),
                 h.set.session().RunSql(u"SELECT MAX(号码) FROM 分录表 WHERE 月 = 2"_s).value(0, 0).toString());

        Harness::press(w, u"Command1"_s);
        QCOMPARE(h.shownTitle, u"凭证打印"_s);
        QCOMPARE(h.shownMarker, 14);
        QVERIFY(!h.shown.pages.isEmpty());
        QVERIFY(h.shown.pages[0].texts().join(u'|').contains(u"字第1号(1/"_s));
        Harness::press(w, u"Command2"_s); // 下一
        QCOMPARE(child<QLineEdit>(w, u"Text1"_s)->text(), u"2"_s);
        QVERIFY(h.shown.pages[0].texts().join(u'|').contains(u"字第2号(1/"_s));

        child<QRadioButton>(w, u"Option2"_s)->setChecked(true);
        Harness::press(w, u"Command1"_s);
        QCOMPARE(h.shownMarker, 15);
        QCOMPARE(h.shown.layout.fullRect(QPageLayout::Millimeter).size().toSize(), QSize(250, 120));

        // Paper needs a printer; there is none.
        Harness::press(w, u"Command4"_s);
        QCOMPARE(h.dialogs.messages.last(), (Message {u"你电脑上没有安装打印机!! "_s, u"TZ305提示 "_s, Icon::Information}));
        QVERIFY(h.printed.pages.isEmpty());

        const QString file = h.set.folder() + u"/凭证.pdf"_s;
        w->setPdfPathChooser([file](const QString &) { return file; });
        Harness::press(w, u"Command7"_s);
        QCOMPARE(h.dialogs.messages.last(), (Message {u"已输出PDF文件: "_s + file, u"TZ305"_s, Icon::Information}));
        QVERIFY(QFile(file).size() > 1000);

        child<QLineEdit>(w, u"Text5"_s)->setText(u"8"_s);
        child<QComboBox>(w, u"Combo2"_s)->setCurrentText(u"王会计"_s);
        Harness::press(w, u"Command6"_s);
        QCOMPARE(h.dialogs.messages.last(), (Message {u"保存OK"_s, u"TZ305"_s, Icon::None}));
        QCOMPARE(tz::loadVoucherSettings().lines, u"8"_s);
        QCOMPARE(tz::loadVoucherSettings().chiefAccountant, u"王会计"_s);
        Harness::press(w, u"Command1"_s);
        QVERIFY(h.shown.pages[0].contains(u"会计主管: 王会计"_s));
        tz::test::saveScreenshot(h.main.get(), u"voucher-print.png"_s);
    }

    // 输出PDF asks for the file first, offering the exports folder and a
    // name after the vouchers and their month; nothing stands over the save
    // dialog; the vouchers are then laid out and written.
    void pdfNamedFirstThenWritten()
    {
        Harness h;
        child<QToolButton>(h.main.get(), u"凭证打印"_s)->click();
        QWidget *w = h.main->mdiArea()->subWindowList().first()->widget();
        auto *month = child<QComboBox>(w, u"Combo1"_s);
        month->setFocus();
        QTest::keyClicks(month, u"11"_s);
        QCOMPARE(month->currentText(), u"11"_s);
        child<QLineEdit>(w, u"Text1"_s)->setText(u"1"_s);
        child<QLineEdit>(w, u"Text2"_s)->setText(u"3"_s);
        QString offered;
        bool aloneOnTop = false;
        const QString seen = tz::test::runModal(
            [&] {
                auto *button = child<QPushButton>(w, u"Command7"_s);
                button->setFocus();
                QTest::keyClick(button, Qt::Key_Space);
            },
            [&](QWidget *modal) {
                auto *dialog = qobject_cast<QFileDialog *>(modal);
                QVERIFY(dialog);
                offered = dialog->selectedFiles().value(0);
                QTest::qWait(800); // longer than a progress box waits before it shows
                aloneOnTop = QApplication::activeModalWidget() == dialog;
                auto *name = dialog->findChild<QLineEdit *>(u"fileNameEdit"_s);
                QTest::keyClick(name, Qt::Key_A, Qt::ControlModifier);
                QTest::keyClicks(name, u"v.pdf"_s);
                QTest::keyClick(name, Qt::Key_Return);
            });
        QCOMPARE(seen, u"QFileDialog"_s);
        QVERIFY(aloneOnTop);
        QCOMPARE(offered, tz::exportsFolder() + u"/测试_凭证_1-3号_2024年11月.pdf"_s);
        const QString file = tz::exportsFolder() + u"/v.pdf"_s;
        QCOMPARE(h.dialogs.messages.value(0), (Message {u"已输出PDF文件: "_s + file, u"TZ305"_s, Icon::Information}));
        QVERIFY(QFile(file).size() > 1000);
    }

    void previewDialogHoldsItsMarkerWhileOpen()
    {
        Harness h;
        child<QToolButton>(h.main.get(), u"凭证打印"_s)->click();
        QWidget *w = h.main->mdiArea()->subWindowList().first()->widget();
        child<QComboBox>(w, u"Combo1"_s)->setCurrentIndex(0);
        QString markerWhileOpen;
        bool fits = false;
        const QString seen = tz::test::runModal([&] { Harness::press(w, u"Command1"_s); },
                                                [&](QWidget *dialog) {
                                                    // Room left for a desktop's title bar and panel,
                                                    // which the offscreen screen does not draw.
                                                    const QRect room = dialog->screen()->availableGeometry();
                                                    fits = dialog->width() <= room.width()
                                                        && dialog->height() <= room.height() - 40;
                                                    markerWhileOpen = h.main->markerField(14)->text();
                                                    dialog->resize(1000, 700);
                                                    QTest::qWait(200);
                                                    tz::test::saveScreenshot(dialog, u"voucher-preview.png"_s);
                                                });
        QCOMPARE(seen, u"QPrintPreviewDialog"_s);
        QVERIFY2(fits, "the preview runs off the screen");
        QCOMPARE(markerWhileOpen, u"1"_s);
        QCOMPARE(h.main->markerField(14)->text(), QString());
    }

    // A line count the form cannot hold under its margins is refused as it
    // is typed; the most it holds prints each voucher page on one sheet.
    void voucherLinesBeyondTheFormAreRefused()
    {
        Harness h;
        auto *w = h.open<tz::VoucherPrintWindow>(u"凭证打印"_s);
        child<QComboBox>(w, u"Combo1"_s)->setCurrentIndex(1);
        auto *lines = child<QLineEdit>(w, u"Text5"_s);
        lines->setFocus();
        QTest::keyClick(lines, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(lines, u"17"_s);
        Harness::press(w, u"Command1"_s);
        QCOMPARE(h.dialogs.messages.value(0), (Message {u"凭证行数太多: 21*11CM的凭证上边1CM时每页最多16行,请减少凭证行数"_s,
                                                         u"TZ305提示"_s, Icon::Critical}));
        QVERIFY(h.shown.pages.isEmpty());
        QTest::keyClick(lines, Qt::Key_Backspace);
        QTest::keyClicks(lines, u"6"_s);
        Harness::press(w, u"Command1"_s);
        QCOMPARE(h.shown.pages.size(), 1);
        QCOMPARE(h.dialogs.messages.size(), 1);
    }

    void queryAndStatementPages()
    {
        Harness h;
        auto *q = h.open<tz::QueryWindow>(u"综合查询"_s);
        child<QLineEdit>(q, u"Text2"_s)->setText(u"1002001"_s);
        child<QRadioButton>(q, u"Option1"_s)->setChecked(true);
        Harness::press(q, u"Command7"_s);
        Harness::press(q, u"Command10"_s); // 预览
        QCOMPARE(h.shownTitle, u"三栏帐"_s);
        QCOMPARE(h.shownMarker, 18);
        QVERIFY(h.shown.pages[0].contains(u"科目名称: 1002001 银行存款/人民币户"_s));
        QCOMPARE(q->marker(), QString()); // a second preview needs a new query

        child<QComboBox>(q, u"Combo1"_s)->setCurrentText(u"2"_s);
        Harness::press(q, u"Command3"_s); // 科目余额表
        Harness::press(q, u"Command6"_s); // 打印: refused without a printer
        QCOMPARE(h.dialogs.messages.last(), (Message {u"你电脑上没有安装打印机!! "_s, u"TZ305提示 "_s, Icon::Information}));
        Harness::press(q, u"Command2"_s); // 科目汇总表
        Harness::press(q, u"Command10"_s);
        QCOMPARE(h.shownTitle, u"凭证汇总表"_s);
        QVERIFY(h.shown.pages[0].contains(u"会计期间:2024年2月"_s));
        Harness::press(q, u"Command3"_s);
        Harness::press(q, u"Command10"_s);
        QCOMPARE(h.shownTitle, u"科目余额表"_s);
        QCOMPARE(h.shownMarker, 16);

        // The quantity and fixed-asset ledgers preview their own pages.
        const struct
        {
            QString code, option, title, text;
            int marker;
        } ledgers[] = {{u"1405"_s, u"Option3"_s, u"数量帐"_s, u"科目名称: 1405 库存商品"_s, 19},
                       {u"1601"_s, u"Option5"_s, u"固累帐"_s, u"科目名称: 1601 固定资产"_s, 20}};
        for (const auto &ledger : ledgers) {
            child<QLineEdit>(q, u"Text2"_s)->setText(ledger.code);
            child<QRadioButton>(q, ledger.option)->setChecked(true);
            Harness::press(q, u"Command7"_s);
            h.shownTitle.clear();
            Harness::press(q, u"Command10"_s);
            QCOMPARE(h.shownTitle, ledger.title);
            QCOMPARE(h.shownMarker, ledger.marker);
            QVERIFY2(h.shown.pages[0].contains(ledger.text), qPrintable(h.shown.pages[0].texts().join(u'|')));
        }

        auto *s = h.open<tz::StatementWindow>(u"报表查看"_s);
        child<QComboBox>(s, u"Combo1"_s)->setCurrentText(u"2"_s);
        Harness::press(s, u"Command4"_s);
        Harness::press(s, u"Command2"_s); // 打印预览
        QCOMPARE(h.shownTitle, u"资产表"_s);
        QCOMPARE(h.shownMarker, 21);
        QVERIFY(h.shown.pages[0].contains(u"2024年02月29日"_s));
        QVERIFY(h.shown.pages[0].contains(u" 单位:华新商贸有限公司"_s));
        const struct
        {
            QString option, title, text;
            int marker;
        } statements[] = {{u"Option2"_s, u"利润表"_s, u"一、营业收入"_s, 22}, {u"Option5"_s, u"现流表"_s, u"五、期末现金余额"_s, 23}};
        for (const auto &statement : statements) {
            child<QRadioButton>(s, statement.option)->setChecked(true);
            Harness::press(s, u"Command4"_s);
            Harness::press(s, u"Command2"_s);
            QCOMPARE(h.shownTitle, statement.title);
            QCOMPARE(h.shownMarker, statement.marker);
            QVERIFY(h.shown.pages[0].texts().join(u'|').contains(statement.text));
        }
    }
};

} // namespace

int main(int argc, char **argv)
{
    tz::test::useLaptopScreen();
    QApplication app(argc, argv);
    tz::setUpApplication(app);
    PrintWindowsTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "printwindows_test.moc"
