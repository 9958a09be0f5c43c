// Painting laid-out pages: on any paged device (a printer, the preview's
// printer, a PDF writer), and into a PDF file the user names.
#pragma once

#include <memory>

#include <QString>

#include "store/opresult.h"

class QPagedPaintDevice;
class QPainter;

namespace tz {

class Dialogs;
class Progress;
struct Document;
struct DrawCommand;
class Page;

// The font of every printed text: one that carries Chinese.
QString printFontFamily();

// Paints the pages of one job with `painter`, whose device has
// `dotsPerMm` resolution. The font of each text style (size and weight)
// is made once for the job, and a text is drawn as the run of its glyphs
// placed where the text layout places them: shaping every cell through
// the text layout, with a font made for it, was most of a page's cost.
// A page's texts of one style go out as one glyph run and its boxes as
// the lines they make up, each shared side once: a PDF page then holds a
// few text and path objects instead of one per cell, which is less to
// write and to compress.
class PagePainter
{
public:
    PagePainter(QPainter &painter, double dotsPerMm);
    ~PagePainter();
    PagePainter(const PagePainter &) = delete;
    PagePainter &operator=(const PagePainter &) = delete;

    void paint(const Page &page);

private:
    class Fonts;
    void paintText(const DrawCommand &command);
    void setPenWidth(double width);

    QPainter &m_painter;
    double m_dotsPerMm;
    std::unique_ptr<Fonts> m_fonts;
};

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
