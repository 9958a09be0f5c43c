// The 批量月结 window: a bookkeeping firm's month end over a folder of
// account sets, run by the same operation as `tz305-cli batch month-end`.
// It lists the sets found with their company and year, runs them on a
// worker thread, shows each set's state as it changes and ends with the
// summary workbook.
#pragma once

#include <atomic>
#include <functional>
#include <memory>

#include <QDialog>
#include <QList>
#include <QString>

#include "batch/monthend.h"
#include "store/ui/workbookhooks.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTableWidget;
class QThread;

namespace tz {

class Dialogs;

class MonthEndWindow : public QDialog, public WorkbookHooks
{
    Q_OBJECT

public:
    // Messages in message boxes over this window; folders chosen in file
    // dialogs.
    explicit MonthEndWindow(QWidget *parent = nullptr);
    // The same window speaking through `dialogs` (it must outlive the window).
    explicit MonthEndWindow(Dialogs &dialogs, QWidget *parent = nullptr);
    // Waits for a run or a listing under way (a run stops after the sets
    // in progress).
    ~MonthEndWindow() override;

    // Asks for a folder or a file, given the caption and the current text;
    // an empty answer keeps the field. By default a file dialog.
    using PathChooser = std::function<QString(const QString &caption, const QString &current)>;
    void setPathChooser(PathChooser chooser) { m_choosePath = std::move(chooser); }
    // Opens the output folder (打开输出文件夹); by default the desktop's file manager.
    void setFolderOpener(std::function<void(const QString &)> opener) { m_openFolder = std::move(opener); }

    // True while the sets run.
    bool isRunning() const { return m_run != nullptr; }

signals:
    // The run has ended (also when cancelled or refused) and the window is idle.
    void runEnded();

public slots:
    void reject() override;

private:
    MonthEndWindow(Dialogs *dialogs, QWidget *parent);

    void buildControls();
    void listSets();
    void showSetInfo(int generation, int row, const QString &company, const QString &problem,
                     const QStringList &operators);
    void start();
    void cancel();
    void showProgress(const MonthEndSetResult &result);
    void finishRun(const OpResult &ran, const OpResult &written, const QList<MonthEndSetResult> &results,
                   double seconds);
    void setRunning(bool running);
    void chooseInto(QLineEdit *field, const QString &caption, bool file);
    void openOutputFolder();
    void openSummary();
    int rowOf(const QString &path) const;
    void showState(int row, SetRunState state, const QString &detail);
    void stopReading();
    void waitForThreads();

    std::unique_ptr<Dialogs> m_ownDialogs;
    Dialogs *m_dialogs = nullptr;
    PathChooser m_choosePath;
    std::function<void(const QString &)> m_openFolder;

    QLineEdit *m_setsFolder = nullptr;   // setsFolder
    QPushButton *m_chooseSets = nullptr; // chooseSetsFolder
    QSpinBox *m_month = nullptr;         // month
    QComboBox *m_year = nullptr;         // year
    QSpinBox *m_jobs = nullptr;          // jobs
    QRadioButton *m_layout13 = nullptr;  // layout13
    QRadioButton *m_layout07 = nullptr;  // layout07
    QLineEdit *m_outFolder = nullptr;    // outFolder
    QPushButton *m_chooseOut = nullptr;  // chooseOutFolder
    QComboBox *m_operator = nullptr;     // operatorName
    QLineEdit *m_password = nullptr;     // password
    QLineEdit *m_reviewer = nullptr;     // reviewer
    QLineEdit *m_credentials = nullptr;  // credentialsFile
    QPushButton *m_chooseCredentials = nullptr; // chooseCredentials
    QLabel *m_found = nullptr;           // setsFound
    QTableWidget *m_sets = nullptr;      // setsTable
    QProgressBar *m_progress = nullptr;  // progress
    QLabel *m_outcome = nullptr;         // outcome
    QPushButton *m_start = nullptr;      // start
    QPushButton *m_cancelButton = nullptr; // cancel
    QPushButton *m_openFolderButton = nullptr; // openOutFolder
    QPushButton *m_openSummaryButton = nullptr; // openSummary
    QPushButton *m_close = nullptr;      // close

    QStringList m_paths;   // the sets listed, absolute, in the table's order
    QString m_listedFolder;
    int m_generation = 0;  // the listing the reading thread reports for
    QThread *m_reader = nullptr;     // reads the listed sets' companies
    std::atomic_bool m_stopReading = false;
    QThread *m_run = nullptr;        // runs the month end
    std::atomic_bool m_stopRun = false; // 取消: no further set starts
    int m_ended = 0;                 // sets done or failed in this run
    QString m_runOut;                // the running or last run's output folder
    QString m_summary;               // the last run's summary workbook
};

} // namespace tz
