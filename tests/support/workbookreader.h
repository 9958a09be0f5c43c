// Reads a written workbook back with python3-openpyxl, as another program
// would open it.
#pragma once

#include <QString>

namespace tz::test {

// Runs `script` with `wb` the workbook at `path`, `ws` its first sheet and
// `headers(tag)` the raw text of its first sheet's 'oddHeader' or
// 'oddFooter' bound, and returns what it printed; a failure of python or of the script
// fails the calling test and returns its error text.
QString readWorkbook(const QString &path, const QString &script);

} // namespace tz::test
