// Closing a working window inside the main window from the keyboard.
#pragma once

class QMdiSubWindow;

namespace tz {

// Makes Ctrl+F4, Ctrl+W and Esc close `sub`. The keys act only when the
// control that has the focus leaves them unused, so Esc in an open cell
// editor, a drop-down list or a popup still cancels that first.
void closeOnKeys(QMdiSubWindow *sub);

} // namespace tz
