// The generic sheet export, written with libxlsxwriter.
#include "export/sheetexport.h"

#include <QFile>
#include <QHash>

#include "export/workbookfile.h"
#include "ledgers/reportbuttons.h"
#include "store/dialogs.h"
#include "store/guard.h"
#include "store/session.h"

using namespace Qt::Literals::StringLiterals;

namespace tz {

namespace {

bool writeSheet(const QString &file, const ResultSet &rows)
{
    lxw_workbook *book = workbook_new(QFile::encodeName(file).constData());
    if (!book)
        return false;
    lxw_worksheet *sheet = workbook_add_worksheet(book, "Sheet1");
    CellFormats formats;
    formats.date = workbook_add_format(book);
    format_set_num_format(formats.date, "yyyy-mm-dd");

    const int columns = rows.columnCount();
    QList<int> widths(columns, 0);
    for (int c = 0; c < columns; ++c) {
        const QString name = rows.columnNames().at(c);
        worksheet_write_string(sheet, 0, lxw_col_t(c), name.toUtf8().constData(), nullptr);
        widths[c] = displayWidth(name);
    }
    lxw_row_t r = 1;
    for (const ResultSet::Row &row : rows.rows()) {
        for (int c = 0; c < columns; ++c) {
            const QVariant &value = row.at(c);
            writeCell(sheet, r, lxw_col_t(c), value, formats);
            const int width = isNumberValue(value) ? QString::number(value.toDouble(), 'f', 2).size()
                                                   : displayWidth(value.toString());
            widths[c] = std::max(widths[c], width);
        }
        ++r;
    }
    for (int c = 0; c < columns; ++c)
        worksheet_set_column(sheet, lxw_col_t(c), lxw_col_t(c), std::min(widths.at(c), 60) + 2.0, nullptr);
    return workbook_close(book) == LXW_NO_ERROR;
}

} // namespace

QString queryMarkerOf(LedgerFormat format)
{
    switch (format) {
    case LedgerFormat::Detail:
        return QueryMarker::DetailLedger;
    case LedgerFormat::General:
        return QueryMarker::GeneralLedger;
    case LedgerFormat::Quantity:
        return QueryMarker::QuantityLedger;
    case LedgerFormat::MultiIncrease:
    case LedgerFormat::MultiNet:
        return QueryMarker::MultiColumn;
    case LedgerFormat::FixedAsset:
        return QueryMarker::FixedAsset;
    }
    return {};
}

QString sheetQuery(const QString &marker)
{
    static const QHash<QString, QString> kQueries{
        {QueryMarker::Journal, u"select * FROM 分录始表 order by ID"_s},
        {QueryMarker::VoucherSummary, u"select * FROM 凭证汇总表 order by 1"_s},
        {QueryMarker::AmountBalance,
         u"select 科目代码,科目名称,方向,期初金额,本期借金,本期贷金,累计借金,累计贷金,期末金额 FROM 数量式余额表 "
         "order by 1"_s},
        {QueryMarker::QuantityBalance, u"select * FROM 数量式余额表 order by 1"_s},
        {QueryMarker::DetailLedger, u"select 日期,字号,摘要说明,借方金额,贷方金额,方向,余额 FROM 三总式 order by ID"_s},
        {QueryMarker::GeneralLedger, u"select 日期,字号,摘要说明,借方金额,贷方金额,方向,余额 FROM 三总式 order by ID"_s},
        {QueryMarker::QuantityLedger,
         u"select 日期,字号,摘要说明,借数,借单,借金,贷数,贷单,贷金,方向,余数,余单,余额 FROM 数量式 order by ID"_s},
        {QueryMarker::MultiColumn, u"select * FROM 多栏式 order by ID"_s},
        {QueryMarker::FixedAsset,
         u"select 日期,字号,摘要说明,借方金额,贷方金额,原值,借方金额1,贷方金额1,累计折旧,净值 FROM 固累式 order by ID"_s},
    };
    return kQueries.value(marker);
}

OpResult WriteSheetWorkbook(Session &session, const QString &sql, const QString &path, Dialogs &dialogs, int *written)
{
    ResultSet rows;
    const OpResult read = guarded(dialogs, [&] {
        rows = session.RunSql(sql);
        return OpResult::done();
    });
    if (!read.isDone())
        return read;
    if (rows.recordCount() < 1)
        return refuse(dialogs, u"没有记录!"_s, applicationTitle(), Icon::None);
    const OpResult result = writeWorkbookFile(path, dialogs, [&](const QString &file) { return writeSheet(file, rows); });
    if (result.isDone() && written)
        *written = rows.recordCount();
    return result;
}

} // namespace tz
