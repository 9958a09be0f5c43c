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

} // namespace tz::ledgersql
