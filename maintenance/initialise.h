// 系统初始化: the year's journal and opening balances wiped, after three
// questions and a backup.
#pragma once

#include "store/opresult.h"

namespace tz {

class Dialogs;
class Session;

// Asks three times, titled "TZ305提示（共三次提示）": "是否清空 Y 年的所有数据?",
// "第二次提示,是否要清空 Y 年的所有数据?", "第三次提示，也是最后一次提示，是否要清空
// Y 年的所有数据?"; any No ends silently. Then makes a backup into the
// backup folder (MakeBackup: refused or failed there, nothing is wiped),
// then in one transaction empties 分录表 and 科目表's opening columns (the
// chart itself stays). "初始化完成" (exclamation, "TZ305提示").
OpResult InitialiseYear(Session &session, Dialogs &dialogs);

} // namespace tz
