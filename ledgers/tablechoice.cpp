// Month and depth choices of the query window.
#include "ledgers/tablechoice.h"

#include "store/digits.h"

namespace tz {

std::optional<int> monthOfChoice(const QString &text)
{
    const QString trimmed = text.trimmed();
    if (!isAllDigits(trimmed) || trimmed.size() > 2)
        return std::nullopt;
    const int month = trimmed.toInt();
    if (month < 1 || month > 12)
        return std::nullopt;
    return month;
}

int depthOfChoice(const QString &text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.size() != 1 || trimmed.at(0) < u'1' || trimmed.at(0) > u'4')
        return 0;
    return trimmed.toInt();
}

} // namespace tz
