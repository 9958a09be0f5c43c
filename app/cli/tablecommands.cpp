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

int balance(Context &ctx, QStringList args)
{
    const BalanceView view = args.removeAll(u"--quantity"_s) > 0 ? BalanceView::Quantity : BalanceView::Amount;
    QHash<QString, QString> v;
    if (!takeOptions(args, {u"month"_s, u"depth"_s}, v))
        return Usage;
    const std::optional<QString> depth = balanceDepth(v);
    if (!depth)
        return Usage;
    const OpResult built = BuildBalanceTable(ctx.session, v.value(u"month"_s), *depth, ctx.dialogs);
    return buildAndPrint(ctx, built, [&](ResultSet &rows) { return ReadBalanceTable(ctx.session, view, rows, ctx.dialogs); });
}

int summary(Context &ctx, const QStringList &args)
{
    QHash<QString, QString> v;
    if (!takeOptions(args, {u"month"_s}, v))
        return Usage;
    const OpResult built = BuildVoucherSummary(ctx.session, v.value(u"month"_s), ctx.dialogs);
    return buildAndPrint(ctx, built, [&](ResultSet &rows) { return ReadVoucherSummary(ctx.session, rows, ctx.dialogs); });
}

int journal(Context &ctx, const QStringList &args)
{
    QHash<QString, QString> v;
    if (!takeOptions(args, {u"month"_s}, v))
        return Usage;
    const OpResult built = BuildEntryJournal(ctx.session, v.value(u"month"_s, u"全部"_s), ctx.dialogs);
    return buildAndPrint(ctx, built, [&](ResultSet &rows) { return ReadEntryJournal(ctx.session, rows, ctx.dialogs); });
}

int filter(Context &ctx, const QStringList &args)
{
    QHash<QString, QString> v;
    if (!takeOptions(args, {u"prefix"_s}, v))
        return Usage;
    if (!v.contains(u"prefix"_s))
        return usageError(u"用法: filter --prefix 科目代码开头"_s);
    const OpResult built = BuildPrefixJournal(ctx.session, v.value(u"prefix"_s), ctx.dialogs);
    return buildAndPrint(ctx, built, [&](ResultSet &rows) { return ReadEntryJournal(ctx.session, rows, ctx.dialogs); });
}

int exportJournal(Context &ctx, const QStringList &args)
{
    if (args.size() != 1 || args.first().startsWith(u"--"_s))
        return usageError(u"用法: export-journal 文件"_s);
    PlainJournalCounts counts;
    const OpResult result = ExportPlainJournal(ctx.session, args.first(), ctx.dialogs, &counts);
    return ctx.printIfDone(result, {u"交易"_s, u"分录"_s},
                           {QString::number(counts.transactions), QString::number(counts.postings)});
}

} // namespace

std::optional<QString> balanceDepth(const QHash<QString, QString> &options)
{
    const QString depth = options.value(u"depth"_s, u"1"_s);
    if (depth.size() == 1 && depth.at(0) >= u'1' && depth.at(0) <= u'4')
        return depth;
    usageError(u"--depth 只能是 1、2、3 或 4 (科目级数): "_s + depth);
    return std::nullopt;
}

void addTableCommands(QList<Command> &commands)
{
    commands.append({u"balance"_s,
                     u"balance --month 月份 [--depth 级数] [--quantity]   该月的科目余额表(数量式余额表), 列到第 1-4 级"
                     "(默认 1); --quantity 显示数量栏"_s,
                     Command::Needs::Login, balance});
    commands.append({u"summary"_s, u"summary --month 月份   该月的凭证汇总表"_s,
                     Command::Needs::Login, summary});
    commands.append({u"journal"_s,
                     u"journal [--month 月份|全部|年初]   分录簿, 默认全年"_s,
                     Command::Needs::Login, journal});
    commands.append({u"filter"_s, u"filter --prefix 代码开头   代码以此开头的全部分录"_s,
                     Command::Needs::Login, filter});
    commands.append({u"export-journal"_s,
                     u"export-journal 文件   帐簿写成纯文本日记帐(供 ledger、hledger 使用)"_s,
                     Command::Needs::Login, exportJournal});
}

} // namespace tz::cli
