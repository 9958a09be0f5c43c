// What every window of the program needs before the first one opens: the
// CJK application font and Qt's own dialog texts in Chinese.
#pragma once

class QApplication;

namespace tz {

// Sets the application name, the WenQuanYi Micro Hei font (so Chinese is
// drawn with Chinese glyph forms and PDFs carry extractable text) and loads
// qtbase_zh_CN so Qt's buttons read 是/否.
void setUpApplication(QApplication &app);

} // namespace tz
