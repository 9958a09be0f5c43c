// Laying a banded report out into pages of drawing commands.
#include "printing/pagelayout.h"

#include <algorithm>
#include <cstring>

#include "store/dberror.h"
#include "store/numberformat.h"
#include "store/pagedrows.h"

using namespace Qt::Literals::StringLiterals;

namespace tz {

namespace {

// A command's fixed part as it is packed; its text follows as UTF-16.
// Millimetres and points as floats: a page is a few hundred millimetres,
// which a float holds to well under a thousandth of a printer's dot.
struct PackedCommand
{
    float left;
    float top;
    float width;
    float height;
    float pointSize;
    float penMm;
    qint32 textLength;
    quint16 align;
    quint8 kind;
    quint8 flags; // 1 bold, 2 page marks
};
static_assert(sizeof(PackedCommand) == 32);

} // namespace

void Page::add(const DrawCommand &c)
{
    const PackedCommand fixed{float(c.mm.left()),     float(c.mm.top()),         float(c.mm.width()),
                              float(c.mm.height()),   float(c.style.pointSize), float(c.penMm),
                              qint32(c.text.size()),  quint16(c.style.align.toInt()), quint8(c.kind),
                              quint8((c.style.bold ? 1 : 0) | (c.pageMarks ? 2 : 0))};
    m_packed.append(reinterpret_cast<const char *>(&fixed), sizeof fixed);
    m_packed.append(reinterpret_cast<const char *>(c.text.constData()), c.text.size() * qsizetype(sizeof(QChar)));
    ++m_count;
}

void Page::setNumber(int number, int count)
{
    m_number = number;
    m_pageCount = count;
}

QList<DrawCommand> Page::commands() const
{
    QList<DrawCommand> out;
    out.reserve(m_count);
    const char *at = m_packed.constData();
    for (qsizetype i = 0; i < m_count; ++i) {
        PackedCommand fixed;
        std::memcpy(&fixed, at, sizeof fixed);
        at += sizeof fixed;
        DrawCommand c;
        c.kind = DrawCommand::Kind(fixed.kind);
        c.mm = QRectF(fixed.left, fixed.top, fixed.width, fixed.height);
        c.style.pointSize = fixed.pointSize;
        c.style.bold = (fixed.flags & 1) != 0;
        c.style.align = Qt::Alignment::fromInt(fixed.align);
        c.penMm = fixed.penMm;
        c.pageMarks = (fixed.flags & 2) != 0;
        c.text.resize(fixed.textLength);
        std::memcpy(c.text.data(), at, fixed.textLength * sizeof(QChar));
        at += fixed.textLength * qsizetype(sizeof(QChar));
        if (c.pageMarks)
            c.text.replace(u"%p"_s, QString::number(m_number)).replace(u"%P"_s, QString::number(m_pageCount));
        out.append(std::move(c));
    }
    return out;
}

QStringList Page::texts() const
{
    const QList<DrawCommand> all = commands();
    QList<const DrawCommand *> text;
    for (const DrawCommand &c : all)
        if (c.kind == DrawCommand::Kind::Text && !c.text.isEmpty())
            text.append(&c);
    std::stable_sort(text.begin(), text.end(), [](const DrawCommand *a, const DrawCommand *b) {
        return a->mm.top() != b->mm.top() ? a->mm.top() < b->mm.top() : a->mm.left() < b->mm.left();
    });
    QStringList out;
    for (const DrawCommand *c : text)
        out.append(c->text);
    return out;
}

void Document::append(const Document &other)
{
    if (pages.isEmpty())
        layout = other.layout;
    pages.append(other.pages);
}

int Document::pageOf(const QString &text) const
{
    for (qsizetype i = 0; i < pages.size(); ++i)
        if (pages.at(i).contains(text))
            return int(i + 1);
    return 0;
}

namespace {

// What the layout reads of its rows, held in memory or read as laid out.
class LayoutRows
{
public:
    virtual ~LayoutRows() = default;
    virtual int recordCount() const = 0;
    virtual const QStringList &columnNames() const = 0;
    virtual QVariant value(int row, int column) const = 0;

    // The column named `name` as ResultSet finds it, or -1.
    int columnIndex(const QString &name) const { return ResultSet(columnNames(), {}).columnIndex(name); }
};

class HeldRows : public LayoutRows
{
public:
    explicit HeldRows(const ResultSet &rows) : m_rows(rows) { }
    int recordCount() const override { return m_rows.recordCount(); }
    const QStringList &columnNames() const override { return m_rows.columnNames(); }
    QVariant value(int row, int column) const override { return m_rows.value(row, column); }

private:
    const ResultSet &m_rows;
};

class ReadRows : public LayoutRows
{
public:
    explicit ReadRows(const PagedRows &rows) : m_rows(rows) { }
    int recordCount() const override { return m_rows.count(); }
    const QStringList &columnNames() const override { return m_rows.columnNames(); }
    QVariant value(int row, int column) const override { return m_rows.row(row).value(column); }

private:
    const PagedRows &m_rows;
};

class Layouter
{
public:
    Layouter(const ReportDefinition &report, const LayoutRows &rows)
        : m_report(report)
        , m_rows(rows)
    {
        const QRectF content = report.page.paintRect(QPageLayout::Millimeter);
        m_left = content.left();
        m_top = content.top();
        m_bottom = content.bottom() - report.pageFooter.heightMm;
        m_footerTop = m_bottom;
    }

    Document run()
    {
        // One pass over the rows: a group ends where the group column
        // changes, found by reading just ahead of the rows being placed.
        const int count = m_rows.recordCount();
        const int groupColumn = m_report.groupColumn.isEmpty() ? -1 : m_rows.columnIndex(m_report.groupColumn);
        int first = 0;
        for (int g = 0; g == 0 || first < count; ++g) {
            int last = count - 1; // one group (possibly empty) without a group column
            if (groupColumn >= 0 && count > 0) {
                const QVariant group = m_rows.value(first, groupColumn);
                last = first;
                while (last + 1 < count && m_rows.value(last + 1, groupColumn) == group)
                    ++last;
            }
            if (m_pages.isEmpty() || (m_report.newPagePerGroup && g > 0))
                startPage();
            ensureRoom(m_report.groupHeader.heightMm + m_report.detail.heightMm, first, false);
            place(m_report.groupHeader, first);
            for (int r = first; r <= last; ++r) {
                ensureRoom(m_report.detail.heightMm, r, true);
                place(m_report.detail, r);
            }
            ensureRoom(m_report.groupFooter.heightMm, last, true);
            place(m_report.groupFooter, last);
            first = last + 1;
        }
        if (m_pages.isEmpty())
            startPage();
        ensureRoom(m_report.reportFooter.heightMm, int(m_rows.recordCount()) - 1, false);
        place(m_report.reportFooter, int(m_rows.recordCount()) - 1);
        finishPage();
        numberPages();
        Document doc;
        doc.layout = m_report.page;
        doc.pages = m_pages;
        return doc;
    }

private:
    void startPage()
    {
        if (!m_pages.isEmpty())
            finishPage();
        m_pages.append(Page());
        m_y = m_top;
        m_open = true;
        place(m_report.pageHeader, -1);
    }

    void finishPage()
    {
        if (!m_open)
            return;
        m_y = m_footerTop;
        place(m_report.pageFooter, -1);
        m_pages.last().squeeze();
        m_open = false;
    }

    // Moves to a new page when `height` does not fit above the page footer;
    // a group continuing there repeats its header.
    void ensureRoom(double height, int row, bool repeatGroupHeader)
    {
        if (m_y + height <= m_bottom + 0.001 || m_y == m_afterHeader)
            return;
        startPage();
        if (repeatGroupHeader)
            place(m_report.groupHeader, row);
    }

    void place(const ReportBand &band, int row)
    {
        if (band.isEmpty())
            return;
        Page &page = m_pages.last();
        for (const ReportElement &e : band.elements) {
            if (e.hidden)
                continue;
            DrawCommand c;
            c.mm = e.mm.translated(m_left, m_y);
            c.style = e.style;
            c.penMm = e.penMm;
            switch (e.kind) {
            case ReportElement::Kind::Label:
                c.text = e.text;
                c.pageMarks = e.text.contains(u'%');
                break;
            case ReportElement::Kind::Field:
                c.text = row >= 0 && row < m_rows.recordCount() ? formatValue(m_rows.value(row, column(e.text)), e.format)
                                                                : QString();
                break;
            case ReportElement::Kind::Line:
                c.kind = DrawCommand::Kind::Line;
                break;
            case ReportElement::Kind::Box:
                c.kind = DrawCommand::Kind::Box;
                break;
            }
            page.add(c);
        }
        m_y += band.heightMm;
        if (&band == &m_report.pageHeader)
            m_afterHeader = m_y;
    }

    void numberPages()
    {
        for (qsizetype i = 0; i < m_pages.size(); ++i)
            m_pages[i].setNumber(int(i + 1), int(m_pages.size()));
    }

    const ReportDefinition &m_report;
    // The ordinal of a field's column, found once; a name that is no
    // column fails as reading it from a ResultSet does.
    int column(const QString &name)
    {
        const auto known = m_columns.constFind(name);
        if (known != m_columns.cend())
            return *known;
        const int index = m_rows.columnIndex(name);
        if (index < 0)
            throw DbError(DbError::Kind::Statement, u"结果集中没有列: %1"_s.arg(name));
        m_columns.insert(name, index);
        return index;
    }

    const LayoutRows &m_rows;
    QHash<QString, int> m_columns;
    QList<Page> m_pages;
    double m_left = 0;
    double m_top = 0;
    double m_bottom = 0;
    double m_footerTop = 0;
    double m_y = 0;
    double m_afterHeader = -1;
    bool m_open = false;
};

} // namespace

Document layOutReport(const ReportDefinition &report, const ResultSet &rows)
{
    return Layouter(report, HeldRows(rows)).run();
}

Document layOutReport(const ReportDefinition &report, const PagedRows &rows)
{
    return Layouter(report, ReadRows(rows)).run();
}

} // namespace tz
