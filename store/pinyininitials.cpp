// Pinyin initials of account names; see store/pinyininitials.h.
#include "store/pinyininitials.h"

#include <QChar>

#include "store/pinyintable.h"

namespace tz {

QString PinyinInitials(const QString &text)
{
    QString result;
    result.reserve(text.size());

    // The letter produced by the last character that had one. Characters
    // without a letter of their own emit it again, which is how the
    // initials stored in existing books were formed.
    QChar working;
    bool haveWorking = false;

    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        char32_t ch = text.at(i).unicode();
        if (QChar::isHighSurrogate(ch) && i + 1 < size
            && text.at(i + 1).isLowSurrogate()) {
            ch = QChar::surrogateToUcs4(text.at(i), text.at(i + 1));
            ++i;
        }

        if (ch < 0x80) {
            working = QChar(char16_t(ch >= U'a' && ch <= U'z' ? ch - U'a' + U'A' : ch));
            haveWorking = true;
        } else if (const char letter = pinyinTableLetter(ch)) {
            working = QChar(char16_t(letter));
            haveWorking = true;
        }

        if (haveWorking && working != u' ')
            result.append(working);
    }
    return result;
}

} // namespace tz
