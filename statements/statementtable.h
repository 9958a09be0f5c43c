// The five statement templates of an account set and what kind of
// statement each one is.
#pragma once

#include <optional>

#include <QList>
#include <QString>

namespace tz {

enum class StatementTable {
    BalanceSheet13, // 资产表13: small-enterprise balance sheet (会小企01表)
    BalanceSheet07, // 资产表07: general-enterprise balance sheet (会企01表)
    Income13,       // 利润表13: small-enterprise income statement (会小企02表)
    Income07,       // 利润表07: general-enterprise income statement (会企02表)
    CashFlow,       // 现流表: cash-flow statement (会小企03表)
};

enum class StatementKind {
    BalanceSheet,
    Income,
    CashFlow,
};

QList<StatementTable> statementTables();

// The template table's name: 资产表13, 资产表07, 利润表13, 利润表07, 现流表.
QString tableName(StatementTable table);

// The table named `name`, nothing for any other text.
std::optional<StatementTable> statementTableNamed(const QString &name);

StatementKind kindOf(StatementTable table);

// The statement's title as printed and as the workbook's sheet name:
// "资产负债表", "利润表", "现金流量表".
QString statementTitle(StatementTable table);
// The title over the workbook's sheet, spaced as the paper form spaces it:
// "资 产 负 债  表", "利  润  表", "现 金 流 量 表".
QString spacedStatementTitle(StatementTable table);

// The statutory form number: 会小企01表, 会企01表, 会小企02表, 会企02表, 会小企03表.
QString formNumber(StatementTable table);

} // namespace tz
