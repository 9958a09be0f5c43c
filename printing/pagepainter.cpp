// Painting laid-out pages on paged devices and into PDF files.
#include "printing/pagepainter.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <vector>

#ifdef __GLIBC__
#include <malloc.h>
#endif

#include <QFile>
#include <QFontMetricsF>
#include <QGlyphRun>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QRawFont>

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

QRectF toDevice(const QRectF &mm, double dotsPerMm)
{
    return QRectF(mm.left() * dotsPerMm, mm.top() * dotsPerMm, mm.width() * dotsPerMm, mm.height() * dotsPerMm);
}

QFont fontFor(double pointSize, bool bold, QPaintDevice *device)
{
    QFont font(printFontFamily());
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    return QFont(font, device);
}

// The PDF writer compresses each page through two buffers of 16 MiB that
// it takes and frees again; glibc would hand them back to the system and
// fault them in again for every page, which cost more than painting the
// page. During a job they stay in the heap; after it, what the job freed
// goes back to the system.
class LargeBlocksKept
{
public:
    LargeBlocksKept()
    {
#ifdef __GLIBC__
        mallopt(M_MMAP_THRESHOLD, 32 << 20);
        mallopt(M_TRIM_THRESHOLD, 1 << 30);
#endif
    }
    ~LargeBlocksKept()
    {
#ifdef __GLIBC__
        mallopt(M_TRIM_THRESHOLD, 64 << 20);
        malloc_trim(0);
#endif
    }
    LargeBlocksKept(const LargeBlocksKept &) = delete;
    LargeBlocksKept &operator=(const LargeBlocksKept &) = delete;
};

// A text the glyph run draws as the text layout would: one line of
// characters each with a glyph of its own, no marks to combine, no
// control characters and no surrogate pairs.
bool isPlainLine(const QString &text)
{
    for (const QChar c : text) {
        if (c.unicode() < 0x20 || c.isSurrogate() || c.isMark() || c.unicode() == 0x2028 || c.unicode() == 0x2029)
            return false;
    }
    return true;
}

// The sides of a page's boxes as horizontal and vertical segments, joined
// where they lie on one line and touch or overlap. A side drawn once with
// square caps covers what the box outlines drew, each shared side twice.
class BoxEdges
{
public:
    void add(const QRectF &box)
    {
        m_horizontal.push_back(segment(box.top(), box.left(), box.right()));
        m_horizontal.push_back(segment(box.bottom(), box.left(), box.right()));
        m_vertical.push_back(segment(box.left(), box.top(), box.bottom()));
        m_vertical.push_back(segment(box.right(), box.top(), box.bottom()));
    }

    QList<QLineF> lines()
    {
        QList<QLineF> out;
        for (const Segment &s : joined(m_horizontal))
            out.append(QLineF(s.from, s.at, s.to, s.at));
        for (const Segment &s : joined(m_vertical))
            out.append(QLineF(s.at, s.from, s.at, s.to));
        return out;
    }

private:
    struct Segment
    {
        qint64 line; // `at` in hundredths of a device dot: a side computed
                     // for two boxes may differ in its last bits
        double at;   // the line's y (horizontal) or x (vertical)
        double from;
        double to;
    };

    static Segment segment(double at, double from, double to) { return {std::llround(at * 100), at, from, to}; }

    static std::vector<Segment> joined(std::vector<Segment> &segments)
    {
        std::sort(segments.begin(), segments.end(), [](const Segment &a, const Segment &b) {
            return a.line != b.line ? a.line < b.line : a.from < b.from;
        });
        std::vector<Segment> out;
        for (const Segment &s : segments) {
            if (!out.empty() && out.back().line == s.line && s.from <= out.back().to + 0.01)
                out.back().to = std::max(out.back().to, s.to);
            else
                out.push_back(s);
        }
        return out;
    }

    std::vector<Segment> m_horizontal;
    std::vector<Segment> m_vertical;
};

} // namespace

// One font per text style, resolved on the device once for the job, and
// its raw font for looking glyphs and their advances up.
class PagePainter::Fonts
{
public:
    struct Face
    {
        QFont font;
        QRawFont raw;
        double ascent = 0;
        double height = 0; // ascent and descent: one line of the text layout
        struct
        {
            QList<quint32> glyphs;
            QList<QPointF> positions;
        } run; // the page's texts in this style, drawn when the page ends
    };

    explicit Fonts(QPaintDevice *device) : m_device(device) { }

    Face &face(float pointSize, bool bold)
    {
        const auto key = std::make_pair(pointSize, bold);
        auto known = m_faces.find(key);
        if (known == m_faces.end()) {
            Face f;
            f.font = fontFor(pointSize, bold, m_device);
            f.raw = QRawFont::fromFont(f.font);
            f.ascent = f.raw.ascent();
            f.height = f.raw.ascent() + f.raw.descent();
            known = m_faces.emplace(key, std::move(f)).first;
        }
        return known->second;
    }

    QPaintDevice *device() const { return m_device; }
    std::map<std::pair<float, bool>, Face> &faces() { return m_faces; }

private:
    QPaintDevice *m_device;
    std::map<std::pair<float, bool>, Face> m_faces;
};

PagePainter::PagePainter(QPainter &painter, double dotsPerMm)
    : m_painter(painter)
    , m_dotsPerMm(dotsPerMm)
    , m_fonts(std::make_unique<Fonts>(painter.device()))
{
}

PagePainter::~PagePainter() = default;

void PagePainter::paint(const Page &page)
{
    m_painter.save();
    m_painter.setBrush(Qt::NoBrush);
    std::map<double, BoxEdges> boxes; // by pen width
    double penWidth = -1;
    for (const DrawCommand &c : page.commands()) {
        if (c.kind == DrawCommand::Kind::Text) {
            paintText(c);
            continue;
        }
        // Texts are filled, not stroked: only lines and boxes set the pen.
        const double width = std::max(1.0, c.penMm * m_dotsPerMm);
        const QRectF device = toDevice(c.mm, m_dotsPerMm);
        if (c.kind == DrawCommand::Kind::Box && device.width() > 0 && device.height() > 0) {
            boxes[width].add(device);
            continue;
        }
        if (width != penWidth) {
            setPenWidth(width);
            penWidth = width;
        }
        if (c.kind == DrawCommand::Kind::Line)
            m_painter.drawLine(device.topLeft(), device.bottomRight());
        else
            m_painter.drawRect(device);
    }
    // A table's cells share their sides: each side is stroked once, as one
    // line along a whole row or column, rather than once per cell.
    for (auto &[width, edges] : boxes) {
        setPenWidth(width);
        const QList<QLineF> lines = edges.lines();
        m_painter.drawLines(lines.constData(), int(lines.size()));
    }
    // The page's plain texts go out as one glyph run per text style: a PDF
    // page then holds one text object per style instead of one per cell.
    for (auto &[key, face] : m_fonts->faces()) {
        auto &run = face.run;
        if (run.glyphs.isEmpty())
            continue;
        QGlyphRun glyphs;
        glyphs.setRawFont(face.raw);
        glyphs.setGlyphIndexes(run.glyphs);
        glyphs.setPositions(run.positions);
        m_painter.drawGlyphRun(QPointF(), glyphs);
        run.glyphs.clear();
        run.positions.clear();
    }
    m_painter.restore();
}

void PagePainter::setPenWidth(double width)
{
    QPen pen(Qt::black);
    pen.setWidthF(width);
    m_painter.setPen(pen);
}

// A text wider than its box is drawn in a smaller size, down to 5 points,
// so long account names stay inside their column.
void PagePainter::paintText(const DrawCommand &c)
{
    if (c.text.isEmpty())
        return;
    const QRectF box = toDevice(c.mm, m_dotsPerMm);
    const int flags = int(c.style.align) | Qt::TextSingleLine;
    Fonts::Face &face = m_fonts->face(float(c.style.pointSize), c.style.bold);
    const QList<quint32> glyphs = isPlainLine(c.text) ? face.raw.glyphIndexesForString(c.text) : QList<quint32>();
    const bool plain = !glyphs.isEmpty() && glyphs.size() == c.text.size() && !glyphs.contains(0u);
    QList<QPointF> advances;
    double width = 0;
    if (plain) {
        advances = face.raw.advancesForGlyphIndexes(glyphs);
        for (const QPointF &a : advances)
            width += a.x();
    } else {
        width = QFontMetricsF(face.font, m_fonts->device()).horizontalAdvance(c.text);
    }
    if (width > box.width() && width > 0) {
        m_painter.setFont(fontFor(std::max(5.0, c.style.pointSize * box.width() / width), c.style.bold, m_fonts->device()));
        m_painter.drawText(box, flags, c.text);
        return;
    }
    if (!plain) {
        m_painter.setFont(face.font);
        m_painter.drawText(box, flags, c.text);
        return;
    }
    // Placed as the text layout places one line: the whole advance, with
    // trailing spaces, is aligned in the box; the line box is the font's
    // ascent and descent.
    double left = box.left();
    if (c.style.align & Qt::AlignRight)
        left += box.width() - width;
    else if (c.style.align & Qt::AlignHCenter)
        left += (box.width() - width) / 2;
    double top = box.top();
    if (c.style.align & Qt::AlignBottom)
        top += box.height() - face.height;
    else if (c.style.align & Qt::AlignVCenter)
        top += (box.height() - face.height) / 2;
    auto &run = face.run;
    run.glyphs.append(glyphs);
    double x = left;
    const double y = top + face.ascent;
    for (const QPointF &a : advances) {
        run.positions.append(QPointF(x, y));
        x += a.x();
    }
}

PaintResult paintDocument(const Document &doc, QPagedPaintDevice &device, Progress *progress)
{
    // The commands are placed from the page's corner, margins included, so
    // the device paints the full page.
    QPageLayout full = doc.layout;
    full.setMode(QPageLayout::FullPageMode);
    full.setMargins(QMarginsF());
    device.setPageLayout(full);
    const LargeBlocksKept kept;
    QPainter painter;
    if (!painter.begin(&device))
        return PaintResult::Failed;
    PagePainter pages(painter, device.logicalDpiX() / 25.4);
    const int total = int(doc.pages.size());
    for (int i = 0; i < total; ++i) {
        if (progress && !progress->advance(i, total)) {
            painter.end();
            return PaintResult::Cancelled;
        }
        if (i > 0)
            device.newPage();
        pages.paint(doc.pages.at(i));
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
