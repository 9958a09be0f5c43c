// The print command: vouchers, account-book pages, the balance table, the
// voucher summary and the statements, laid out as the windows lay them out,
// then written as a PDF file (--pdf FILE) or printed on the default
// printer, which is refused when there is none.
#include "app/cli/cli.h"
#include "ledgers/balancetable.h"
#include "ledgers/vouchersummary.h"
#include "printing/ledgerpages.h"
#include "printing/ledgerrange.h"
#include "printing/pagepainter.h"
#include "printing/tablereports.h"
#include "printing/ui/paperprinter.h"
#include "printing/voucherprint.h"
#include "statements/statement.h"

using namespace Qt::Literals::StringLiterals;

namespace tz::cli {

namespace {

const QString kUsage
    = u"用法:\n"
      "print voucher --month 月份 --from 起号 --to 止号 [--form small|large] [--lines 每张行数] [--pdf 文件]\n"
      "print ledger --account 科目代码 [--to 止科目代码] --format three|quantity|fixed [--pdf 文件]\n"
      "print balance --month 月份 [--depth 级数(1-4)] [--pdf 文件]\n"
      "print summary --month 月份 [--pdf 文件]\n"
      "print statement --table 资产表13|资产表07|利润表13|利润表07|现流表 --month 月份 [--pdf 文件]"_s;

int number(const QHash<QString, QString> &v, const QString &name, int fallback = -1)
{
    if (!v.contains(name))
        return fallback;
    bool ok = false;
    const int n = v.value(name).toInt(&ok);
    return ok ? n : -1;
}

// Writes or prints what `layOut` made; paper is checked before the layout.
int deliver(Context &ctx, const QHash<QString, QString> &v, const std::function<OpResult(Document &)> &layOut)
{
    const bool pdf = v.contains(u"pdf"_s);
    if (!pdf) {
        if (const OpResult ready = requirePrinter(ctx.dialogs); !ready.isDone())
            return exitStatusOf(ready);
    }
    Document doc;
    if (const OpResult laid = layOut(doc); !laid.isDone())
        return exitStatusOf(laid);
    return exitStatusOf(pdf ? WritePdf(doc, v.value(u"pdf"_s), ctx.dialogs) : PrintOnPaper(doc, ctx.dialogs));
}

int printVoucher(Context &ctx, const QHash<QString, QString> &v)
{
    const int month = number(v, u"month"_s), from = number(v, u"from"_s), to = number(v, u"to"_s, from);
    const QString form = v.value(u"form"_s, u"small"_s);
    const SavedVoucherSettings saved = loadVoucherSettings();
    VoucherPrintSettings settings;
    settings.form = form == u"large"_s ? VoucherForm::Large : VoucherForm::Small;
    settings.linesPerPage = number(v, u"lines"_s, saved.lines.toInt());
    settings.leftCm = saved.leftCm.toDouble();
    settings.topCm = saved.topCm.toDouble();
    settings.chiefAccountant = saved.chiefAccountant;
    settings.bookkeeper = saved.bookkeeper;
    if (month < 1 || month > 12 || from < 1 || to < 1 || (form != u"small"_s && form != u"large"_s))
        return usageError(kUsage);
    return deliver(ctx, v, [&](Document &doc) {
        return LayOutVoucherRange(ctx.session, month, from, to, settings, !v.contains(u"pdf"_s), doc, ctx.dialogs);
    });
}

int printLedger(Context &ctx, const QHash<QString, QString> &v)
{
    const QString name = v.value(u"format"_s);
    const QString code = v.value(u"account"_s).trimmed();
    if (code.isEmpty() || (name != u"three"_s && name != u"quantity"_s && name != u"fixed"_s))
        return usageError(kUsage);
    const LedgerPageKind kind = name == u"three"_s ? LedgerPageKind::ThreeColumn
        : name == u"quantity"_s                    ? LedgerPageKind::Quantity
                                                   : LedgerPageKind::FixedAsset;
    return deliver(ctx, v, [&](Document &doc) {
        if (v.contains(u"to"_s))
            return LayOutLedgerRange(ctx.session, kind, code, v.value(u"to"_s), 1, doc, ctx.dialogs);
        return LayOutAccountPages(ctx.session, kind, code, 1, doc, ctx.dialogs);
    });
}

} // namespace

int printCommand(Context &ctx, const QStringList &args)
{
    QHash<QString, QString> v;
    QStringList rest;
    if (!takeOptions(args,
            {u"month"_s, u"from"_s, u"to"_s, u"form"_s, u"lines"_s, u"pdf"_s, u"account"_s, u"format"_s, u"depth"_s,
                u"table"_s},
            v, &rest)
        || rest.size() != 1)
        return usageError(kUsage);
    const QString what = rest.first();
    const QString month = v.value(u"month"_s);
    if (what == u"voucher"_s)
        return printVoucher(ctx, v);
    if (what == u"ledger"_s)
        return printLedger(ctx, v);
    if (what == u"balance"_s) {
        const std::optional<QString> depth = balanceDepth(v);
        if (!depth)
            return Usage;
        return deliver(ctx, v, [&](Document &doc) {
            const OpResult built = BuildBalanceTable(ctx.session, month, *depth, ctx.dialogs);
            return built.isDone() ? LayOutBalanceReport(ctx.session, month, 1, doc, ctx.dialogs) : built;
        });
    }
    if (what == u"summary"_s) {
        return deliver(ctx, v, [&](Document &doc) {
            const OpResult built = BuildVoucherSummary(ctx.session, month, ctx.dialogs);
            return built.isDone() ? LayOutSummaryReport(ctx.session, month, doc, ctx.dialogs) : built;
        });
    }
    if (what == u"statement"_s) {
        const std::optional<StatementTable> table = statementTableNamed(v.value(u"table"_s));
        const int m = number(v, u"month"_s);
        if (!table || m < 1 || m > 12)
            return usageError(kUsage);
        return deliver(ctx, v, [&](Document &doc) {
            const OpResult evaluated = EvaluateStatement(ctx.session, *table, m, ctx.dialogs);
            return evaluated.isDone() ? LayOutStatementReport(ctx.session, *table, m, doc, ctx.dialogs) : evaluated;
        });
    }
    return usageError(kUsage);
}

} // namespace tz::cli
