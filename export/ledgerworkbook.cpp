// The ledger workbooks, written with libxlsxwriter.
#include "export/ledgerworkbook.h"

#include <algorithm>

#include <QFile>

#include "export/workbookfile.h"
#include "store/companyname.h"
#include "store/dialogs.h"
#include "store/guard.h"
#include "store/session.h"

using namespace Qt::Literals::StringLiterals;

namespace tz {

namespace {

constexpr int kPageRows = 29; // sheet rows of a printed page
constexpr int kSummaryColumn = 2;

enum class ColumnKind { Date, Text, Quantity, Price, Amount };

struct LedgerColumn
{
    ColumnKind kind;
    double width;
};

// The columns written, in sheet order, and the balance columns a page
// break carries.
struct LedgerShape
{
    QString sql;
    QList<LedgerColumn> fixed;
    QList<int> carried;
};

LedgerShape shapeOf(LedgerWorkbookKind kind)
{
    const LedgerColumn date{ColumnKind::Date, 10.5}, word{ColumnKind::Text, 8}, side{ColumnKind::Text, 4.5};
    const LedgerColumn amount{ColumnKind::Amount, 13}, quantity{ColumnKind::Quantity, 9}, price{ColumnKind::Price, 9};
    switch (kind) {
    case LedgerWorkbookKind::ThreeColumn:
        return {u"SELECT 日期,字号,摘要说明,借方金额,贷方金额,方向,余额 FROM 三总式 ORDER BY ID, rowid"_s,
                {date, word, {ColumnKind::Text, 30}, amount, amount, side, amount},
                {6}};
    case LedgerWorkbookKind::Quantity:
        return {u"SELECT 日期,字号,摘要说明,借数,借单,借金,贷数,贷单,贷金,方向,余数,余单,余额 FROM 数量式 "
                "ORDER BY ID, rowid"_s,
                {date, word, {ColumnKind::Text, 24}, quantity, price, amount, quantity, price, amount, side, quantity,
                 price, amount},
                {10, 12}};
    case LedgerWorkbookKind::MultiColumn:
        // Every column but ID and the unwritten 备注; the sub-account
        // columns after the fixed seven are amounts.
        return {u"SELECT * FROM 多栏式 ORDER BY ID, rowid"_s,
                {date, word, {ColumnKind::Text, 24}, amount, amount, side, amount},
                {6}};
    }
    return {};
}

struct SheetFormats
{
    lxw_format *heading;
    lxw_format *text;
    lxw_format *date;
    lxw_format *quantity;
    lxw_format *price;
    lxw_format *amount;

    explicit SheetFormats(lxw_workbook *book)
    {
        const auto make = [book](double size) {
            lxw_format *f = workbook_add_format(book);
            format_set_font_name(f, "宋体");
            format_set_font_size(f, size);
            format_set_align(f, LXW_ALIGN_VERTICAL_CENTER);
            format_set_border(f, LXW_BORDER_THIN);
            format_set_shrink(f);
            return f;
        };
        heading = make(11);
        format_set_align(heading, LXW_ALIGN_CENTER);
        text = make(10);
        date = make(10);
        format_set_num_format(date, "yyyy-mm-dd");
        quantity = make(10);
        price = make(10);
        format_set_num_format(price, "0.000");
        amount = make(10);
        format_set_num_format(amount, "#,##0.00");
    }

    CellFormats forColumn(ColumnKind kind) const
    {
        switch (kind) {
        case ColumnKind::Date:
            return {text, amount, date};
        case ColumnKind::Text:
            return {text, text, date};
        case ColumnKind::Quantity:
            return {text, quantity, date};
        case ColumnKind::Price:
            return {text, price, date};
        case ColumnKind::Amount:
            return {text, amount, date};
        }
        return {text, amount, date};
    }
};

// The two heading rows at sheet row `top`.
void writeHeading(lxw_worksheet *sheet, lxw_row_t top, LedgerWorkbookKind kind, const QStringList &names,
                  const SheetFormats &f)
{
    const auto merged = [&](int c, const QString &caption) {
        worksheet_merge_range(sheet, top, lxw_col_t(c), top + 1, lxw_col_t(c), caption.toUtf8().constData(), f.heading);
    };
    const auto spanned = [&](int first, int last, const QString &caption) {
        if (first == last)
            worksheet_write_string(sheet, top, lxw_col_t(first), caption.toUtf8().constData(), f.heading);
        else
            worksheet_merge_range(sheet, top, lxw_col_t(first), top, lxw_col_t(last), caption.toUtf8().constData(),
                                  f.heading);
    };
    const auto below = [&](int c, const QString &caption) {
        worksheet_write_string(sheet, top + 1, lxw_col_t(c), caption.toUtf8().constData(), f.heading);
    };
    if (kind == LedgerWorkbookKind::Quantity) {
        for (int c : {0, 1, 2, 9})
            merged(c, names.at(c));
        const QStringList sides{u"借    方"_s, u"贷    方"_s, u"余    额"_s};
        for (int s = 0; s < 3; ++s) {
            const int first = s == 2 ? 10 : 3 + 3 * s;
            spanned(first, first + 2, sides.at(s));
            below(first, u"数量"_s);
            below(first + 1, u"单价"_s);
            below(first + 2, u"金额"_s);
        }
        return;
    }
    for (int c = 0; c < 7; ++c)
        merged(c, names.at(c));
    if (names.size() > 7) {
        spanned(7, int(names.size()) - 1, u" 明细科目"_s);
        for (int c = 7; c < names.size(); ++c)
            below(c, names.at(c));
    }
}

QString periodLine(int year)
{
    return u"\n&\"常规\"&10会计期间:%1年1-12月"_s.arg(year);
}

QString headerText(LedgerWorkbookKind kind, const LedgerWorkbookHeading &heading, const QString &company, int year)
{
    const QString titled = u"   明细帐&\"宋体,常规\""_s;
    QString left, centre;
    switch (kind) {
    case LedgerWorkbookKind::ThreeColumn:
        left = u"\n&\"常规\"       &10科目名称:"_s + heading.code + u' ' + heading.namePath;
        centre = u"&\"黑体\"&16"_s + heading.topName
            + (heading.general ? u"   总分类帐&\"宋体,常规\""_s : titled) + periodLine(year);
        break;
    case LedgerWorkbookKind::Quantity:
        left = u"\n&\"常规\"       &10科目名称:"_s + heading.code + u' ' + heading.namePath;
        centre = u"&\"黑体\"&16"_s + heading.topName + titled + periodLine(year);
        break;
    case LedgerWorkbookKind::MultiColumn:
        left = u"\n&\"常规\"       &10单位名称:"_s + company;
        centre = u"&\"黑体\"&16"_s + heading.namePath + titled + periodLine(year);
        break;
    }
    return u"&L"_s + left + u"&C"_s + centre + u"&R\n&\"常规\"&10单位:元             ."_s;
}

// `text` cut to `size` characters, its last one "…".
QString elided(const QString &text, qsizetype size)
{
    return text.size() <= size ? text : text.left(std::max<qsizetype>(0, size - 1)) + u'…';
}

// The page header. A spreadsheet keeps a header of at most 255 characters
// and drops a longer one whole, so a long name path is shortened first:
// its upper levels are cut short, the last level stays whole (the code
// stands beside it). Should the header still be too long, the top-level
// name, the company and at last the path itself are cut too.
QByteArray pageHeader(LedgerWorkbookKind kind, LedgerWorkbookHeading heading, QString company, int year)
{
    constexpr qsizetype kLimit = LXW_HEADER_FOOTER_MAX;
    QString text = headerText(kind, heading, company, year);
    const qsizetype cut = heading.namePath.lastIndexOf(u'/');
    if (text.size() > kLimit && cut > 0) {
        const QString upper = heading.namePath.left(cut);
        heading.namePath = elided(upper, upper.size() - (text.size() - kLimit)) + heading.namePath.mid(cut);
        text = headerText(kind, heading, company, year);
    }
    for (qsizetype most = 40; text.size() > kLimit && most > 0; most -= 10) {
        heading.topName = elided(heading.topName, most);
        heading.namePath = elided(heading.namePath, most);
        company = elided(company, most);
        text = headerText(kind, heading, company, year);
    }
    return text.toUtf8();
}

bool writeBook(const QString &file, LedgerWorkbookKind kind, const LedgerWorkbookHeading &heading,
               const QString &company, int year, const ResultSet &data, LedgerWorkbookCounts &counts)
{
    const LedgerShape shape = shapeOf(kind);
    // The multi-column table comes whole: leave out ID (0) and 备注 (3).
    QList<int> sources;
    for (int c = 0; c < data.columnCount(); ++c)
        if (kind != LedgerWorkbookKind::MultiColumn || (c != 0 && c != 3))
            sources.append(c);
    QStringList names;
    QList<LedgerColumn> columns = shape.fixed;
    for (int i = 0; i < sources.size(); ++i) {
        names.append(data.columnNames().at(sources.at(i)));
        if (i >= columns.size())
            columns.append({ColumnKind::Amount, 12});
    }

    QList<bool> summaries;
    summaries.reserve(data.recordCount());
    for (const ResultSet::Row &row : data.rows())
        summaries.append(!row.at(sources.at(kSummaryColumn)).toString().isEmpty());
    const LedgerSheetLayout layout = layOutLedgerSheet(summaries);

    lxw_workbook *book = workbook_new(QFile::encodeName(file).constData());
    if (!book)
        return false;
    lxw_worksheet *sheet = workbook_add_worksheet(book, "Sheet1");
    const SheetFormats f(book);
    QList<CellFormats> cellFormats;
    for (int c = 0; c < columns.size(); ++c) {
        cellFormats.append(f.forColumn(columns.at(c).kind));
        worksheet_set_column(sheet, lxw_col_t(c), lxw_col_t(c), columns.at(c).width, nullptr);
    }
    worksheet_set_default_row(sheet, 15, LXW_FALSE);

    // A page break carries the figures as they stand after its last record:
    // a 本月合计 or 本年累计 row has no balance of its own, so those of the
    // last record before it that has one (the balance, the last carried
    // column, decides), and 0 where there is none, as the printed pages do.
    QList<int> standing(data.recordCount(), -1);
    for (int i = 0, found = -1; i < data.recordCount(); ++i) {
        if (!data.rows().at(i).at(sources.at(shape.carried.last())).isNull())
            found = i;
        standing[i] = found;
    }
    const auto carried = [&](lxw_row_t r, const QString &label, int record) {
        const int from = record < 0 ? -1 : standing.at(record);
        for (int c = 0; c < columns.size(); ++c) {
            if (c == kSummaryColumn) {
                worksheet_write_string(sheet, r, lxw_col_t(c), label.toUtf8().constData(), f.text);
            } else if (shape.carried.contains(c)) {
                const QVariant figure = from < 0 ? QVariant() : data.rows().at(from).at(sources.at(c));
                writeCell(sheet, r, lxw_col_t(c), figure.isNull() ? QVariant(0.0) : figure, cellFormats.at(c));
            } else {
                worksheet_write_blank(sheet, r, lxw_col_t(c), f.text);
            }
        }
    };
    for (int i = 0; i < layout.rows.size(); ++i) {
        const LedgerSheetRow &row = layout.rows.at(i);
        const lxw_row_t r = lxw_row_t(i);
        switch (row.kind) {
        case LedgerSheetRow::Kind::HeadingTop:
            writeHeading(sheet, r, kind, names, f);
            break;
        case LedgerSheetRow::Kind::HeadingBottom:
            break;
        case LedgerSheetRow::Kind::Record:
            for (int c = 0; c < columns.size(); ++c)
                writeCell(sheet, r, lxw_col_t(c), data.rows().at(row.record).at(sources.at(c)), cellFormats.at(c));
            break;
        case LedgerSheetRow::Kind::CarriedForward:
            carried(r, u"过 次 页"_s, row.record);
            break;
        case LedgerSheetRow::Kind::BroughtForward:
            carried(r, u"承 前 页"_s, row.record);
            break;
        }
    }

    // Excel keeps at most 1023 manual breaks; later pages break by height.
    std::vector<lxw_row_t> breaks;
    for (int start : layout.pageStarts)
        if (breaks.size() < LXW_BREAKS_MAX)
            breaks.push_back(lxw_row_t(start));
    breaks.push_back(0);
    if (breaks.size() > 1)
        worksheet_set_h_pagebreaks(sheet, breaks.data());

    worksheet_set_landscape(sheet);
    worksheet_set_paper(sheet, 9);
    worksheet_fit_to_pages(sheet, 1, 0);
    worksheet_set_header(sheet, pageHeader(kind, heading, company, year).constData());
    worksheet_set_footer(sheet, "&R&\"常规\"&10[TZ305]               .");
    counts.records = data.recordCount();
    counts.pages = int(layout.pageStarts.size()) + 1;
    return workbook_close(book) == LXW_NO_ERROR;
}

} // namespace

LedgerSheetLayout layOutLedgerSheet(const QList<bool> &summaryPresent)
{
    using Kind = LedgerSheetRow::Kind;
    LedgerSheetLayout layout;
    layout.rows.reserve(summaryPresent.size() + summaryPresent.size() / 6 + 2);
    layout.rows.append({Kind::HeadingTop});
    layout.rows.append({Kind::HeadingBottom});
    int checkpoint = kPageRows; // the next row 29·i, counted from 1
    for (int record = 0; record < summaryPresent.size(); ++record) {
        const int row = int(layout.rows.size()) + 1;
        if (row == checkpoint) {
            checkpoint += kPageRows;
            if (summaryPresent.at(record)) {
                layout.rows.append({Kind::CarriedForward, record - 1});
                layout.pageStarts.append(int(layout.rows.size()));
                layout.rows.append({Kind::HeadingTop});
                layout.rows.append({Kind::HeadingBottom});
                layout.rows.append({Kind::BroughtForward, record - 1});
            }
        }
        layout.rows.append({Kind::Record, record});
    }
    return layout;
}

OpResult WriteLedgerWorkbook(Session &session, LedgerWorkbookKind kind, const LedgerWorkbookHeading &heading,
                             const QString &path, Dialogs &dialogs, LedgerWorkbookCounts *counts)
{
    ResultSet data;
    QString company;
    const OpResult read = guarded(dialogs, [&] {
        data = session.RunSql(shapeOf(kind).sql);
        company = storedCompanyName(session);
        return OpResult::done();
    });
    if (!read.isDone())
        return read;
    if (data.recordCount() < 1)
        return refuse(dialogs, u"没有记录!"_s, applicationTitle(), Icon::None);
    LedgerWorkbookCounts written;
    const OpResult result = writeWorkbookFile(path, dialogs, [&](const QString &file) {
        return writeBook(file, kind, heading, company, session.fiscalYear(), data, written);
    });
    if (result.isDone() && counts)
        *counts = written;
    return result;
}

} // namespace tz
