// Commands of the statements: evaluate one statement of a month and print
// its rows (or write its workbook), and edit a statement template.
#include "app/cli/cli.h"
#include "statements/statement.h"
#include "statements/statementtemplate.h"
#include "statements/statementworkbook.h"
#include "store/money.h"

using namespace Qt::Literals::StringLiterals;

namespace tz::cli {

namespace {

const QString kTables = u"资产表13|资产表07|利润表13|利润表07|现流表"_s;

QString amountText(const QVariant &value)
{
    return value.isNull() ? QString() : centsToText(roundToCents(value.toDouble()));
}

// The rows in display order: balance sheets 资产, 行次1, 期末余额, 年初余额,
// 负债及所有者权益, 行次2, 期末余额, 年初余额; the others 项目, 行次,
// 本月金额, 本年累计金额.
void printStatement(Context &ctx, StatementTable table, const ResultSet &rows)
{
    const auto text = [](const QVariant &v) { return v.isNull() ? QString() : v.toString(); };
    QList<QStringList> lines;
    if (kindOf(table) == StatementKind::BalanceSheet) {
        for (const ResultSet::Row &r : rows.rows())
            lines.append({text(r.at(1)), text(r.at(2)), amountText(r.at(4)), amountText(r.at(5)), text(r.at(6)),
                text(r.at(7)), amountText(r.at(9)), amountText(r.at(10))});
        ctx.print({u"资产"_s, u"行次1"_s, u"期末余额"_s, u"年初余额"_s, u"负债及所有者权益"_s, u"行次2"_s,
                      u"期末余额"_s, u"年初余额"_s},
            lines);
        return;
    }
    for (const ResultSet::Row &r : rows.rows())
        lines.append({text(r.at(1)), text(r.at(2)), amountText(r.at(5)), amountText(r.at(4))});
    ctx.print({u"项目"_s, u"行次"_s, u"本月金额"_s, u"本年累计金额"_s}, lines);
}

} // namespace

int statementCommand(Context &ctx, const QStringList &args)
{
    QHash<QString, QString> v;
    if (!takeOptions(args, {u"table"_s, u"month"_s, u"xlsx"_s}, v))
        return Usage;
    const std::optional<StatementTable> table = statementTableNamed(v.value(u"table"_s));
    bool ok = false;
    const int month = v.value(u"month"_s).toInt(&ok);
    if (!table || !ok || month < 1 || month > 12)
        return usageError(u"用法: statement --table "_s + kTables + u" --month 月份(1-12) [--xlsx 文件]"_s);
    const OpResult evaluated = EvaluateStatement(ctx.session, *table, month, ctx.dialogs);
    if (!evaluated.isDone())
        return exitStatusOf(evaluated);
    if (v.contains(u"xlsx"_s))
        return exitStatusOf(WriteStatementWorkbook(ctx.session, *table, month, v.value(u"xlsx"_s), ctx.dialogs));
    ResultSet rows;
    const OpResult read = ReadStatement(ctx.session, *table, rows, ctx.dialogs);
    if (read.isDone())
        printStatement(ctx, *table, rows);
    return exitStatusOf(read);
}

int statementTemplateCommand(Context &ctx, const QStringList &args)
{
    const QString usage = u"用法: statement-template --table "_s + kTables
        + u" list | set --line 行次 [--caption 项目] [--formula 公式]"_s;
    QHash<QString, QString> v;
    QStringList rest;
    if (!takeOptions(args, {u"table"_s, u"line"_s, u"caption"_s, u"formula"_s}, v, &rest) || rest.size() != 1)
        return usageError(usage);
    const std::optional<StatementTable> table = statementTableNamed(v.value(u"table"_s));
    if (!table)
        return usageError(usage);
    if (rest.first() == u"list"_s) {
        QList<QStringList> lines;
        const OpResult listed = ListTemplateLines(ctx.session, *table, lines, ctx.dialogs);
        if (listed.isDone())
            ctx.print({u"行次"_s, u"项目"_s, u"公式"_s}, lines);
        return exitStatusOf(listed);
    }
    bool ok = false;
    const int line = v.value(u"line"_s).toInt(&ok);
    if (rest.first() != u"set"_s || !ok || (!v.contains(u"caption"_s) && !v.contains(u"formula"_s)))
        return usageError(usage);
    const auto given
        = [&v](const QString &name) { return v.contains(name) ? std::optional<QString>(v.value(name)) : std::nullopt; };
    return exitStatusOf(
        SetTemplateLine(ctx.session, *table, line, given(u"caption"_s), given(u"formula"_s), ctx.dialogs));
}

} // namespace tz::cli
