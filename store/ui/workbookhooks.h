// Where a window's 导出EXCEL writes and what opens the written workbook,
// replaceable (tests answer without a dialog and open nothing).
#pragma once

#include <functional>

#include <QString>

class QWidget;

namespace tz {

class Dialogs;

class WorkbookHooks
{
public:
    // Chooses where 导出EXCEL writes, given the suggested path; an empty
    // answer cancels. By default a save dialog asks.
    void setSavePathChooser(std::function<QString(const QString &)> chooser);
    // Opens a written workbook; by default the desktop's spreadsheet program.
    void setFileOpener(std::function<void(const QString &)> opener);

protected:
    // The chooser's answer, by default that of a save dialog titled
    // 导出EXCEL over `window` that leaves the question about an existing
    // file to the writer.
    QString chooseWorkbookPath(QWidget *window, const QString &suggested) const;
    // Opens `path` with the opener, by default the spreadsheet program (a
    // failure to start one told through `dialogs`).
    void openWorkbook(const QString &path, Dialogs &dialogs) const;

private:
    std::function<QString(const QString &)> m_choosePath;
    std::function<void(const QString &)> m_openFile;
};

} // namespace tz
