// The values kept in 信息表 that the settings window edits: the company's
// full name, the logged-in operator's name and password, and the backup
// folder. Names are stored exactly as typed, passwords as salted hashes.
#pragma once

#include <QString>

#include "store/operation.h"

namespace tz {

// What the settings window shows on opening: the 'TZ' row of 信息表.
struct AccountSetInfo
{
    QString companyName; // 帐套名称
    QString backupPath;  // 备份路径
};

// Reads the 'TZ' row into `info` (empty values when the row is missing).
OpResult ReadAccountSetInfo(Session &session, AccountSetInfo &info, Dialogs &dialogs);

// Refuses an empty name ("请输入单位全称"); otherwise stores it as 帐套名称
// of the 'TZ' row, makes it the session's company name and confirms.
OpResult SaveCompanyName(Session &session, const QString &name, Dialogs &dialogs);

// Refuses when either name is blank ("请输入新操作员名") or when a row with
// the new name already exists, including the current operator's own
// ("<name>   此操作员已存在"); otherwise renames the operator's rows, confirms
// and makes newName the session's operator.
OpResult RenameOperator(Session &session, const QString &current, const QString &newName, Dialogs &dialogs);

// Refuses when either entry is blank ("请输入密码！") or the two differ
// ("两次密码输入不一致"); otherwise stores the hash of `first` as the operator's 密码,
// confirms and makes it the session's password.
OpResult ChangePassword(Session &session, const QString &operatorName, const QString &first, const QString &second,
                        Dialogs &dialogs);

// Asks "是否修改路径?" (No refuses and keeps the stored folder); on Yes stores
// `folder` as 备份路径 of the 'TZ' row, confirms, and closes the connection
// (the next statement reopens it), as backup and restore expect.
OpResult SetBackupPath(Session &session, const QString &folder, Dialogs &dialogs);

// The settings window's four-paragraph help text (本窗要点).
QString settingsHelpText();

} // namespace tz
