// Painting laid-out pages on paged devices and into PDF files.
#include "printing/pagepainter.h"

#include <algorithm>

#include <QFile>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>

#include "printing/pagelayout.h"
#include "printing/progress.h"
#include "store/dialogs.h"
#include "store/guard.h"
#include "store/safefile.h"
#include "store/scratchfile.h"

using namespace Qt::Literals::StringLiterals;

namespace tz {

QString printFontFamily()
{
    return u"WenQuanYi Micro Hei"_s;
}

namespace {

QFont fontFor(const TextStyle &style, double pointSize)
{
    QFont font(printFontFamily());
    font.setPointSizeF(pointSize);
    font.setBold(style.bold);
    return font;
}

QRectF toDevice(const QRectF &mm, double dotsPerMm)
{
    return QRectF(mm.left() * dotsPerMm, mm.top() * dotsPerMm, mm.width() * dotsPerMm, mm.height() * dotsPerMm);
}

// A text wider than its box is drawn in a smaller size, down to 5 points,
// so long account names stay inside their column.
void paintText(QPainter &painter, const DrawCommand &c, double dotsPerMm)
{
    const QRectF box = toDevice(c.mm, dotsPerMm);
    double size = c.style.pointSize;
    QFont font = fontFor(c.style, size);
    painter.setFont(font);
    const double width = QFontMetricsF(font, painter.device()).horizontalAdvance(c.text);
    if (width > box.width() && width > 0) {
        size = std::max(5.0, size * box.width() / width);
        painter.setFont(fontFor(c.style, size));
    }
    painter.drawText(box, int(c.style.align) | Qt::TextSingleLine, c.text);
}

} // namespace

void paintPage(QPainter &painter, const Page &page, double dotsPerMm)
{
    painter.save();
    for (const DrawCommand &c : page.commands()) {
        QPen pen(Qt::black);
        pen.setWidthF(std::max(1.0, c.penMm * dotsPerMm));
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        switch (c.kind) {
        case DrawCommand::Kind::Text:
            paintText(painter, c, dotsPerMm);
            break;
        case DrawCommand::Kind::Line:
            painter.drawLine(QPointF(c.mm.left(), c.mm.top()) * dotsPerMm,
                             QPointF(c.mm.right(), c.mm.bottom()) * dotsPerMm);
            break;
        case DrawCommand::Kind::Box:
            painter.drawRect(toDevice(c.mm, dotsPerMm));
            break;
        }
    }
    painter.restore();
}

PaintResult paintDocument(const Document &doc, QPagedPaintDevice &device, Progress *progress)
{
    // The commands are placed from the page's corner, margins included, so
    // the device paints the full page.
    QPageLayout full = doc.layout;
    full.setMode(QPageLayout::FullPageMode);
    full.setMargins(QMarginsF());
    device.setPageLayout(full);
    QPainter painter;
    if (!painter.begin(&device))
        return PaintResult::Failed;
    const double dotsPerMm = device.logicalDpiX() / 25.4;
    const int total = int(doc.pages.size());
    for (int i = 0; i < total; ++i) {
        if (progress && !progress->advance(i, total)) {
            painter.end();
            return PaintResult::Cancelled;
        }
        if (i > 0)
            device.newPage();
        paintPage(painter, doc.pages.at(i), dotsPerMm);
    }
    if (progress)
        progress->advance(total, total);
    return painter.end() ? PaintResult::Painted : PaintResult::Failed;
}

bool isWholePdf(const QString &path)
{
    // A whole PDF ends with its trailer: "startxref", the offset of the
    // cross-reference table, and "%%EOF"; the offset must point at "xref".
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() < 64 || !file.seek(file.size() - 64))
        return false;
    const QByteArray tail = file.read(64).trimmed();
    const qsizetype mark = tail.lastIndexOf("startxref");
    if (!tail.endsWith("%%EOF") || mark < 0)
        return false;
    bool ok = false;
    const qint64 xref = tail.mid(mark + 9, tail.size() - 5 - mark - 9).trimmed().toLongLong(&ok);
    return ok && xref > 0 && file.seek(xref) && file.read(4) == "xref";
}

OpResult WritePdf(const Document &doc, const QString &path, Dialogs &dialogs, Progress *progress, bool quiet)
{
    const auto write = [&](ScratchFile &scratch) {
        PaintResult painted = PaintResult::Failed;
        {
            // The writer goes through the scratch file's checked writes:
            // QPdfWriter itself carries on past a failed write.
            QPdfWriter writer(&scratch);
            writer.setResolution(600);
            writer.setCreator(u"TZ305"_s);
            painted = paintDocument(doc, writer, progress);
        }
        return painted == PaintResult::Painted ? FileWrite::Written
            : painted == PaintResult::Cancelled ? FileWrite::Cancelled
                                                 : FileWrite::Failed;
    };
    const OpResult written = writeUserFile(path, dialogs, write, isWholePdf);
    if (written.isDone() && !quiet)
        dialogs.show(u"已输出PDF文件: "_s + path, applicationTitle(), Icon::Information);
    return written;
}

} // namespace tz
