// The ledger command: builds one ledger of an account, as 帐页查询 of the
// query window does, and prints its work table in its stored column order.
#include "app/cli/cli.h"
#include "ledgers/ledgerquery.h"
#include "store/guard.h"
#include "store/lookupaccount.h"

using namespace Qt::Literals::StringLiterals;

namespace tz::cli {

namespace {

const QString kUsage = u"用法: ledger --account 科目代码 --format three|general|quantity|multi|multi1|fixed "
                       "[--price-digits 单价小数位]"_s;

} // namespace

int ledgerCommand(Context &ctx, const QStringList &args)
{
    QHash<QString, QString> v;
    if (!takeOptions(args, {u"account"_s, u"format"_s, u"price-digits"_s}, v))
        return Usage;
    const std::optional<LedgerFormat> format = ledgerFormatNamed(v.value(u"format"_s));
    if (!format || !v.contains(u"account"_s))
        return usageError(kUsage);
    AccountLookup account;
    const int built = buildLedgerOf(ctx, v, *format, account);
    if (built != Done)
        return built;
    ResultSet rows;
    const OpResult read = guarded(ctx.dialogs, [&] {
        rows = ReadLedger(ctx.session, *format);
        return OpResult::done();
    });
    return ctx.printIfDone(read, rows);
}

int buildLedgerOf(Context &ctx, const QHash<QString, QString> &options, LedgerFormat format, AccountLookup &account)
{
    LedgerRequest request;
    request.code = options.value(u"account"_s).trimmed();
    if (options.contains(u"price-digits"_s)) {
        bool ok = false;
        request.priceDigits = options.value(u"price-digits"_s).toInt(&ok);
        if (!ok || request.priceDigits < 0 || request.priceDigits > 4)
            return usageError(u"--price-digits 只能是 0 到 4"_s);
    }
    // The direction comes from the account, as the query window's lookup
    // leaves it; an unknown code has none.
    const OpResult result = guarded(ctx.dialogs, [&] {
        if (!request.code.isEmpty())
            LookupAccount(ctx.session, request.code, account);
        request.direction = account.accountDirection;
        return BuildLedger(ctx.session, format, request, ctx.dialogs);
    });
    return exitStatusOf(result);
}

} // namespace tz::cli
