// SQL pieces shared by the ledger builds.
#include "ledgers/ledgersql.h"

#include "store/session.h"

using namespace Qt::Literals::StringLiterals;

namespace tz::ledgersql {

QString underPrefix(const QString &column, int index, int minExtra)
{
    const QString prefix = u"?"_s + QString::number(index);
    const QString bound = u"?"_s + QString::number(index + 1);
    return u"(%1 >= %2 AND %1 < %3 AND substr(%1, 1, length(%2)) = %2 AND length(%1) >= length(%2) + %4)"_s.arg(
        column, prefix, bound, QString::number(minExtra));
}

QString upperBound(const QString &prefix)
{
    // Every text that begins with the prefix sorts below prefix + U+FFFF.
    return prefix + QChar(0xFFFF);
}

void emptyWorkTables(Session &session, std::initializer_list<QString> tables)
{
    // The setting is a small number read from the connection itself.
    const QString previous = QString::number(session.RunSql(u"PRAGMA secure_delete"_s).value(0, 0).toLongLong());
    session.execSql(u"PRAGMA secure_delete = 0"_s);
    try {
        for (const QString &table : tables)
            session.execSql(u"DELETE FROM "_s + table);
    } catch (...) {
        session.execSql(u"PRAGMA secure_delete = "_s + previous);
        throw;
    }
    session.execSql(u"PRAGMA secure_delete = "_s + previous);
}

} // namespace tz::ledgersql
