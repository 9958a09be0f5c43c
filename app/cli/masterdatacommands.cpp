// Commands over the master data: summary phrases, cash-flow items and the
// opening balances with their trial balance and load.
#include <QLocale>

#include "accounts/cashflowitems.h"
#include "accounts/openingbalances.h"
#include "accounts/phrases.h"
#include "app/cli/cli.h"
#include "store/money.h"

using namespace Qt::Literals::StringLiterals;

namespace tz::cli {

namespace {

const QString kPhraseUsage = u"用法: phrase add 摘要 | delete 摘要 | list"_s;
const QString kItemUsage = u"用法: item add --code 代码 --name 名称 | delete --code 代码 | list"_s;
const QString kOpeningUsage
    = u"用法: opening set --code 科目代码 [--qty 数量] [--debit 借方] [--credit 贷方] | list | trial | load"_s;

QString amountText(const std::optional<Cents> &cents)
{
    return cents ? centsToText(*cents) : QString();
}

} // namespace

int phraseCommand(Context &ctx, const QStringList &args)
{
    const QString what = args.value(0);
    if (what == u"list"_s && args.size() == 1) {
        QStringList phrases;
        const OpResult result = ListPhrases(ctx.session, phrases, ctx.dialogs);
        if (result.isDone()) {
            QList<QStringList> rows;
            for (const QString &p : phrases)
                rows.append({p});
            ctx.print({u"名称"_s}, rows);
        }
        return exitStatusOf(result);
    }
    if (what == u"add"_s && args.size() == 2)
        return exitStatusOf(AddPhrase(ctx.session, args.at(1), ctx.dialogs));
    if (what == u"delete"_s && args.size() == 2)
        return exitStatusOf(DeletePhrase(ctx.session, args.at(1), ctx.dialogs));
    return usageError(kPhraseUsage);
}

int itemCommand(Context &ctx, const QStringList &args)
{
    const QString what = args.value(0);
    QHash<QString, QString> v;
    if (what == u"list"_s && args.size() == 1) {
        QList<CashFlowItem> items;
        const OpResult result = ListCashFlowItems(ctx.session, items, ctx.dialogs);
        if (result.isDone()) {
            QList<QStringList> rows;
            for (const CashFlowItem &i : items)
                rows.append({i.code, i.name});
            ctx.print({u"代码"_s, u"名称"_s}, rows);
        }
        return exitStatusOf(result);
    }
    if (what == u"add"_s) {
        if (!takeOptions(args.mid(1), {u"code"_s, u"name"_s}, v))
            return Usage;
        if (!v.contains(u"code"_s) || !v.contains(u"name"_s))
            return usageError(kItemUsage);
        return exitStatusOf(AddCashFlowItem(ctx.session, v.value(u"code"_s), v.value(u"name"_s), ctx.dialogs));
    }
    if (what == u"delete"_s) {
        if (!takeOptions(args.mid(1), {u"code"_s}, v))
            return Usage;
        if (!v.contains(u"code"_s))
            return usageError(kItemUsage);
        return exitStatusOf(DeleteCashFlowItem(ctx.session, v.value(u"code"_s), ctx.dialogs));
    }
    return usageError(kItemUsage);
}

namespace {

int openingSet(Context &ctx, const QStringList &args)
{
    QHash<QString, QString> v;
    if (!takeOptions(args, {u"code"_s, u"qty"_s, u"debit"_s, u"credit"_s}, v))
        return Usage;
    if (!v.contains(u"code"_s) || v.size() < 2)
        return usageError(kOpeningUsage);
    const auto given = [&v](const QString &name) -> std::optional<QString> {
        if (!v.contains(name))
            return std::nullopt;
        return v.value(name);
    };
    // Typed amounts are taken exactly: more than two decimals or more than
    // the money columns hold is refused, never rounded.
    for (const auto &[option, field] :
        {std::pair {u"debit"_s, u"借方金额"_s}, std::pair {u"credit"_s, u"贷方金额"_s}}) {
        const QString text = v.value(option).trimmed();
        const TypedAmount typed = readTypedAmount(text);
        if (v.contains(option) && !text.isEmpty() && typed.verdict != AmountText::Valid) {
            ctx.dialogs.show(typedAmountProblem(typed.verdict, field, text), u"TZ305提示"_s, Icon::Critical);
            return Refused;
        }
    }
    const OpeningEdit edit {given(u"qty"_s), given(u"debit"_s), given(u"credit"_s)};
    return exitStatusOf(SetOpeningBalance(ctx.session, v.value(u"code"_s), edit, ctx.dialogs));
}

int openingList(Context &ctx)
{
    QList<OpeningBalance> balances;
    const OpResult result = ReadOpeningBalances(ctx.session, balances, ctx.dialogs);
    if (result.isDone()) {
        QList<QStringList> rows;
        for (const OpeningBalance &b : balances) {
            const QString quantity
                = b.quantity ? QString::number(*b.quantity, 'g', QLocale::FloatingPointShortest) : QString();
            rows.append({b.code, b.fullName, b.direction, quantity, amountText(b.debit), amountText(b.credit)});
        }
        ctx.print({u"科目代码"_s, u"科目全称"_s, u"方向"_s, u"数量"_s, u"借方金额"_s, u"贷方金额"_s}, rows);
    }
    return exitStatusOf(result);
}

void printTrial(Context &ctx, const TrialBalance &trial)
{
    ctx.print({u"借方合计"_s, u"贷方合计"_s, u"状态"_s}, {{trial.debitText(), trial.creditText(), trial.statusText()}});
}

} // namespace

int openingCommand(Context &ctx, const QStringList &args)
{
    const QString what = args.value(0);
    if (what == u"set"_s)
        return openingSet(ctx, args.mid(1));
    if (args.size() != 1)
        return usageError(kOpeningUsage);
    if (what == u"list"_s)
        return openingList(ctx);
    if (what == u"trial"_s) {
        TrialBalance trial;
        const OpResult result = ComputeTrialBalance(ctx.session, trial, ctx.dialogs);
        if (result.isDone())
            printTrial(ctx, trial);
        return exitStatusOf(result);
    }
    if (what == u"load"_s)
        return exitStatusOf(LoadOpeningBalances(ctx.session, ctx.dialogs));
    return usageError(kOpeningUsage);
}

} // namespace tz::cli
