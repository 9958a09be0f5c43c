// The main window: the frame of the program after login. An MDI area with
// the background picture, the toolbar with the year and the closed-month
// boxes, the menus, the status bar with the scrolling version line, and the
// marker fields through which working windows and report previews tell each
// other what is open.
#pragma once

#include <array>
#include <functional>
#include <memory>

#include <QMainWindow>

#include "store/operation.h"

class QLabel;
class QLineEdit;
class QMdiArea;
class QPrinter;
class QTimer;

namespace tz {

class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    // Messages go to message boxes over this window.
    explicit MainWindow(Session &session, QWidget *parent = nullptr);
    // Messages and questions go to `dialogs` (tests script them); it must
    // outlive the window.
    MainWindow(Session &session, Dialogs &dialogs, QWidget *parent = nullptr);
    ~MainWindow() override;

    QMdiArea *mdiArea() const;

    // The marker fields Text1 (last query kind) and Text14..Text23 (open
    // report previews); nullptr for any other number.
    QLineEdit *markerField(int number) const;
    // True while any preview marker Text14..Text23 is non-empty.
    bool isPreviewOpen() const;
    void clearPreviewMarkers();

    // True while a working window is open in the MDI area.
    bool hasOpenSubWindows() const;

    bool isVersionScrolling() const;
    // The printer whose page setup 纸张方向 edits (null until it was used).
    QPrinter *pagePrinter() const;

public slots:
    // Shows the box of each closed month and hides the others.
    void refreshClosedMonthMarkers();
    // Closes every working window in the MDI area.
    void UnloadOtherWindows();
    // One step of the status bar's scrolling version line.
    void scrollVersionLine();
    // Stops the scrolling and puts the version line back unpadded.
    void stopVersionScroll();

    // The toolbar's and the menus' actions.
    void openSettings();
    void openChartOfAccounts();
    void openVoucherEntry();
    // 批量月结: the month end of a folder of sets, this one among them or not.
    void openMonthEnd();
    // 操作日志: the trail of changes, read-only.
    void openChangeLog();
    void openQueryWindow();
    void openStatementWindow();
    void openVoucherPrintWindow();
    void closeWorkingWindows();
    void choosePaperOrientation();
    void showAbout();
    void leaveProgram();

    // Caption and operator panel, also called when the settings window
    // renames the company or the operator.
    void setCompanyCaption(const QString &companyName);
    void setOperatorPanel(const QString &operatorName);

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Shows the one child window of type W maximised inside the main
    // window, made by `make` the first time; later calls bring it forward.
    template<typename W> void openChild(const std::function<W *()> &make);
    void build();
    void buildToolBar();
    void buildMenus();
    void buildStatusBar();
    void buildMarkers();
    void loadBackground();
    void updateClock();
    void updateKeyStates();
    // Shows "点右上角关闭预览↗" when a preview is open; true if it did.
    bool warnPreviewOpen();

    Session &m_session;
    std::unique_ptr<Dialogs> m_ownDialogs;
    Dialogs &m_dialogs;

    QMdiArea *m_area = nullptr;
    QLineEdit *m_year = nullptr;                    // Text24
    std::array<QLineEdit *, 12> m_monthBoxes{};     // Text2..Text13
    QLineEdit *m_queryMarker = nullptr;             // Text1
    std::array<QLineEdit *, 10> m_previewMarkers{}; // Text14..Text23

    QLabel *m_datePanel = nullptr;
    QLabel *m_timePanel = nullptr;
    QLabel *m_operatorPanel = nullptr;
    QLabel *m_versionPanel = nullptr;
    QLabel *m_capsPanel = nullptr;
    QLabel *m_numPanel = nullptr;
    QLabel *m_insertPanel = nullptr;
    QTimer *m_scrollTimer = nullptr;
    QTimer *m_clockTimer = nullptr;

    bool m_capsLock = false;
    bool m_numLock = false;
    bool m_overwrite = false;
    bool m_leaving = false;
    std::unique_ptr<QPrinter> m_printer;
};

} // namespace tz
