// Commands of the query window's tables: the balance table, the voucher
// summary, the entry journal and its code filter, each printed from its work
// table as TSV; and the plain-text journal export (format in
// ledgers/plainjournal.h).
#include "app/cli/cli.h"
#include "ledgers/balancetable.h"
#include "ledgers/entryjournal.h"
#include "ledgers/plainjournal.h"
#include "ledgers/vouchersummary.h"

using namespace Qt::Literals::StringLiterals;

namespace tz::cli {

namespace {

// Runs a build and, when it is done, prints what `read` returns.
int buildAndPrint(Context &ctx, const OpResult &built, const std::function<OpResult(ResultSet &)> &read)
{
    if (!built.isDone())
        return exitStatusOf(built);
    ResultSet rows;
    const OpResult shown = read(rows);
    return ctx.printIfDone(shown, rows);
}

} // namespace

int balanceCommand(Context &ctx, QStringList args)
{
    const BalanceView view = args.removeAll(u"--quantity"_s) > 0 ? BalanceView::Quantity : BalanceView::Amount;
    QHash<QString, QString> v;
    if (!takeOptions(args, {u"month"_s, u"depth"_s}, v))
        return Usage;
    const std::optional<QString> depth = balanceDepth(v);
    if (!depth)
        return Usage;
    const OpResult built = BuildBalanceTable(ctx.session, v.value(u"month"_s), *depth, ctx.dialogs);
    return buildAndPrint(
        ctx, built, [&](ResultSet &rows) { return ReadBalanceTable(ctx.session, view, rows, ctx.dialogs); });
}

int summaryCommand(Context &ctx, const QStringList &args)
{
    QHash<QString, QString> v;
    if (!takeOptions(args, {u"month"_s}, v))
        return Usage;
    const OpResult built = BuildVoucherSummary(ctx.session, v.value(u"month"_s), ctx.dialogs);
    return buildAndPrint(
        ctx, built, [&](ResultSet &rows) { return ReadVoucherSummary(ctx.session, rows, ctx.dialogs); });
}

int journalCommand(Context &ctx, const QStringList &args)
{
    QHash<QString, QString> v;
    if (!takeOptions(args, {u"month"_s}, v))
        return Usage;
    const OpResult built = BuildEntryJournal(ctx.session, v.value(u"month"_s, u"全部"_s), ctx.dialogs);
    return buildAndPrint(ctx, built, [&](ResultSet &rows) { return ReadEntryJournal(ctx.session, rows, ctx.dialogs); });
}

int filterCommand(Context &ctx, const QStringList &args)
{
    QHash<QString, QString> v;
    if (!takeOptions(args, {u"prefix"_s}, v))
        return Usage;
    if (!v.contains(u"prefix"_s))
        return usageError(u"用法: filter --prefix 科目代码开头"_s);
    const OpResult built = BuildPrefixJournal(ctx.session, v.value(u"prefix"_s), ctx.dialogs);
    return buildAndPrint(ctx, built, [&](ResultSet &rows) { return ReadEntryJournal(ctx.session, rows, ctx.dialogs); });
}

int exportJournalCommand(Context &ctx, const QStringList &args)
{
    if (args.size() != 1 || args.first().startsWith(u"--"_s))
        return usageError(u"用法: export-journal 文件"_s);
    PlainJournalCounts counts;
    const OpResult result = ExportPlainJournal(ctx.session, args.first(), ctx.dialogs, &counts);
    return ctx.printIfDone(
        result, {u"交易"_s, u"分录"_s}, {QString::number(counts.transactions), QString::number(counts.postings)});
}

std::optional<QString> balanceDepth(const QHash<QString, QString> &options)
{
    const QString depth = options.value(u"depth"_s, u"1"_s);
    if (depth.size() == 1 && depth.at(0) >= u'1' && depth.at(0) <= u'4')
        return depth;
    usageError(u"--depth 只能是 1、2、3 或 4 (科目级数): "_s + depth);
    return std::nullopt;
}

} // namespace tz::cli
