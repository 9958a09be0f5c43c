// Where a window's 导出EXCEL writes and what opens the written workbook.
#include "store/ui/workbookhooks.h"

#include <QFileDialog>

#include "store/ui/openfile.h"

using namespace Qt::Literals::StringLiterals;

namespace tz {

void WorkbookHooks::setSavePathChooser(std::function<QString(const QString &)> chooser)
{
    m_choosePath = std::move(chooser);
}

void WorkbookHooks::setFileOpener(std::function<void(const QString &)> opener)
{
    m_openFile = std::move(opener);
}

QString WorkbookHooks::chooseWorkbookPath(QWidget *window, const QString &suggested) const
{
    if (m_choosePath)
        return m_choosePath(suggested);
    return QFileDialog::getSaveFileName(window, u"导出EXCEL"_s, suggested, u"Excel 工作簿 (*.xlsx)"_s, nullptr,
                                        QFileDialog::DontConfirmOverwrite);
}

void WorkbookHooks::openWorkbook(const QString &path, Dialogs &dialogs) const
{
    if (m_openFile)
        m_openFile(path);
    else
        openWithSpreadsheet(path, dialogs);
}

} // namespace tz
