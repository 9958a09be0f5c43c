// Scripted dialogs for tests.
#include "tests/support/scripteddialogs.h"

namespace tz {

void PrintTo(const ShownMessage &message, std::ostream *os)
{
    *os << "[" << message.title.toStdString() << "] " << message.text.toStdString() << " (icon "
        << int(message.icon) << ")";
}

} // namespace tz
