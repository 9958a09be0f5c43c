// 数据备份: a dated copy of the open account set in the backup folder.
#pragma once

#include <QDate>
#include <QString>

#include "store/operation.h"

namespace tz {

// The backup file's name: short name, the date as yyyy-MM-dd, ".QSBF" and
// the fiscal year's last two digits (华新2024-03-05.QSBF24).
QString backupFileName(const QString &shortName, const QDate &day, int fiscalYear);

// Asks "是否备份 Y 年度的数据?" ("TZ305"; No ends silently). The folder is
// 信息表.备份路径, made with its parents when missing; one that cannot be
// made (or no folder at all): "路径不对,请检查备份路径是否正确!" (no icon,
// "TZ305"). The set is copied while it stays open, in one read transaction
// (so a program posting meanwhile neither waits long nor tears the copy),
// into a scratch file beside the backup, which must open with the key, pass
// the integrity check and hold as many journal lines as the set; only then
// does it take the backup's name, replacing a copy made earlier that day.
// Then "数据成功备份到: " + folder + "  文件夹中" (no icon, "TZ305").
// `written` receives the backup's path.
OpResult BackupAccountSet(Session &session, Dialogs &dialogs, QString *written = nullptr,
                          const QDate &today = QDate::currentDate());

// The backup without its question. With `beforeStep` (such as "初始化前")
// it is the copy an operation that destroys data makes first on its own:
// named short name + date + beforeStep (+ "2", "3" ... while such a file
// exists) + ".QSBF" + YY, it never replaces a file, so a second such step
// on the same day keeps the first one's copy.
OpResult MakeBackup(Session &session, Dialogs &dialogs, QString *written = nullptr,
                    const QDate &today = QDate::currentDate(), const QString &beforeStep = {});

// The backup folder (信息表.备份路径) checked without making anything: an
// absolute path that is a folder this program may write, or that can be
// made under one. Otherwise "路径不对,请检查备份路径是否正确!" (no icon, "TZ305"),
// so an operation that backs up first refuses before its questions.
OpResult CheckBackupFolder(Session &session, Dialogs &dialogs);

} // namespace tz
