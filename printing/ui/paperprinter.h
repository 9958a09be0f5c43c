// The two screen and paper targets of laid-out pages: the preview dialog
// (zoom, page navigation, printing from it) and the default printer
// without a dialog. PDF files are written by the core (printing/pagepainter.h).
#pragma once

#include <functional>

#include <QString>

#include "store/opresult.h"

class QLineEdit;
class QWidget;

namespace tz {

class Dialogs;
class Progress;
struct Document;

// True when the system knows at least one printer.
bool printerInstalled();

// Refuses "你电脑上没有安装打印机!! " (information, "TZ305提示 ") when
// there is no printer; the only check paper printing needs before a layout.
OpResult requirePrinter(Dialogs &dialogs);

// Prints on the default printer without a print dialog (requirePrinter
// first). Cancelled through `progress`: refused, nothing more printed.
OpResult PrintOnPaper(const Document &doc, Dialogs &dialogs, Progress *progress = nullptr);

// The main window's preview marker `Text<number>` (14 to 23) of the window
// that holds `widget`, or null when it has none (a window shown alone).
QLineEdit *previewMarker(QWidget *widget, int number);

// Shows the pages in a modal preview dialog titled `title` (zoom, page
// navigation, printing from it); works without any printer. `marker`, when
// given, holds "1" while the preview is open.
void showPreview(const Document &doc, const QString &title, QWidget *parent, QLineEdit *marker = nullptr);

// Where a window sends laid-out pages: by default the preview dialog (its
// preview marker set while open) and the default printer with a progress
// dialog; window tests replace both to look at the pages.
struct PageOutput
{
    std::function<void(const Document &, const QString &title, int marker)> preview;
    std::function<OpResult(const Document &)> print;

    static PageOutput standard(QWidget *window, Dialogs &dialogs);
};

} // namespace tz
