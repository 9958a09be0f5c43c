// Statement templates.
#include "statements/statementtable.h"

using namespace Qt::Literals::StringLiterals;

namespace tz {

QList<StatementTable> statementTables()
{
    return {StatementTable::BalanceSheet13, StatementTable::BalanceSheet07, StatementTable::Income13,
            StatementTable::Income07, StatementTable::CashFlow};
}

QString tableName(StatementTable table)
{
    switch (table) {
    case StatementTable::BalanceSheet13:
        return u"资产表13"_s;
    case StatementTable::BalanceSheet07:
        return u"资产表07"_s;
    case StatementTable::Income13:
        return u"利润表13"_s;
    case StatementTable::Income07:
        return u"利润表07"_s;
    case StatementTable::CashFlow:
        return u"现流表"_s;
    }
    return {};
}

std::optional<StatementTable> statementTableNamed(const QString &name)
{
    for (const StatementTable table : statementTables()) {
        if (tableName(table) == name)
            return table;
    }
    return std::nullopt;
}

StatementKind kindOf(StatementTable table)
{
    switch (table) {
    case StatementTable::BalanceSheet13:
    case StatementTable::BalanceSheet07:
        return StatementKind::BalanceSheet;
    case StatementTable::Income13:
    case StatementTable::Income07:
        return StatementKind::Income;
    case StatementTable::CashFlow:
        break;
    }
    return StatementKind::CashFlow;
}

QString statementTitle(StatementTable table)
{
    switch (kindOf(table)) {
    case StatementKind::BalanceSheet:
        return u"资产负债表"_s;
    case StatementKind::Income:
        return u"利润表"_s;
    case StatementKind::CashFlow:
        break;
    }
    return u"现金流量表"_s;
}

QString formNumber(StatementTable table)
{
    switch (table) {
    case StatementTable::BalanceSheet13:
        return u"会小企01表"_s;
    case StatementTable::BalanceSheet07:
        return u"会企01表"_s;
    case StatementTable::Income13:
        return u"会小企02表"_s;
    case StatementTable::Income07:
        return u"会企02表"_s;
    case StatementTable::CashFlow:
        break;
    }
    return u"会小企03表"_s;
}

} // namespace tz
