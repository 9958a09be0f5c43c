// Commands of month closing: close (with the profit-and-loss transfer
// voucher) and reopen.
#include "app/cli/cli.h"
#include "vouchers/closing.h"

using namespace Qt::Literals::StringLiterals;

namespace tz::cli {

namespace {

// A month given as 1..12; 0 when the text is anything else.
int monthOf(const QString &text)
{
    bool ok = false;
    const int month = text.toInt(&ok);
    return ok && month >= 1 && month <= 12 ? month : 0;
}

} // namespace

// The voucher window closes the month of its date picker, whose year is the
// fiscal year; the day does not matter (the voucher is dated the month's
// last day). Without --reviewer the reviewer box is empty and the closing
// is refused as in the window.
int closeCommand(Context &ctx, const QStringList &args)
{
    QHash<QString, QString> v;
    if (!takeOptions(args, {u"month"_s, u"reviewer"_s}, v))
        return Usage;
    const int month = monthOf(v.value(u"month"_s));
    if (month == 0)
        return usageError(u"用法: close --month 月份(1-12) [--reviewer 审核人]"_s);
    const QDate workingDate(ctx.session.fiscalYear(), month, 1);
    return exitStatusOf(CloseMonth(ctx.session, workingDate, v.value(u"reviewer"_s), ctx.dialogs));
}

int reopenCommand(Context &ctx, const QStringList &args)
{
    QHash<QString, QString> v;
    if (!takeOptions(args, {u"month"_s}, v))
        return Usage;
    const int month = monthOf(v.value(u"month"_s));
    if (month == 0)
        return usageError(u"用法: reopen --month 月份(1-12)"_s);
    return exitStatusOf(ReopenMonth(ctx.session, month, ctx.dialogs));
}

} // namespace tz::cli
