// The digit check that account codes, cash-flow codes and typed numbers share.
#pragma once

#include <QStringView>

namespace tz {

// True for text of one or more ASCII digits 0-9 and nothing else (no sign,
// blank or full-width digit).
bool isAllDigits(QStringView text);

} // namespace tz
