// Preview and paper printing of laid-out pages.
#include "printing/ui/paperprinter.h"

#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPrinterInfo>

#include "printing/pagelayout.h"
#include "printing/pagepainter.h"
#include "printing/ui/jobprogress.h"
#include "store/dialogs.h"
#include "store/guard.h"
#include "store/ui/controls.h"

using namespace Qt::Literals::StringLiterals;

namespace tz {

namespace {

QPrinterInfo defaultPrinterInfo()
{
    QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull() && !QPrinterInfo::availablePrinters().isEmpty())
        info = QPrinterInfo::availablePrinters().first();
    return info;
}

} // namespace

bool printerInstalled()
{
    return !QPrinterInfo::availablePrinters().isEmpty();
}

OpResult requirePrinter(Dialogs &dialogs)
{
    if (!printerInstalled())
        return refuse(dialogs, u"你电脑上没有安装打印机!! "_s, u"TZ305提示 "_s, Icon::Information);
    return OpResult::done();
}

OpResult PrintOnPaper(const Document &doc, Dialogs &dialogs, Progress *progress)
{
    if (const OpResult ready = requirePrinter(dialogs); !ready.isDone())
        return ready;
    QPrinter printer(defaultPrinterInfo(), QPrinter::HighResolution);
    printer.setFullPage(true);
    printer.setDocName(u"TZ305"_s);
    switch (paintDocument(doc, printer, progress)) {
    case PaintResult::Painted:
        return OpResult::done();
    case PaintResult::Cancelled:
        return OpResult::refused();
    case PaintResult::Failed:
        break;
    }
    return fail(dialogs, u"打印失败: "_s + printer.printerName());
}

QLineEdit *previewMarker(QWidget *widget, int number)
{
    // The markers are the main window's own fields, never a field of the
    // same name inside one of its child windows.
    const QString name = u"Text%1"_s.arg(number);
    for (QLineEdit *field : widget->window()->findChildren<QLineEdit *>(name)) {
        bool inChild = false;
        for (QObject *o = field->parent(); o && !inChild; o = o->parent())
            inChild = qobject_cast<QMdiSubWindow *>(o) != nullptr;
        if (!inChild)
            return field;
    }
    return nullptr;
}

void showPreview(const Document &doc, const QString &title, QWidget *parent, QLineEdit *marker)
{
    // Without a printer the dialog previews on a PDF printer of the same
    // page size, so the preview never depends on a printer.
    QPrinter printer(QPrinter::HighResolution);
    const QPrinterInfo info = defaultPrinterInfo();
    if (!info.isNull())
        printer.setPrinterName(info.printerName());
    else
        printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setFullPage(true);
    printer.setDocName(title);
    QPageLayout full = doc.layout;
    full.setMode(QPageLayout::FullPageMode);
    full.setMargins(QMarginsF());
    printer.setPageLayout(full);
    QPrintPreviewDialog dialog(&printer, parent);
    dialog.setWindowTitle(title);
    // As large as the pages want, but never past a small laptop's screen.
    dialog.resize(1000, 760);
    fitWithinScreen(&dialog, parent);
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog, [&doc](QPrinter *target) {
        QPainter painter(target);
        PagePainter pages(painter, target->logicalDpiX() / 25.4);
        for (qsizetype i = 0; i < doc.pages.size(); ++i) {
            if (i > 0)
                target->newPage();
            pages.paint(doc.pages.at(i));
        }
    });
    if (marker)
        marker->setText(u"1"_s);
    dialog.exec();
    if (marker)
        marker->clear();
}

PageOutput PageOutput::standard(QWidget *window, Dialogs &dialogs)
{
    return {[window](const Document &doc, const QString &title, int marker) {
                showPreview(doc, title, window, previewMarker(window, marker));
            },
            [window, &dialogs](const Document &doc) {
                JobProgress progress(u"正在打印…"_s, window);
                return PrintOnPaper(doc, dialogs, &progress);
            }};
}

} // namespace tz
