// The revalue command, twin of the 期末调汇 window: fills the work table for
// the month, applies the rates given, prints the computed table and posts
// the voucher (after --yes), refusing with the window's messages.
#include <QDate>

#include "app/cli/cli.h"
#include "store/guard.h"
#include "vouchers/revaluation.h"

using namespace Qt::Literals::StringLiterals;

namespace tz::cli {

namespace {

const QString kUsage
    = u"用法: revalue --month 月份 --rate 科目代码=汇率 [--rate ...] --against 科目代码 [--reviewer 审核人]"_s;

QString optionalText(const std::optional<double> &value)
{
    return value ? QString::number(*value, 'g', 12) : QString();
}

QString optionalText(const std::optional<Cents> &value)
{
    return value ? centsToText(*value) : QString();
}

} // namespace

int revalueCommand(Context &ctx, QStringList args)
{
    // --rate may repeat, so it is taken out before the other options.
    QHash<QString, double> rates;
    for (qsizetype i = args.indexOf(u"--rate"_s); i >= 0; i = args.indexOf(u"--rate"_s)) {
        if (i + 1 >= args.size())
            return usageError(kUsage);
        const QString pair = args.takeAt(i + 1);
        args.removeAt(i);
        bool ok = false;
        const double rate = pair.section(u'=', 1).toDouble(&ok);
        // Whether the rate is one the books take is the operation's check.
        if (!pair.contains(u'=') || !ok)
            return usageError(u"--rate 须写成 科目代码=汇率,如 1002002=7.1"_s);
        rates.insert(pair.section(u'=', 0, 0).trimmed(), rate);
    }
    QHash<QString, QString> v;
    if (!takeOptions(args, {u"month"_s, u"against"_s, u"reviewer"_s}, v))
        return Usage;
    bool ok = false;
    const int month = v.value(u"month"_s).toInt(&ok);
    if (!ok || month < 1 || month > 12 || !v.contains(u"against"_s))
        return usageError(kUsage);

    if (const OpResult started = StartRevaluation(ctx.session, month, ctx.dialogs); !started.isDone())
        return exitStatusOf(started);
    if (const OpResult computed = RecomputeRevaluation(ctx.session, rates, ctx.dialogs); !computed.isDone())
        return exitStatusOf(computed);
    QList<RevaluationRow> rows;
    if (const OpResult read = guarded(ctx.dialogs,
            [&] {
                rows = ReadRevaluation(ctx.session);
                return OpResult::done();
            });
        !read.isDone())
        return exitStatusOf(read);
    QList<QStringList> table;
    for (const RevaluationRow &row : rows)
        table.append({row.code, row.name, optionalText(row.foreign), centsToText(row.book), optionalText(row.rate),
            optionalText(row.revalued), optionalText(row.difference)});
    ctx.print({u"科目代码"_s, u"科目全称"_s, u"数量"_s, u"调整前金额"_s, u"汇率"_s, u"调整后金额"_s, u"损益"_s}, table);

    // The voucher is dated the month's last day, as a month-end entry.
    VoucherHeader header;
    const QDate first(ctx.session.fiscalYear(), month, 1);
    header.date = first.addDays(first.daysInMonth() - 1);
    header.word = u"记"_s;
    header.attachments = 1;
    header.reviewer = v.value(u"reviewer"_s, ctx.session.operatorName());
    PostingOutcome outcome;
    const OpResult posted = PostRevaluation(ctx.session, header, v.value(u"against"_s), outcome, ctx.dialogs);
    return ctx.printIfDone(posted, {u"月"_s, u"号码"_s, u"分录"_s},
        {QString::number(month), QString::number(outcome.number), QString::number(outcome.linesWritten)});
}

} // namespace tz::cli
