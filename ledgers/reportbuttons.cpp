// The report buttons of the query window.
#include "ledgers/reportbuttons.h"

#include "store/dialogs.h"
#include "store/guard.h"

using namespace Qt::Literals::StringLiterals;

namespace tz {

namespace {

ReportTarget pageFor(const QString &marker, const QString &accountCode)
{
    if (marker == QueryMarker::VoucherSummary)
        return ReportTarget::VoucherSummaryPage;
    if (marker == QueryMarker::AmountBalance)
        return ReportTarget::BalanceTablePage;
    if (accountCode.isEmpty())
        return ReportTarget::None;
    if (marker == QueryMarker::DetailLedger || marker == QueryMarker::GeneralLedger)
        return ReportTarget::ThreeColumnPage;
    if (marker == QueryMarker::QuantityLedger)
        return ReportTarget::QuantityPage;
    if (marker == QueryMarker::FixedAsset)
        return ReportTarget::FixedAssetPage;
    return ReportTarget::None;
}

ReportTarget workbookFor(const QString &marker, const QString &accountCode)
{
    if (marker == QueryMarker::MultiColumn)
        return ReportTarget::MultiColumnWorkbook;
    if (accountCode.isEmpty())
        return ReportTarget::None;
    if (marker == QueryMarker::DetailLedger || marker == QueryMarker::GeneralLedger)
        return ReportTarget::ThreeColumnWorkbook;
    if (marker == QueryMarker::QuantityLedger)
        return ReportTarget::QuantityWorkbook;
    return ReportTarget::None;
}

} // namespace

OpResult ChooseReport(ReportButton button, const QString &marker, const QString &accountCode, bool printerInstalled,
    ReportTarget &target, Dialogs &dialogs)
{
    target = ReportTarget::None;
    if (marker.isEmpty()) {
        const QString text = button == ReportButton::Print ? u"请先[查询]"_s
            : button == ReportButton::Preview              ? u"请先点[查询]"_s
                                                           : u"请先查询数据"_s;
        return refuse(dialogs, text, applicationTitle(), Icon::Exclamation);
    }
    // Only paper needs a printer: the preview and the workbook work without one.
    if (button == ReportButton::Print && !printerInstalled)
        return refuse(dialogs, u"你电脑上没有安装打印机!! "_s, u"TZ305提示 "_s, Icon::Information);

    const bool journalOrQuantity = marker == QueryMarker::Journal || marker == QueryMarker::QuantityBalance;
    switch (button) {
    case ReportButton::Print:
        if (journalOrQuantity)
            return refuse(dialogs, u"分录簿和数余表不能打印,可以导出"_s, applicationTitle(), Icon::Exclamation);
        if (marker == QueryMarker::MultiColumn)
            return refuse(
                dialogs, u"多栏帐不能直接打印,请直接点[预览]或查询后点[EXCEL帐页]"_s, applicationTitle(), Icon::None);
        target = pageFor(marker, accountCode);
        break;
    case ReportButton::Preview:
        if (journalOrQuantity)
            return refuse(dialogs, u"分录簿和数余表不能预览,可以导出"_s, applicationTitle(), Icon::Exclamation);
        target = marker == QueryMarker::MultiColumn ? ReportTarget::MultiColumnWorkbook : pageFor(marker, accountCode);
        break;
    case ReportButton::Workbook:
        target = workbookFor(marker, accountCode);
        break;
    }
    return OpResult::done();
}

bool clearsMarker(ReportButton button)
{
    return button != ReportButton::Workbook;
}

} // namespace tz
