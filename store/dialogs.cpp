// Shared bits of the message channel.
#include "store/dialogs.h"

using namespace Qt::Literals::StringLiterals;

namespace tz {

QString applicationTitle()
{
    return u"TZ305"_s;
}

} // namespace tz
