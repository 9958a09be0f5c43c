// The statement workbook, written with libxlsxwriter.
#include "statements/statementworkbook.h"

#include <QDate>
#include <QFile>
#include <QFileInfo>

#include <xlsxwriter.h>

#include "export/workbookfile.h"
#include "statements/statement.h"
#include "store/dialogs.h"
#include "store/guard.h"
#include "store/money.h"
#include "store/safefile.h"
#include "store/session.h"

using namespace Qt::Literals::StringLiterals;

namespace tz {

namespace {

// One visible column of the sheet: the statement row's column it shows,
// its heading, its width in characters, and whether it holds amounts.
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
        return {{1, u"资  产"_s, 30, false},       {2, u"行次"_s, 5, false},     {4, u"期末余额"_s, 15, true},
                {5, u"年初余额"_s, 15, true},        {6, u"负债及所有者权益"_s, 32, false}, {7, u"行次"_s, 5, false},
                {9, u"期末余额"_s, 15, true},        {10, u"年初余额"_s, 15, true}};
    return {{1, u"项  目"_s, 52, false}, {2, u"行次"_s, 6, false}, {4, u"本年累计金额"_s, 18, true},
            {5, u"本月金额"_s, 18, true}};
}

// The sheet's formats, made once per workbook.
struct Formats
{
    lxw_format *title;
    lxw_format *left;
    lxw_format *centre;
    lxw_format *right;
    lxw_format *heading;
    lxw_format *text;
    lxw_format *number;
    lxw_format *amount;

    explicit Formats(lxw_workbook *book)
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
        format_set_font_size(title, 18);
        format_set_bold(title);
        left = make(LXW_ALIGN_LEFT, false);
        centre = make(LXW_ALIGN_CENTER, false);
        right = make(LXW_ALIGN_RIGHT, false);
        heading = make(LXW_ALIGN_CENTER, true);
        format_set_bold(heading);
        text = make(LXW_ALIGN_LEFT, true);
        format_set_shrink(text);
        number = make(LXW_ALIGN_CENTER, true);
        amount = make(LXW_ALIGN_RIGHT, true);
        format_set_num_format(amount, "#,##0.00");
    }
};

QByteArray utf8(const QString &text)
{
    return text.toUtf8();
}

// Writes the sheet; false when libxlsxwriter refuses the file.
bool writeBook(const QString &file, StatementTable table, const QString &company, int year, int month,
               const ResultSet &rows)
{
    lxw_workbook *book = workbook_new(QFile::encodeName(file).constData());
    if (!book)
        return false;
    lxw_worksheet *sheet = workbook_add_worksheet(book, utf8(statementTitle(table)).constData());
    const Formats f(book);
    const QList<SheetColumn> columns = sheetColumns(table);
    const lxw_col_t last = lxw_col_t(columns.size() - 1);

    for (qsizetype c = 0; c < columns.size(); ++c)
        worksheet_set_column(sheet, lxw_col_t(c), lxw_col_t(c), columns.at(c).width, nullptr);
    worksheet_set_row(sheet, 0, 30, nullptr);
    worksheet_merge_range(sheet, 0, 0, 0, last, utf8(statementTitle(table)).constData(), f.title);
    worksheet_write_string(sheet, 1, last, utf8(formNumber(table)).constData(), f.right);

    const QDate lastDay = QDate(year, month, 1).addMonths(1).addDays(-1);
    const QString when = kindOf(table) == StatementKind::BalanceSheet
                             ? u"%1年%2月%3日"_s.arg(year).arg(month).arg(lastDay.day())
                             : u"%1年%2月"_s.arg(year).arg(month);
    const lxw_col_t middle = lxw_col_t(columns.size() / 2);
    worksheet_merge_range(sheet, 2, 0, 2, middle - 1, utf8(u"编制单位："_s + company).constData(), f.left);
    worksheet_write_string(sheet, 2, middle, utf8(when).constData(), f.centre);
    worksheet_write_string(sheet, 2, last, "单位：元", f.right);

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
        worksheet_set_row(sheet, r, 18, nullptr);
        ++r;
    }

    // One A4 page, as the statement is filed.
    worksheet_set_paper(sheet, 9);
    worksheet_set_portrait(sheet);
    worksheet_fit_to_pages(sheet, 1, 1);
    worksheet_center_horizontally(sheet);
    worksheet_set_margins(sheet, 0.5, 0.5, 0.6, 0.6);
    worksheet_print_area(sheet, 0, 0, r - 1, last);
    return workbook_close(book) == LXW_NO_ERROR;
}

} // namespace

QString statementWorkbookName(const QString &shortName, StatementTable table, int year, int month)
{
    return shortName + statementTitle(table) + u"%1年%2月.xlsx"_s.arg(year).arg(month);
}

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

    QString company = session.companyName();
    const OpResult named = guarded(dialogs, [&] {
        const ResultSet info = session.RunSql(u"SELECT 帐套名称 FROM 信息表 WHERE 代号 = 'TZ' LIMIT 1"_s);
        if (!info.eof())
            company = info.value(0, 0).toString();
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
