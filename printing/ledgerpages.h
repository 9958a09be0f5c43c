// Account-book pages (三栏帐, 数量帐, 固累帐): a ledger's work table copied
// into its page table with the page of every row, "  过 次 页" and
// "  承 前 页" rows carrying the figures from one page to the next, and
// blank rows filling the last page; then laid out one page per page number.
#pragma once

#include <QString>

#include "printing/pagelayout.h"
#include "store/operation.h"

namespace tz {

enum class LedgerPageKind {
    ThreeColumn, // 三栏帐: 三总式 into 三栏帐页, 26 rows, carries 余额
    Quantity,    // 数量帐: 数量式 into 数量帐页, 25 rows, carries 余额 and 余数
    FixedAsset,  // 固累帐: 固累式 into 固累帐页, 26 rows, carries 原值, 累计折旧 and 净值
};

// Entry rows per page of the kind.
int ledgerRowsPerPage(LedgerPageKind kind);

// What the pages' headings say, as the query window holds it.
struct LedgerPageHeading
{
    bool general = false; // 总帐式 in 三总式: titled 总 分 类 帐, no carried rows
    QString topName;      // the top-level account's name (明细帐 title)
    QString account;      // code and name after "科目名称: "
    QString unit;         // 计量单位 (数量帐, 固累帐)
    QString spec;         // 规格 (数量帐)
    double leftCm = 1;    // the query window's left margin
    QString quantityFormat = QStringLiteral("0.00");
    QString priceFormat = QStringLiteral("0.00");
};

// The heading of account `code` for `kind` from the chart: its name path,
// top-level name, 单位 and 规格.
OpResult ledgerPageHeadingFor(Session &session, const QString &code, LedgerPageHeading &heading, Dialogs &dialogs);

// Fills the page table from the work table in one transaction and lays
// the pages out. Rows in ID order, N per page: row k on page (k-1)/N + 1.
// For each page p whose last entry row is the N-th (never for the general
// ledger) a "  过 次 页" row on p and a "  承 前 页" row on p + 1 follow it
// (IDs its ID + "1" and + "2") with the running figures after it: those
// of the last row up to it that has them (a 本月合计 or 本年累计 row has
// none of its own), 0 when no row has. Fill
// rows ('814', '815', …) bring the last page to N + 1 rows; an empty
// ledger gives one page of them. Each page carries the title, "会计期间:",
// "单位:", "科目名称:", the page number and "操作员:".
OpResult LayOutLedgerPages(Session &session, LedgerPageKind kind, const LedgerPageHeading &heading, Document &doc,
                           Dialogs &dialogs);

} // namespace tz
