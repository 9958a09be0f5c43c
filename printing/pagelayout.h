// Laying a banded report out into pages of drawing commands, once; the
// commands are then painted on a preview, a printer or a PDF file
// (printing/pagepainter.h), or read by tests without painting.
#pragma once

#include <QByteArray>
#include <QList>
#include <QPageLayout>
#include <QRectF>
#include <QString>
#include <QStringList>

#include "printing/report.h"
#include "store/resultset.h"

namespace tz {

class PagedRows;
class Progress;

struct DrawCommand
{
    enum class Kind {
        Text,
        Line,
        Box,
    };
    Kind kind = Kind::Text;
    QRectF mm; // on the page, from its top-left corner
    QString text;
    TextStyle style;
    double penMm = 0.2;
    bool pageMarks = false; // a label whose %p and %P become page number and count
};

// One page's drawing commands, packed into bytes as they are added: a
// year of ledger pages holds over a million commands, which as objects
// would take several times the memory. A label with page marks is stored
// as laid out; its "%p" and "%P" become the page's number and count when
// the commands are read.
class Page
{
public:
    void add(const DrawCommand &command);
    // Sets the number and count the page marks read as.
    void setNumber(int number, int count);
    // The commands in the order added.
    QList<DrawCommand> commands() const;
    qsizetype size() const { return m_count; }
    // Gives back the room reserved for further commands.
    void squeeze() { m_packed.squeeze(); }

    // The texts on the page, top to bottom and left to right.
    QStringList texts() const;
    bool contains(const QString &text) const { return texts().contains(text); }

private:
    QByteArray m_packed;
    qsizetype m_count = 0;
    int m_number = 1;
    int m_pageCount = 1;
};

struct Document
{
    QPageLayout layout;
    QList<Page> pages;

    // Appends the pages of `other` (laid out on the same page layout).
    void append(const Document &other);
    // 1-based number of the first page holding `text`, 0 when none does.
    int pageOf(const QString &text) const;
};

// Lays `rows` out under `report`. Each page starts with the page header;
// a group starts with its group header (again at the top of each page it
// continues on) and ends with its footer; a detail row that does not fit
// above the page footer goes to the next page. With no rows the report
// still has one page of headers and footers. "%p" and "%P" in labels are
// the page number and count of this report.
Document layOutReport(const ReportDefinition &report, const ResultSet &rows);
// The same over rows read as they are laid out (a year of ledger pages),
// so that they are not all held beside the pages.
Document layOutReport(const ReportDefinition &report, const PagedRows &rows);

} // namespace tz
