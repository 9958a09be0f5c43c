// Statement evaluation.
#include "statements/statement.h"

#include "statements/reportdata.h"
#include "store/dialogs.h"
#include "store/guard.h"
#include "store/session.h"
#include "store/transaction.h"

using namespace Qt::Literals::StringLiterals;

namespace tz {

namespace {

// The columns a template row is read and written with.
struct Layout
{
    QString order;               // the line-number column rows are read by
    QList<QString> formulas;     // formula columns, each with its two target columns
    QList<QString> firstTargets; // the first figure of a pair (年初 / 本期) goes here
    QList<QString> secondTargets;
    QString displayColumns;
};

Layout layoutOf(StatementTable table)
{
    if (kindOf(table) == StatementKind::BalanceSheet)
        return {u"行次1"_s,
                {u"公式1"_s, u"公式2"_s},
                {u"年初余额1"_s, u"年初余额2"_s},
                {u"期末余额1"_s, u"期末余额2"_s},
                u"资产, 行次1, 公式1, 期末余额1, 年初余额1, 负债及所有者权益, 行次2, 公式2, 期末余额2, 年初余额2"_s};
    return {u"行次"_s, {u"公式"_s}, {u"本月金额"_s}, {u"本年累计金额"_s}, u"项目, 行次, 公式, 本年累计金额, 本月金额"_s};
}

QVariant figureValue(Cents cents)
{
    return cents == 0 ? QVariant() : QVariant(centsToDouble(cents));
}

QString formulaHint(StatementTable table)
{
    return table == StatementTable::CashFlow ? u"请检查：多个科目代码时可以连加或连减。如: 101+102-103"_s
                                             : u"请检查：多个科目代码时可以连加或连减。如: 1001+1002-1003"_s;
}

} // namespace

OpResult EvaluateStatement(Session &session, StatementTable table, std::optional<int> month, Dialogs &dialogs,
                           PendingRefusal *deferredCheck)
{
    const bool validMonth = month && *month >= 1 && *month <= 12;
    if (!validMonth)
        dialogs.show(u"请选择月份"_s, applicationTitle(), Icon::Critical);
    const Layout layout = layoutOf(table);
    const QString name = tableName(table);
    const bool balanceSheet = kindOf(table) == StatementKind::BalanceSheet;

    std::optional<PendingRefusal> badFormula;
    Cents cashChange = 0;
    const OpResult run = guarded(dialogs, [&] {
        Transaction transaction(session, Transaction::Mode::WorkTables);
        QHash<QString, FigurePair> data;
        if (validMonth) {
            buildReportData(session, *month,
                            table == StatementTable::CashFlow ? ReportData::CashFlow : ReportData::Accounts);
            data = readReportData(session, balanceSheet);
        } else {
            session.execSql(u"DELETE FROM 报表数据"_s);
        }
        const ResultSet rows = session.RunSql(u"SELECT rowid, "_s + layout.order + u", "_s + layout.formulas.join(u", "_s)
                                              + u" FROM "_s + name + u" ORDER BY "_s + layout.order);
        // Every formula is looked at before anything is written.
        for (const ResultSet::Row &row : rows.rows()) {
            for (qsizetype f = 0; f < layout.formulas.size(); ++f) {
                const QString formula = row.at(2 + f).toString();
                if (!isFormulaText(formula)) {
                    badFormula = PendingRefusal{u"行次"_s + row.at(1).toString() + u"公式有误: "_s + formula + u"\n\n"_s
                                                    + formulaHint(table),
                                                u"错误提示"_s, Icon::None};
                    return OpResult::refused();
                }
            }
        }
        QString update = u"UPDATE "_s + name + u" SET "_s;
        for (qsizetype f = 0; f < layout.formulas.size(); ++f) {
            update += (f ? u", "_s : QString()) + layout.firstTargets.at(f) + u" = ?, "_s + layout.secondTargets.at(f)
                + u" = ?"_s;
        }
        update += u" WHERE rowid = ?"_s;
        for (const ResultSet::Row &row : rows.rows()) {
            QVariantList values;
            for (qsizetype f = 0; f < layout.formulas.size(); ++f) {
                const FigurePair pair = evaluateFormula(data, row.at(2 + f).toString());
                values << figureValue(pair.first) << figureValue(pair.second);
            }
            values << row.at(0);
            session.execSql(update, values);
        }
        transaction.commit();
        cashChange = data.value(u"999"_s).first + data.value(u"-888"_s).first;
        return OpResult::done();
    });
    if (badFormula)
        return refuse(dialogs, *badFormula);
    if (!run.isDone())
        return run;
    if (table == StatementTable::CashFlow) {
        const PendingRefusal check{u"1.如果本月栏23行值≠【 "_s + centsToText(cashChange, true)
                                       + u" 】,请检查分录或检查第2条提示。\n\n"_s
                                       + u"2.如果年初货币资金为空,请装入年初数:库存现金=0。"_s,
                                   u"TZ305友情提示"_s, Icon::Exclamation};
        if (deferredCheck)
            *deferredCheck = check;
        else
            dialogs.show(check.text, check.title, check.icon);
    }
    return validMonth ? OpResult::done() : OpResult::refused(u"请选择月份"_s);
}

OpResult ReadStatement(Session &session, StatementTable table, ResultSet &rows, Dialogs &dialogs)
{
    const Layout layout = layoutOf(table);
    return guarded(dialogs, [&] {
        rows = session.RunSql(u"SELECT row_number() OVER (ORDER BY "_s + layout.order + u", rowid) AS 序号, "_s
                              + layout.displayColumns + u" FROM "_s + tableName(table) + u" ORDER BY "_s + layout.order
                              + u", rowid"_s);
        return OpResult::done();
    });
}

QStringList statementHeaders(StatementTable table)
{
    if (kindOf(table) == StatementKind::BalanceSheet)
        return {u"序号"_s, u"资  产"_s, u"行次"_s, u"1"_s, u"期末余额"_s, u"年初余额"_s, u"负债及所有者权益"_s,
                u"行次"_s, u"2"_s, u"期末余额"_s, u"年初余额"_s};
    return {u"序号"_s, u"项  目"_s, u"行次"_s, u"1"_s, u"本年累计金额"_s, u"本月金额"_s};
}

QList<int> statementColumnWidths(StatementTable table)
{
    if (kindOf(table) == StatementKind::BalanceSheet)
        return {500, 2000, 500, 0, 1500, 1500, 2000, 500, 0, 1500, 1500};
    return {500, 6000, 500, 0, 2000, 2000};
}

QList<int> statementAmountColumns(StatementTable table)
{
    if (kindOf(table) == StatementKind::BalanceSheet)
        return {4, 5, 9, 10};
    return {4, 5};
}

} // namespace tz
