// The paginated ledger workbooks (EXCEL帐页 of the query window, and 预览
// of the multi-column ledger): the three-column, quantity and
// multi-column ledgers on a landscape A4 sheet, ruled, with their merged
// headings, page headers and footer, and a "过 次 页" / "承 前 页" pair at
// every page break carrying the balances to the next page.
#pragma once

#include <QList>
#include <QString>

#include "store/operation.h"

namespace tz {

enum class LedgerWorkbookKind {
    ThreeColumn, // 三总式: 明细帐 or 总分类帐
    Quantity,    // 数量式
    MultiColumn, // 多栏式
};

// What the query window shows of the account the ledger is of.
struct LedgerWorkbookHeading
{
    QString code;     // Text2
    QString namePath; // Text3
    QString topName;  // Text6
    bool general = false; // 总帐式 selected: a three-column workbook is titled 总分类帐
};

// One row of the sheet.
struct LedgerSheetRow
{
    enum class Kind {
        HeadingTop,     // first of the two heading rows
        HeadingBottom,  // second: the field names
        Record,         // record `record` of the ledger
        CarriedForward, // 过 次 页: the balances of record `record`
        BroughtForward, // 承 前 页: the same balances
    };
    Kind kind;
    int record = -1;
};

struct LedgerSheetLayout
{
    QList<LedgerSheetRow> rows;
    QList<int> pageStarts; // sheet rows (from 0) that begin a page, after the first
};

// The page geometry: the heading, then the records. Whenever sheet row
// 29·i (from 1) holds a record with a summary text, the rows "过 次 页",
// heading, heading, "承 前 页" are put in before it and a page begins at
// the first heading row; a record without a summary there gets no break,
// and that page runs on to the next row 29·(i+1). So a first page holds 26
// records and each following one 25. `summaryPresent` says, per record,
// whether its 摘要说明 is not empty.
LedgerSheetLayout layOutLedgerSheet(const QList<bool> &summaryPresent);

// What a workbook holds, for the caller's report.
struct LedgerWorkbookCounts
{
    int records = 0;
    int pages = 0;
};

// Writes the work table of `kind` (三总式, 数量式 or 多栏式, in ID order;
// the ID and the unwritten 备注 column left out) to the workbook `path`:
// rows 1 and 2 the heading (each fixed column merged over both rows; the
// quantity ledger's 借    方 / 贷    方 / 余    额 over 数量, 单价, 金额;
// the multi-column ledger's " 明细科目" over its sub-account columns),
// every cell ruled, amounts "#,##0.00", unit prices "0.000", dates as
// dates; paginated by layOutLedgerSheet, each 过 次 页 / 承 前 页 pair
// carrying the balances of the last record before it that has them (0
// when none has), as the printed pages do; landscape A4 with the headers
// (科目名称 or 单位名称, the title and 会计期间, 单位:元; a name path too
// long for the header's 255 characters cut short above its last level)
// and the footer [TZ305]. No record: "没有记录!" (plain box, "TZ305") and no file. The
// file goes through writeWorkbookFile.
OpResult WriteLedgerWorkbook(Session &session, LedgerWorkbookKind kind, const LedgerWorkbookHeading &heading,
                             const QString &path, Dialogs &dialogs, LedgerWorkbookCounts *counts = nullptr);

} // namespace tz
