// Leaving the program from its menu (退出系统 → 关闭系统).
#pragma once

#include "store/operation.h"

namespace tz {

// Refuses with "请先关闭子窗口" while a working window is open, asks
// "是否退出系统?" (No refuses silently), then empties the work tables
// 分录始表, 三总式, 三栏帐页, 多栏式1 and 数量式 in one transaction. On Done
// the caller clears its preview markers and ends the program. (The window's
// close box skips this clean-up.)
OpResult LeaveProgram(Session &session, bool childWindowOpen, Dialogs &dialogs);

} // namespace tz
