// 系统初始化: the year's journal and opening balances wiped, after three
// questions and a backup.
#pragma once

#include <QDate>
#include <QString>

#include "store/operation.h"

namespace tz {

// A write-protected set is refused first, with the message every write to
// it gets (Connection::readOnlyText, critical, "TZ305提示"): nothing asked,
// no backup. The backup folder is checked next (CheckBackupFolder:
// refused there, nothing is asked). Then asks three times, titled "TZ305提示（共三次提示）":
// "是否清空 Y 年的所有数据?", "第二次提示,是否要清空 Y 年的所有数据?",
// "第三次提示，也是最后一次提示，是否要清空 Y 年的所有数据?"; any No ends
// silently. Then keeps the year in a backup of its own name, short name +
// date + "初始化前" (+ a counter) + ".QSBFyy", never over an earlier one
// (MakeBackup: refused or failed there, nothing is wiped), then in one
// transaction empties 分录表 and 科目表's opening columns (the chart itself
// stays). "初始化完成" (exclamation, "TZ305提示"). `backup` receives the
// backup's path.
OpResult InitialiseYear(Session &session, Dialogs &dialogs, QString *backup = nullptr,
                        const QDate &today = QDate::currentDate());

} // namespace tz
