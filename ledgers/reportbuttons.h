// What the query window's 打印, 预览 and EXCEL帐页 do with the last query:
// the query-kind marker (the main window's Text1) names the work table
// shown, and decides which report page or workbook the button makes, or
// which refusal the user sees.
#pragma once

#include <QString>

#include "store/opresult.h"

namespace tz {

class Dialogs;

// The query-kind marker: one character naming the last query.
namespace QueryMarker {
inline const QString Journal = QStringLiteral("1"); // 分录簿, 筛选: 分录始表
inline const QString VoucherSummary = QStringLiteral("2"); // 科目汇总表: 凭证汇总表
inline const QString AmountBalance = QStringLiteral("3"); // 科目余额表: 数量式余额表
inline const QString QuantityBalance = QStringLiteral("4"); // 数量余额表: 数量式余额表
inline const QString DetailLedger = QStringLiteral("5"); // 三栏式: 三总式
inline const QString GeneralLedger = QStringLiteral("6"); // 总帐式: 三总式
inline const QString QuantityLedger = QStringLiteral("7"); // 数量式: 数量式
inline const QString MultiColumn = QStringLiteral("8"); // 多栏[增], 多栏式1: 多栏式
inline const QString FixedAsset = QStringLiteral("9"); // 固累式: 固累式
} // namespace QueryMarker

enum class ReportButton { Print, Preview, Workbook };

// What a button makes.
enum class ReportTarget {
    None,
    VoucherSummaryPage, // 凭证汇总表
    BalanceTablePage, // 科目余额表
    ThreeColumnPage, // 三栏帐
    QuantityPage, // 数量帐
    FixedAssetPage, // 固累帐
    ThreeColumnWorkbook,
    QuantityWorkbook,
    MultiColumnWorkbook,
};

// Decides what `button` makes for `marker`. Checks, in order: a query was
// run (打印 "请先[查询]", 预览 "请先点[查询]", EXCEL帐页 "请先查询数据";
// exclamation, "TZ305"); for 打印 only, a printer is installed ("你电脑上没有安装打印机!! ",
// information, "TZ305提示 "); the kind can be printed or shown (entry
// journal and quantity balance: "分录簿和数余表不能打印,可以导出" /
// "分录簿和数余表不能预览,可以导出", exclamation, "TZ305"; the multi-column
// ledger cannot be printed: "多栏帐不能直接打印,请直接点[预览]或查询后点[EXCEL帐页]",
// no icon, "TZ305"). Ledger pages need an account code. Done with
// `target` None means the button quietly does nothing.
OpResult ChooseReport(ReportButton button, const QString &marker, const QString &accountCode, bool printerInstalled,
    ReportTarget &target, Dialogs &dialogs);

// True when the button clears the marker after it ran, whatever it did or
// refused (打印 and 预览), so a second print needs a new query.
bool clearsMarker(ReportButton button);

} // namespace tz
