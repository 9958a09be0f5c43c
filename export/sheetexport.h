// The generic sheet export (导出 of the query window): the work table of
// the last query on a plain worksheet.
#pragma once

#include <QString>

#include "ledgers/ledgerquery.h"
#include "store/operation.h"

namespace tz {

// The query marker the window sets after a ledger query of `format`.
QString queryMarkerOf(LedgerFormat format);

// The SELECT that 导出 writes for a query marker ("1" the entry journal ..
// "9" the fixed-asset ledger); empty for any other marker.
QString sheetQuery(const QString &marker);

// Writes the rows of `sql` to the workbook `path`: one sheet, the field
// names in row 1, every column, numbers as numbers, 'yyyy-MM-dd' texts as
// dates, other values as text, the columns as wide as their widest cell.
// No row: "没有记录!" (plain box, "TZ305") and no file. The file goes
// through writeWorkbookFile. `written` receives the number of records.
OpResult WriteSheetWorkbook(Session &session, const QString &sql, const QString &path, Dialogs &dialogs,
                            int *written = nullptr);

} // namespace tz
