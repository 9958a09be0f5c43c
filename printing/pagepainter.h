// Painting laid-out pages: on any paged device (a printer, the preview's
// printer, a PDF writer), and into a PDF file the user names.
#pragma once

#include <QString>

#include "store/opresult.h"

class QPagedPaintDevice;
class QPainter;

namespace tz {

class Dialogs;
class Progress;
struct Document;
class Page;

// The font of every printed text: one that carries Chinese.
QString printFontFamily();

// Paints one page with `painter`, whose device has `dotsPerMm` resolution.
void paintPage(QPainter &painter, const Page &page, double dotsPerMm);

enum class PaintResult {
    Painted,
    Cancelled, // through `progress`
    Failed,    // the painter could not start or finish on the device
};

// Sets `device` to the document's page size and orientation and paints
// every page on it, a new page between pages.
PaintResult paintDocument(const Document &doc, QPagedPaintDevice &device, Progress *progress = nullptr);

// True when the file at `path` ends with a PDF trailer whose offset points
// at the cross-reference table.
bool isWholePdf(const QString &path);

// Writes the document as a PDF file at `path` through writeUserFile: an
// account set or a folder is never written, an existing file only after
// Yes, and the scratch file beside it is renamed into place only when
// isWholePdf. Cancelled: nothing is written, refused. Done with
// "已输出PDF文件: " + path (information, "TZ305") unless `quiet`.
OpResult WritePdf(const Document &doc, const QString &path, Dialogs &dialogs, Progress *progress = nullptr,
                  bool quiet = false);

} // namespace tz
