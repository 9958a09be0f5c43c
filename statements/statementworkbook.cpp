// The statement workbook, written with libxlsxwriter.
#include "statements/statementworkbook.h"

#include <QDate>
#include <QFile>
#include <QFileInfo>

#include <xlsxwriter.h>

#include "export/workbookfile.h"
#include "statements/statement.h"
#include "store/companyname.h"
#include "store/dialogs.h"
#include "store/guard.h"
#include "store/money.h"
#include "store/safefile.h"
#include "store/session.h"

using namespace Qt::Literals::StringLiterals;

namespace tz {

namespace {

// One visible column of the sheet: the statement row's column it shows,
// its heading (the display grid's), its width in characters, and whether
// it holds amounts.
struct SheetColumn
{
    int source;
    QString heading;
    double width;
    bool amount;
};

QList<SheetColumn> sheetColumns(StatementTable table)
{
    if (kindOf(table) == StatementKind::BalanceSheet)
        return {{1, u"资  产"_s, 16, false},           {2, u"行次"_s, 3, false},  {4, u"期末余额"_s, 11, true},
                {5, u"年初余额"_s, 11, true},           {6, u"负债及所有者权益"_s, 16, false},
                {7, u"行次"_s, 3, false},               {9, u"期末余额"_s, 11, true}, {10, u"年初余额"_s, 11, true}};
    return {{1, u"项  目"_s, 45, false}, {2, u"行次"_s, 4, false}, {4, u"本年累计金额"_s, 14, true},
            {5, u"本月金额"_s, 14, true}};
}

// The sheet's formats, made once per workbook. The heading rows (title,
// entity, date, unit, column captions) are centred; the balance sheet's
// table shrinks its texts to fit its narrow columns.
struct Formats
{
    lxw_format *title;
    lxw_format *centre;
    lxw_format *date;
    lxw_format *heading;
    lxw_format *text;
    lxw_format *number;
    lxw_format *amount;

    Formats(lxw_workbook *book, bool shrink)
    {
        const auto make = [book](uint8_t align, bool border) {
            lxw_format *f = workbook_add_format(book);
            format_set_font_name(f, "宋体");
            format_set_font_size(f, 10);
            format_set_align(f, align);
            format_set_align(f, LXW_ALIGN_VERTICAL_CENTER);
            if (border)
                format_set_border(f, LXW_BORDER_THIN);
            return f;
        };
        title = make(LXW_ALIGN_CENTER, false);
        format_set_font_size(title, 22);
        format_set_bold(title);
        centre = make(LXW_ALIGN_CENTER, false);
        date = make(LXW_ALIGN_CENTER, false);
        format_set_num_format(date, "yyyy\"年\"m\"月\"d\"日\";@");
        heading = make(LXW_ALIGN_CENTER, true);
        format_set_bold(heading);
        text = make(LXW_ALIGN_LEFT, true);
        number = make(LXW_ALIGN_CENTER, true);
        amount = make(LXW_ALIGN_RIGHT, true);
        format_set_num_format(amount, "#,##0.00");
        if (shrink)
            for (lxw_format *f : {heading, text, number, amount})
                format_set_shrink(f);
    }
};

QByteArray utf8(const QString &text)
{
    return text.toUtf8();
}

// Writes the sheet; false when libxlsxwriter refuses the file. Rows 1 and 2
// hold the title, row 3 the entity, the date or period and the unit, row 4
// the column captions and the lines follow; the balance sheet's cells of
// row 3 are A (merged to C), E and H, the others' A, C and D.
bool writeBook(const QString &file, StatementTable table, const QString &company, int year, int month,
               const ResultSet &rows)
{
    const bool balanceSheet = kindOf(table) == StatementKind::BalanceSheet;
    lxw_workbook *book = workbook_new(QFile::encodeName(file).constData());
    if (!book)
        return false;
    lxw_worksheet *sheet = workbook_add_worksheet(book, utf8(statementTitle(table)).constData());
    const Formats f(book, balanceSheet);
    const QList<SheetColumn> columns = sheetColumns(table);
    const lxw_col_t last = lxw_col_t(columns.size() - 1);

    for (qsizetype c = 0; c < columns.size(); ++c)
        worksheet_set_column(sheet, lxw_col_t(c), lxw_col_t(c), columns.at(c).width, nullptr);
    // Every row of the heading, the table and one row below it is 20
    // points high; the four heading rows are centred as rows.
    const lxw_row_t tableEnd = lxw_row_t(4 + rows.recordCount());
    for (lxw_row_t r = 0; r <= tableEnd; ++r)
        worksheet_set_row(sheet, r, 20, r < 4 ? f.centre : nullptr);
    worksheet_merge_range(sheet, 0, 0, 1, last, utf8(spacedStatementTitle(table)).constData(), f.title);

    if (balanceSheet) {
        worksheet_merge_range(sheet, 2, 0, 2, 2, utf8(u"编制单位:"_s + company + u"      "_s).constData(), f.centre);
        const QDate lastDay = QDate(year, month, 1).addMonths(1).addDays(-1);
        lxw_datetime when {lastDay.year(), lastDay.month(), lastDay.day(), 0, 0, 0};
        worksheet_write_datetime(sheet, 2, 4, &when, f.date);
        worksheet_write_string(sheet, 2, 7, " 单位:元  ", f.centre);
    } else {
        worksheet_write_string(sheet, 2, 0, utf8(u"编制单位:"_s + company + QString(13, u' ')).constData(), f.centre);
        worksheet_write_string(sheet, 2, 2, utf8(u"%1年%2月   "_s.arg(year).arg(month)).constData(), f.centre);
        worksheet_write_string(sheet, 2, 3, "  单位:元 ", f.centre);
    }

    for (qsizetype c = 0; c < columns.size(); ++c)
        worksheet_write_string(sheet, 3, lxw_col_t(c), utf8(columns.at(c).heading).constData(), f.heading);
    lxw_row_t r = 4;
    for (const ResultSet::Row &row : rows.rows()) {
        for (qsizetype c = 0; c < columns.size(); ++c) {
            const SheetColumn &column = columns.at(c);
            const QVariant &value = row.at(column.source);
            const lxw_col_t col = lxw_col_t(c);
            if (value.isNull() || value.toString().isEmpty())
                worksheet_write_blank(sheet, r, col, column.amount ? f.amount : f.text);
            else if (column.amount)
                worksheet_write_number(sheet, r, col, centsToDouble(roundToCents(value.toDouble())), f.amount);
            else if (column.source == 2 || column.source == 7)
                worksheet_write_number(sheet, r, col, value.toDouble(), f.number);
            else
                worksheet_write_string(sheet, r, col, utf8(value.toString()).constData(), f.text);
        }
        ++r;
    }

    // One A4 page, as the statement is filed, with the statutory form
    // number at the top right of the printed page.
    worksheet_set_paper(sheet, 9);
    worksheet_set_portrait(sheet);
    worksheet_fit_to_pages(sheet, 1, 1);
    worksheet_center_horizontally(sheet);
    worksheet_set_margins(sheet, 0.5, 0.5, 0.6, 0.6);
    worksheet_set_header(sheet, utf8(u"&R"_s + formNumber(table)).constData());
    worksheet_print_area(sheet, 0, 0, r - 1, last);
    return workbook_close(book) == LXW_NO_ERROR;
}

} // namespace

OpResult WriteStatementWorkbook(Session &session, StatementTable table, int month, const QString &path,
                                Dialogs &dialogs)
{
    if (path.trimmed().isEmpty())
        return refuse(dialogs, u"请输入文件名"_s, u"TZ305提示"_s, Icon::Critical);
    ResultSet rows;
    const OpResult read = ReadStatement(session, table, rows, dialogs);
    if (!read.isDone())
        return read;
    if (rows.recordCount() == 0)
        return refuse(dialogs, u"没有数据"_s, u"TZ305提示"_s, Icon::None);

    QString company;
    const OpResult named = guarded(dialogs, [&] {
        company = storedCompanyName(session);
        return OpResult::done();
    });
    if (!named.isDone())
        return named;

    const OpResult written = writeWorkbookFile(path, dialogs, [&](const QString &scratch) {
        return writeBook(scratch, table, company, session.fiscalYear(), month, rows);
    });
    if (!written.isDone())
        return written;
    dialogs.show(u"报表已导出: "_s + path, applicationTitle(), Icon::Information);
    return OpResult::done();
}

} // namespace tz
