// The export commands, twins of 导出 and EXCEL帐页 of the query window:
// `export sheet` builds a table as the ledger, balance, summary or journal
// command does and writes it as a plain sheet; `export ledger` builds a
// ledger and writes its paginated workbook.
#include "app/cli/cli.h"
#include "export/ledgerworkbook.h"
#include "export/sheetexport.h"
#include "ledgers/balancetable.h"
#include "ledgers/entryjournal.h"
#include "ledgers/reportbuttons.h"
#include "ledgers/vouchersummary.h"
#include "store/guard.h"

using namespace Qt::Literals::StringLiterals;

namespace tz::cli {

namespace {

const QString kSheetUsage = u"用法: export sheet --query ledger|balance|summary|journal (及该查询命令的选项)"
                            " --xlsx 文件"_s;
const QString kLedgerUsage
    = u"用法: export ledger --account 科目代码 --format three|general|quantity|multi --xlsx 文件"_s;

// Builds the table `query` names from the options of its own command and
// sets the query marker the window would have set.
int buildTable(Context &ctx, const QString &query, const QHash<QString, QString> &v, bool quantity, QString &marker)
{
    if (query == u"ledger"_s) {
        const std::optional<LedgerFormat> format = ledgerFormatNamed(v.value(u"format"_s));
        if (!format || !v.contains(u"account"_s))
            return usageError(kSheetUsage);
        marker = queryMarkerOf(*format);
        AccountLookup account;
        return buildLedgerOf(ctx, v, *format, account);
    }
    OpResult built = OpResult::refused();
    if (query == u"balance"_s) {
        marker = quantity ? QueryMarker::QuantityBalance : QueryMarker::AmountBalance;
        const std::optional<QString> depth = balanceDepth(v);
        if (!depth)
            return Usage;
        built = BuildBalanceTable(ctx.session, v.value(u"month"_s), *depth, ctx.dialogs);
    } else if (query == u"summary"_s) {
        marker = QueryMarker::VoucherSummary;
        built = BuildVoucherSummary(ctx.session, v.value(u"month"_s), ctx.dialogs);
    } else if (query == u"journal"_s) {
        marker = QueryMarker::Journal;
        built = BuildEntryJournal(ctx.session, v.value(u"month"_s, u"全部"_s), ctx.dialogs);
    } else {
        return usageError(kSheetUsage);
    }
    return exitStatusOf(built);
}

int exportSheet(Context &ctx, QStringList args)
{
    const bool quantity = args.removeAll(u"--quantity"_s) > 0;
    QHash<QString, QString> v;
    if (!takeOptions(
            args, {u"query"_s, u"account"_s, u"format"_s, u"price-digits"_s, u"month"_s, u"depth"_s, u"xlsx"_s}, v))
        return Usage;
    if (!v.contains(u"xlsx"_s))
        return usageError(kSheetUsage);
    QString marker;
    const int built = buildTable(ctx, v.value(u"query"_s), v, quantity, marker);
    if (built != Done)
        return built;
    int records = 0;
    const OpResult written
        = WriteSheetWorkbook(ctx.session, sheetQuery(marker), v.value(u"xlsx"_s), ctx.dialogs, &records);
    return ctx.printIfDone(written, {u"文件"_s, u"记录"_s}, {v.value(u"xlsx"_s), QString::number(records)});
}

int exportLedger(Context &ctx, const QStringList &args)
{
    QHash<QString, QString> v;
    if (!takeOptions(args, {u"account"_s, u"format"_s, u"price-digits"_s, u"xlsx"_s}, v))
        return Usage;
    const QString name = v.value(u"format"_s);
    const std::optional<LedgerFormat> format = ledgerFormatNamed(name);
    if (!format || *format == LedgerFormat::FixedAsset || *format == LedgerFormat::MultiNet || !v.contains(u"account"_s)
        || !v.contains(u"xlsx"_s))
        return usageError(kLedgerUsage);
    AccountLookup account;
    const int built = buildLedgerOf(ctx, v, *format, account);
    if (built != Done)
        return built;
    LedgerWorkbookHeading heading;
    heading.code = v.value(u"account"_s).trimmed();
    heading.namePath = account.accountNamePath;
    heading.topName = account.accountNamePath.section(u'/', 0, 0);
    heading.general = *format == LedgerFormat::General;
    const LedgerWorkbookKind kind = *format == LedgerFormat::Quantity ? LedgerWorkbookKind::Quantity
        : *format == LedgerFormat::MultiIncrease                      ? LedgerWorkbookKind::MultiColumn
                                                                      : LedgerWorkbookKind::ThreeColumn;
    LedgerWorkbookCounts counts;
    const OpResult written = WriteLedgerWorkbook(ctx.session, kind, heading, v.value(u"xlsx"_s), ctx.dialogs, &counts);
    return ctx.printIfDone(written, {u"文件"_s, u"记录"_s, u"页数"_s},
        {v.value(u"xlsx"_s), QString::number(counts.records), QString::number(counts.pages)});
}

} // namespace

int exportCommand(Context &ctx, const QStringList &args)
{
    return runSubCommand(
        ctx, args, {{u"sheet"_s, exportSheet}, {u"ledger"_s, exportLedger}}, u"用法: export sheet|ledger ..."_s);
}

} // namespace tz::cli
