// 帐套恢复: a backup copy made an account set again, as a new file in the
// program's data folder.
#pragma once

#include <functional>

#include <QString>

#include "store/opresult.h"

namespace tz {

class Dialogs;

// The set a backup restores to: the short name (the backup's name before
// the year and date, "华新" of 华新2024-03-05.QSBF24), ".Y" and the name's
// last two characters. Empty when the name cannot be taken apart that way
// (no "-" after a short name, or not ending in two digits).
QString restoredSetName(const QString &backupFileName);

// A given `shortName` that is no short name is refused first, nothing
// asked: "帐套名错误!" (exclamation, "TZ305提示"). Then asks "帐套恢复是指
// 帐套损坏或已丢失，你可以从备份中恢复过来。\n\n你是否要进行帐套数据的恢复?"
// ("提示信息") and "最后一次提示:你是否要进行帐套数据的恢复?" ("最后一次提示");
// No to either ends silently. `chooseBackup` then names the backup (the
// window's file dialog; empty: cancelled, nothing said).
// `shortName`, when given, names the new set instead of the backup's name.
// A name that cannot be taken apart: "帐套名错误!" (exclamation,
// "TZ305提示"). The set goes to `folder` as short name + ".Y" + the two
// digits; an existing file there: "帐套名相同,不能恢复,请拷走帐套直接使用.\n帐套路径: "
// + path (exclamation, "TZ305提示"). The backup is copied to a scratch file
// beside it, which must open with the key as an account set and pass the
// integrity check, and only then takes the set's name (never over a file
// that appeared meanwhile); a backup under a passphrase this process was
// not given is refused ("恢复没有完成: " + the opening's message, critical),
// any other problem fails. "1.恢复成功,帐套路径:" + path + "\n\n2.请记住路径,
// 请带走帐套,自动退出系统,请重新进入" (exclamation, "TZ305提示"); the caller
// then ends the program. `restored` receives the path.
OpResult RestoreBackup(Dialogs &dialogs, const std::function<QString()> &chooseBackup, const QString &folder,
                       const QString &shortName = {}, QString *restored = nullptr);

} // namespace tz
