// Opening a file the program wrote for the user (a workbook) in a program
// that shows it.
#pragma once

#include <QString>

namespace tz {

class Dialogs;

// Opens `path` with the desktop's handler for its type; where the desktop
// has none, with LibreOffice found on the PATH (localc, libreoffice,
// soffice). Where neither starts, says so and where the file is:
// "无法打开此文件: 没有找到电子表格程序。\n文件已保存在: " + path
// (exclamation, "TZ305提示").
void openWithSpreadsheet(const QString &path, Dialogs &dialogs);

} // namespace tz
