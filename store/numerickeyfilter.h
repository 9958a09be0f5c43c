// Key filter of the amount cells: decides, key by key, what a user may type
// into a field that holds a number.
#pragma once

#include <optional>

#include <QString>

namespace tz {

// Returns keyCode when the key may go into a numeric field, 0 to drop it.
// Digits '0'..'9', backspace (8) and Enter (13) always pass. With
// currentText given, '-' passes only while the field is empty and '.' is
// dropped when the field is non-blank and already holds a '.'. Without
// currentText, '-' and '.' are dropped. Every other key is dropped.
// No rounding is involved.
int NumericKeyFilter(int keyCode, const std::optional<QString> &currentText = std::nullopt);

} // namespace tz
