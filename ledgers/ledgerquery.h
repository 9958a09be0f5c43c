// The ledger formats of the query window's 帐页查询: which build runs for
// each format, the work table it fills, and the read of that table in the
// order the grid, the pages and the workbooks show it.
#pragma once

#include <optional>

#include <QString>

#include "store/operation.h"
#include "store/pagedrows.h"
#include "store/resultset.h"

namespace tz {

enum class LedgerFormat {
    Detail,        // 三栏式: 三总式
    General,       // 总帐式: 三总式
    Quantity,      // 数量式: 数量式
    MultiIncrease, // 多栏[增]: 多栏式
    MultiNet,      // 多栏式1: 多栏式
    FixedAsset,    // 固累式: 固累式
};

// What a ledger query is asked for: the account code as typed (trimmed
// here) and the account's values as the lookup left them.
struct LedgerRequest
{
    QString code;
    QString direction;  // 借 or 贷 (accountDirection)
    int priceDigits = 2; // the unit-price box (quantity ledger)
};

// Runs the build of `format`; see the build of each format for its rows
// and refusals.
OpResult BuildLedger(Session &session, LedgerFormat format, const LedgerRequest &request, Dialogs &dialogs);

// The work table the format fills.
QString ledgerTable(LedgerFormat format);
// What the format shows, as its exported files are named: 明细帐, 总分类帐,
// 数量帐, 多栏帐 or 固累帐.
QString ledgerSubject(LedgerFormat format);

// Every row of the format's work table in its stored column order, sorted
// by the key the window sorts by (ID; the fixed-asset table by its second
// column, also ID). Throws DbError when the database fails.
ResultSet ReadLedger(Session &session, LedgerFormat format);
// The same rows, read as the grid shows them.
PagedRows OpenLedgerRows(Session &session, LedgerFormat format);

// The rows of `format` for `request` as the grid shows them. The detail,
// quantity and multi-column ledgers are computed a block of rows at a time
// from the journal as they come on screen, equal to the rows BuildLedger
// writes, and the work table is left as it was (`filled` false): a reader
// of the work table builds it first. The other formats, and books whose
// line IDs these rows cannot follow, are built and read from the work
// table (`filled` true). Refusals and failures are BuildLedger's.
OpResult OpenLedgerView(Session &session, LedgerFormat format, const LedgerRequest &request, PagedRows &rows,
                        bool &filled, Dialogs &dialogs);

// The status line after a query: the account's name path (or the top-level
// name for the general ledger) and the row count, e.g.
// "银行存款/人民币户  明细帐   [共12条记录]".
QString ledgerCaption(LedgerFormat format, const QString &name, int rows);

// Format names of the command line: three, general, quantity, multi,
// multi1, fixed.
std::optional<LedgerFormat> ledgerFormatNamed(const QString &name);

} // namespace tz
