// The main window.
#include "shell/ui/mainwindow.h"

#include <algorithm>

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDateTime>
#include <QDialog>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPixmap>
#include <QPrinter>
#include <QPrinterInfo>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#include "accounts/ui/chartwindow.h"
#include "batch/ui/monthendwindow.h"
#include "ledgers/ui/querywindow.h"
#include "maintenance/ui/changelogwindow.h"
#include "maintenance/ui/settingswindow.h"
#include "printing/ui/voucherprintwindow.h"
#include "shell/closedmonths.h"
#include "shell/leaveprogram.h"
#include "shell/ui/childkeys.h"
#include "shell/version.h"
#include "statements/ui/statementwindow.h"
#include "store/guard.h"
#include "store/paths.h"
#include "store/session.h"
#include "store/ui/controls.h"
#include "store/ui/messageboxdialogs.h"
#include "vouchers/ui/voucherwindow.h"

using namespace Qt::Literals::StringLiterals;

namespace tz {

namespace {

constexpr int kScrollInterval = 400; // ms per character of the version line
constexpr int kFirstPreviewMarker = 14;
constexpr int kLastPreviewMarker = 23;

// X11 key-event state bits (the xcb platform reports them as the native
// modifiers): Caps Lock is LockMask, Num Lock is normally Mod2Mask.
constexpr quint32 kX11LockMask = 0x02;
constexpr quint32 kX11NumLockMask = 0x10;

// The MDI client area with the background picture stretched over all of
// it. The picture is scaled once per resize, not on every paint.
class PictureArea : public QMdiArea
{
public:
    explicit PictureArea(QWidget *parent)
        : QMdiArea(parent)
    {
    }

    void setPicture(const QPixmap &picture)
    {
        m_picture = picture;
        rescale();
        viewport()->update();
    }

protected:
    void resizeEvent(QResizeEvent *event) override
    {
        QMdiArea::resizeEvent(event);
        rescale();
    }

    void paintEvent(QPaintEvent *event) override
    {
        if (m_scaled.isNull()) {
            QMdiArea::paintEvent(event);
            return;
        }
        QPainter painter(viewport());
        painter.drawPixmap(0, 0, m_scaled);
    }

private:
    void rescale()
    {
        m_scaled = m_picture.isNull() ? QPixmap()
                                      : m_picture.scaled(viewport()->size(), Qt::IgnoreAspectRatio,
                                                         Qt::SmoothTransformation);
    }

    QPixmap m_picture;
    QPixmap m_scaled;
};

// Runs a modal working window over `main`; when it closes (also when it
// closes itself, as the settings window does after a backup), `main` takes
// the focus back, which without a window manager no window would have.
void runModalOver(QDialog &window, QWidget *main)
{
    window.exec();
    main->activateWindow();
}

QLabel *statusPanel(QWidget *parent, const QString &name, const QString &text = {})
{
    auto *panel = new QLabel(text, parent);
    panel->setObjectName(name);
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setContentsMargins(4, 0, 4, 0);
    return panel;
}

QLineEdit *smallBox(QWidget *parent, const QString &name, const QString &text, int width)
{
    auto *box = new QLineEdit(text, parent);
    box->setObjectName(name);
    box->setReadOnly(true);
    box->setFocusPolicy(Qt::NoFocus);
    box->setAlignment(Qt::AlignCenter);
    box->setFixedWidth(width);
    return box;
}

} // namespace

MainWindow::MainWindow(Session &session, QWidget *parent)
    : QMainWindow(parent)
    , m_session(session)
    , m_ownDialogs(std::make_unique<MessageBoxDialogs>(this))
    , m_dialogs(*m_ownDialogs)
{
    build();
}

MainWindow::MainWindow(Session &session, Dialogs &dialogs, QWidget *parent)
    : QMainWindow(parent)
    , m_session(session)
    , m_dialogs(dialogs)
{
    build();
}

MainWindow::~MainWindow() = default;

void MainWindow::build()
{
    setObjectName(u"MainWindow"_s);
    auto *area = new PictureArea(this);
    area->setObjectName(u"MDIForm1"_s);
    m_area = area;
    setCentralWidget(m_area);

    buildToolBar();
    buildMenus();
    buildStatusBar();
    buildMarkers();

    setCompanyCaption(m_session.companyName());
    setOperatorPanel(m_session.operatorName());
    m_year->setText(QString::number(m_session.fiscalYear()));
    refreshClosedMonthMarkers();
    loadBackground();

    // Lock-key panels follow the key events of every window of the program.
    QCoreApplication::instance()->installEventFilter(this);
    resize(1024, 700);
}

QMdiArea *MainWindow::mdiArea() const
{
    return m_area;
}

QLineEdit *MainWindow::markerField(int number) const
{
    if (number == 1)
        return m_queryMarker;
    if (number >= kFirstPreviewMarker && number <= kLastPreviewMarker)
        return m_previewMarkers[size_t(number - kFirstPreviewMarker)];
    return nullptr;
}

bool MainWindow::isPreviewOpen() const
{
    return std::any_of(m_previewMarkers.begin(), m_previewMarkers.end(),
                       [](const QLineEdit *marker) { return !marker->text().isEmpty(); });
}

void MainWindow::clearPreviewMarkers()
{
    for (QLineEdit *marker : m_previewMarkers)
        marker->clear();
}

bool MainWindow::hasOpenSubWindows() const
{
    const QList<QMdiSubWindow *> windows = m_area->subWindowList();
    return std::any_of(windows.begin(), windows.end(), [](const QMdiSubWindow *w) { return !w->isHidden(); });
}

bool MainWindow::isVersionScrolling() const
{
    return m_scrollTimer->isActive();
}

QPrinter *MainWindow::pagePrinter() const
{
    return m_printer.get();
}

void MainWindow::buildToolBar()
{
    QToolBar *bar = addToolBar(u"工具栏"_s);
    bar->setObjectName(u"Toolbar1"_s);
    bar->setMovable(false);
    bar->setFloatable(false);
    bar->toggleViewAction()->setVisible(false);
    bar->setStyleSheet(u"QToolButton { padding: 4px 10px; }"_s);

    const auto button = [&](const QString &caption, void (MainWindow::*slot)()) {
        auto *b = new QToolButton(bar);
        b->setObjectName(caption);
        b->setText(caption);
        b->setToolButtonStyle(Qt::ToolButtonTextOnly);
        b->setAutoRaise(true);
        bar->addWidget(b);
        if (slot)
            connect(b, &QToolButton::clicked, this, slot);
    };
    button(u"凭证录入"_s, &MainWindow::openVoucherEntry);
    button(u"凭证打印"_s, &MainWindow::openVoucherPrintWindow);
    button(u"综合查询"_s, &MainWindow::openQueryWindow);
    button(u"报表查看"_s, &MainWindow::openStatementWindow);
    button(u"科目设置"_s, &MainWindow::openChartOfAccounts);
    bar->addSeparator();
    button(u"系统设置"_s, &MainWindow::openSettings);
    button(u"关闭窗口"_s, &MainWindow::closeWorkingWindows);
    bar->addSeparator();

    // The fiscal year and the closed-month boxes, side by side.
    auto *strip = new QWidget(bar);
    auto *layout = new QHBoxLayout(strip);
    layout->setContentsMargins(6, 0, 6, 0);
    layout->setSpacing(2);
    m_year = smallBox(strip, u"Text24"_s, QString(), 52);
    m_year->setToolTip(u"会计年度"_s);
    layout->addWidget(m_year);
    layout->addSpacing(8);
    for (int month = 1; month <= 12; ++month) {
        QLineEdit *box = smallBox(strip, u"Text"_s + QString::number(month + 1), QString::number(month), 26);
        box->setToolTip(u"%1月已结帐"_s.arg(month));
        box->setStyleSheet(u"QLineEdit { background: #fff4c2; color: #8a1c1c; }"_s);
        box->hide();
        layout->addWidget(box);
        m_monthBoxes[size_t(month - 1)] = box;
    }
    layout->addStretch(1);
    bar->addWidget(strip);
}

void MainWindow::buildMenus()
{
    QMenuBar *bar = menuBar();
    const auto item = [this](QWidget *menu, const QString &text, const QString &name, void (MainWindow::*slot)()) {
        auto *action = new QAction(text, menu);
        action->setObjectName(name);
        menu->addAction(action);
        if (slot)
            connect(action, &QAction::triggered, this, slot);
        return action;
    };

    const auto menu = [bar](const QString &text, const QString &name) {
        QMenu *added = bar->addMenu(text);
        added->setObjectName(name);
        return added;
    };

    QMenu *system = menu(u"系统设置(&F)"_s, u"系统"_s);
    item(system, u"科目处理"_s, u"科处"_s, &MainWindow::openChartOfAccounts);
    item(system, u"初始设置"_s, u"初设"_s, &MainWindow::openSettings);
    item(system, u"批量月结"_s, u"批量月结"_s, &MainWindow::openMonthEnd);
    item(system, u"操作日志"_s, u"操作日志"_s, &MainWindow::openChangeLog);
    system->addSeparator();
    item(system, u"纸张方向"_s, u"横打"_s, &MainWindow::choosePaperOrientation);

    QMenu *vouchers = menu(u"凭证处理(&E)"_s, u"凭证"_s);
    item(vouchers, u"凭证录入"_s, u"凭录"_s, &MainWindow::openVoucherEntry);
    item(vouchers, u"凭证打印"_s, u"凭打"_s, &MainWindow::openVoucherPrintWindow);
    // Three menus that are commands themselves, then the last menu.
    item(bar, u"报表查看(&T)"_s, u"报查"_s, &MainWindow::openStatementWindow);
    item(bar, u"综合查询(&G)"_s, u"综查"_s, &MainWindow::openQueryWindow);
    item(bar, u"关于系统(&S)"_s, u"关于"_s, &MainWindow::showAbout);
    item(menu(u"退出系统(&E)"_s, u"退出"_s), u"关闭系统"_s, u"关闭"_s, &MainWindow::leaveProgram);
}

void MainWindow::buildStatusBar()
{
    QStatusBar *bar = statusBar();
    bar->setObjectName(u"StatusBar1"_s);
    bar->setSizeGripEnabled(true);

    m_datePanel = statusPanel(bar, u"Panel1"_s);
    m_timePanel = statusPanel(bar, u"Panel2"_s);
    m_operatorPanel = statusPanel(bar, u"Panel3"_s);
    m_versionPanel = statusPanel(bar, u"Panel4"_s, paddedVersionLine());
    m_versionPanel->setToolTip(u"双击停止滚动"_s);
    // The padded line is wider than most windows: let the panel take the
    // room there is and clip the rest, so the text scrolls through it.
    m_versionPanel->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    m_versionPanel->setMinimumWidth(120);
    m_capsPanel = statusPanel(bar, u"Panel5"_s, u"CAPS"_s);
    m_numPanel = statusPanel(bar, u"Panel6"_s, u"NUM"_s);
    m_insertPanel = statusPanel(bar, u"Panel7"_s, u"INS"_s);
    for (QLabel *panel : {m_capsPanel, m_numPanel, m_insertPanel})
        panel->setAlignment(Qt::AlignCenter);

    // Permanent widgets, so that menu status tips never hide the panels.
    bar->addPermanentWidget(m_datePanel);
    bar->addPermanentWidget(m_timePanel);
    bar->addPermanentWidget(m_operatorPanel);
    bar->addPermanentWidget(m_versionPanel, 1);
    bar->addPermanentWidget(m_capsPanel);
    bar->addPermanentWidget(m_numPanel);
    bar->addPermanentWidget(m_insertPanel);
    // A double-click on any panel reaches the bar (labels pass it on).
    bar->installEventFilter(this);

    m_scrollTimer = new QTimer(this);
    m_scrollTimer->setInterval(kScrollInterval);
    connect(m_scrollTimer, &QTimer::timeout, this, &MainWindow::scrollVersionLine);
    m_scrollTimer->start();

    m_clockTimer = new QTimer(this);
    m_clockTimer->setInterval(1000);
    connect(m_clockTimer, &QTimer::timeout, this, &MainWindow::updateClock);
    m_clockTimer->start();
    updateClock();
    updateKeyStates();
}

void MainWindow::buildMarkers()
{
    const auto marker = [this](int number) {
        auto *field = new QLineEdit(this);
        field->setObjectName(u"Text"_s + QString::number(number));
        field->hide();
        return field;
    };
    m_queryMarker = marker(1);
    for (int number = kFirstPreviewMarker; number <= kLastPreviewMarker; ++number)
        m_previewMarkers[size_t(number - kFirstPreviewMarker)] = marker(number);
}

void MainWindow::loadBackground()
{
    const QString path = backgroundPicturePath();
    const QPixmap picture(path);
    if (picture.isNull()) {
        m_dialogs.show(u"系统初始化出错。\n找不到背景图片: "_s + path, u"TZ305提示"_s, Icon::Exclamation);
        return;
    }
    static_cast<PictureArea *>(m_area)->setPicture(picture);
}

void MainWindow::updateClock()
{
    const QDateTime now = QDateTime::currentDateTime();
    m_datePanel->setText(now.toString(u"yyyy-MM-dd"_s));
    m_timePanel->setText(now.toString(u"HH:mm:ss"_s));
}

// Linux offers no portable way to read the lock-key states: on X11 (xcb)
// every key event carries them in its native modifiers, elsewhere the
// panels toggle on the lock keys themselves and so may start out wrong.
// Insert is the program's own typing mode (on at start).
void MainWindow::updateKeyStates()
{
    m_capsPanel->setEnabled(m_capsLock);
    m_numPanel->setEnabled(m_numLock);
    m_insertPanel->setEnabled(!m_overwrite);
}

void MainWindow::refreshClosedMonthMarkers()
{
    std::array<bool, 12> closed{};
    guarded(m_dialogs, [&] {
        closed = RefreshClosedMonthMarkers(m_session);
        return OpResult::done();
    });
    for (size_t m = 0; m < closed.size(); ++m)
        m_monthBoxes[m]->setVisible(closed[m]);
}

void MainWindow::UnloadOtherWindows()
{
    m_area->closeAllSubWindows();
}

void MainWindow::scrollVersionLine()
{
    const QString text = m_versionPanel->text();
    if (!text.isEmpty())
        m_versionPanel->setText(text.mid(1) + text.left(1));
}

void MainWindow::stopVersionScroll()
{
    m_scrollTimer->stop();
    m_versionPanel->setText(versionLine());
}

bool MainWindow::warnPreviewOpen()
{
    if (!isPreviewOpen())
        return false;
    m_dialogs.show(u"点右上角关闭预览↗"_s, u"TZ305提示"_s, Icon::Exclamation);
    return true;
}

void MainWindow::openSettings()
{
    UnloadOtherWindows();
    if (warnPreviewOpen())
        return;
    // With message boxes the settings window gets its own, centred on it.
    auto window = makeModalWindow<SettingsWindow>(m_session, m_ownDialogs ? nullptr : &m_dialogs, this);
    connect(window.get(), &SettingsWindow::companyNameChanged, this, &MainWindow::setCompanyCaption);
    connect(window.get(), &SettingsWindow::operatorNameChanged, this, &MainWindow::setOperatorPanel);
    connect(window.get(), &SettingsWindow::closedMonthsChanged, this, &MainWindow::refreshClosedMonthMarkers);
    runModalOver(*window, this);
}

void MainWindow::openChartOfAccounts()
{
    runModalOver(*makeModalWindow<ChartWindow>(m_session, m_ownDialogs ? nullptr : &m_dialogs, this), this);
}

void MainWindow::openVoucherEntry()
{
    auto window = makeModalWindow<VoucherWindow>(m_session, m_ownDialogs ? nullptr : &m_dialogs, this);
    connect(window.get(), &VoucherWindow::closedMonthsChanged, this, &MainWindow::refreshClosedMonthMarkers);
    runModalOver(*window, this);
}

void MainWindow::openMonthEnd()
{
    auto window
        = m_ownDialogs ? std::make_unique<MonthEndWindow>(this) : std::make_unique<MonthEndWindow>(m_dialogs, this);
    fitWithinScreen(window.get(), this);
    runModalOver(*window, this);
    // The run may have closed months of the open set too.
    refreshClosedMonthMarkers();
}

template<typename W> void MainWindow::openChild(const std::function<W *()> &make)
{
    for (QMdiSubWindow *sub : m_area->subWindowList()) {
        if (qobject_cast<W *>(sub->widget())) {
            m_area->setActiveSubWindow(sub);
            sub->showMaximized();
            return;
        }
    }
    W *window = make();
    window->setAttribute(Qt::WA_DeleteOnClose);
    QMdiSubWindow *sub = m_area->addSubWindow(window);
    closeOnKeys(sub);
    sub->showMaximized();
}

void MainWindow::openQueryWindow()
{
    openChild<QueryWindow>([this] {
        return m_ownDialogs ? new QueryWindow(m_session, markerField(1))
                            : new QueryWindow(m_session, m_dialogs, markerField(1));
    });
}

void MainWindow::openStatementWindow()
{
    openChild<StatementWindow>([this] {
        return new StatementWindow(m_session, m_ownDialogs ? nullptr : &m_dialogs);
    });
}

void MainWindow::openChangeLog()
{
    openChild<ChangeLogWindow>([this] {
        return new ChangeLogWindow(m_session, m_ownDialogs ? nullptr : &m_dialogs);
    });
}

void MainWindow::openVoucherPrintWindow()
{
    openChild<VoucherPrintWindow>([this] {
        return new VoucherPrintWindow(m_session, m_ownDialogs ? nullptr : &m_dialogs);
    });
}

void MainWindow::closeWorkingWindows()
{
    UnloadOtherWindows();
    warnPreviewOpen();
}

void MainWindow::choosePaperOrientation()
{
    const QList<QPrinterInfo> printers = QPrinterInfo::availablePrinters();
    if (printers.isEmpty()) {
        m_dialogs.show(u"没有安装打印机,无法设置纸张方向"_s, u"TZ305提示"_s, Icon::Exclamation);
        return;
    }
    QPrinterInfo printer = QPrinterInfo::defaultPrinter();
    if (printer.isNull())
        printer = printers.first();
    if (!m_printer || m_printer->printerName() != printer.printerName())
        m_printer = std::make_unique<QPrinter>(printer);
    QPageSetupDialog dialog(m_printer.get(), this);
    dialog.exec();
}

void MainWindow::showAbout()
{
    m_dialogs.show(aboutText(), applicationTitle(), Icon::None);
}

void MainWindow::leaveProgram()
{
    if (!LeaveProgram(m_session, hasOpenSubWindows(), m_dialogs).isDone())
        return;
    clearPreviewMarkers();
    m_leaving = true;
    close();
    QCoreApplication::quit();
}

void MainWindow::setCompanyCaption(const QString &companyName)
{
    setWindowTitle(mainCaption(companyName));
}

void MainWindow::setOperatorPanel(const QString &operatorName)
{
    m_operatorPanel->setText(u"操作员:"_s + operatorName);
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    // The close box: refused while a working window is open; otherwise the
    // program ends without emptying the work tables.
    if (!m_leaving && hasOpenSubWindows()) {
        event->ignore();
        return;
    }
    m_scrollTimer->stop();
    event->accept();
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == statusBar() && event->type() == QEvent::MouseButtonDblClick) {
        stopVersionScroll();
        return true;
    }
    // Key presses are seen once, where they reach a top-level window.
    if (event->type() == QEvent::KeyPress && watched->isWindowType()) {
        const auto *key = static_cast<const QKeyEvent *>(event);
        const bool x11 = QGuiApplication::platformName() == u"xcb"_s;
        const quint32 native = key->nativeModifiers();
        switch (key->key()) {
        case Qt::Key_CapsLock:
            m_capsLock = x11 ? !(native & kX11LockMask) : !m_capsLock;
            break;
        case Qt::Key_NumLock:
            m_numLock = x11 ? !(native & kX11NumLockMask) : !m_numLock;
            break;
        case Qt::Key_Insert:
            if (!key->isAutoRepeat())
                m_overwrite = !m_overwrite;
            [[fallthrough]];
        default:
            if (x11) {
                m_capsLock = native & kX11LockMask;
                m_numLock = native & kX11NumLockMask;
            }
            break;
        }
        updateKeyStates();
    }
    return QMainWindow::eventFilter(watched, event);
}

} // namespace tz
