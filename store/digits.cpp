// The digit check that account codes, cash-flow codes and typed numbers share.
#include "store/digits.h"

namespace tz {

bool isAllDigits(QStringView text)
{
    if (text.isEmpty())
        return false;
    for (const QChar c : text) {
        if (c < u'0' || c > u'9')
            return false;
    }
    return true;
}

} // namespace tz
