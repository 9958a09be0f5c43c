// The program's icon, painted rather than shipped as a file: the windows
// take it at start, and the template tool writes it as the PNG that the
// desktop file names.
#pragma once

#include <QImage>

namespace tz {

// The icon at `size` x `size` pixels: a green ledger page with a red
// margin rule and the character 账.
QImage paintApplicationIcon(int size);

} // namespace tz
