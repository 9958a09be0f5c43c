// Key filter of the amount cells; see store/numerickeyfilter.h.
#include "store/numerickeyfilter.h"

namespace tz {

namespace {

constexpr int kBackspace = 8;
constexpr int kEnter = 13;

} // namespace

int NumericKeyFilter(int keyCode, const std::optional<QString> &currentText)
{
    if ((keyCode >= '0' && keyCode <= '9') || keyCode == kBackspace || keyCode == kEnter)
        return keyCode;
    if (keyCode == '-') {
        // A sign only as the first character typed.
        return currentText && currentText->isEmpty() ? keyCode : 0;
    }
    if (keyCode == '.') {
        if (!currentText)
            return 0;
        const bool secondPoint = !currentText->trimmed().isEmpty() && currentText->contains(u'.');
        return secondPoint ? 0 : keyCode;
    }
    return 0;
}

} // namespace tz
