// Statement templates.
#include "statements/statementtable.h"

#include <algorithm>
#include <iterator>

using namespace Qt::Literals::StringLiterals;

namespace tz {

namespace {

struct TableFacts
{
    StatementTable table;
    const char16_t *name;
    StatementKind kind;
    const char16_t *form;
    const char16_t *title;
    const char16_t *spacedTitle;
};

const TableFacts kTables[] = {
    {StatementTable::BalanceSheet13, u"资产表13", StatementKind::BalanceSheet, u"会小企01表", u"资产负债表",
     u"资 产 负 债  表"},
    {StatementTable::BalanceSheet07, u"资产表07", StatementKind::BalanceSheet, u"会企01表", u"资产负债表",
     u"资 产 负 债  表"},
    {StatementTable::Income13, u"利润表13", StatementKind::Income, u"会小企02表", u"利润表", u"利  润  表"},
    {StatementTable::Income07, u"利润表07", StatementKind::Income, u"会企02表", u"利润表", u"利  润  表"},
    {StatementTable::CashFlow, u"现流表", StatementKind::CashFlow, u"会小企03表", u"现金流量表", u"现 金 流 量 表"},
};

const TableFacts &factsOf(StatementTable table)
{
    return *std::find_if(std::begin(kTables), std::end(kTables),
                         [table](const TableFacts &facts) { return facts.table == table; });
}

} // namespace

QList<StatementTable> statementTables()
{
    QList<StatementTable> tables;
    for (const TableFacts &facts : kTables)
        tables.append(facts.table);
    return tables;
}

QString tableName(StatementTable table)
{
    return QString::fromUtf16(factsOf(table).name);
}

std::optional<StatementTable> statementTableNamed(const QString &name)
{
    for (const TableFacts &facts : kTables) {
        if (name == QString::fromUtf16(facts.name))
            return facts.table;
    }
    return std::nullopt;
}

StatementKind kindOf(StatementTable table)
{
    return factsOf(table).kind;
}

QString statementTitle(StatementTable table)
{
    return QString::fromUtf16(factsOf(table).title);
}

QString spacedStatementTitle(StatementTable table)
{
    return QString::fromUtf16(factsOf(table).spacedTitle);
}

QString formNumber(StatementTable table)
{
    return QString::fromUtf16(factsOf(table).form);
}

} // namespace tz
