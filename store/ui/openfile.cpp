// Opening a written file.
#include "store/ui/openfile.h"

#include <QDesktopServices>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

#include "store/dialogs.h"

using namespace Qt::Literals::StringLiterals;

namespace tz {

void openWithSpreadsheet(const QString &path, Dialogs &dialogs)
{
    // The desktop's handler answers false when there is none to start
    // (no xdg-open, or a platform without one).
    if (QDesktopServices::openUrl(QUrl::fromLocalFile(path)))
        return;
    for (const QString &name : {u"localc"_s, u"libreoffice"_s, u"soffice"_s}) {
        const QString program = QStandardPaths::findExecutable(name);
        if (!program.isEmpty() && QProcess::startDetached(program, {path}))
            return;
    }
    dialogs.show(u"无法打开此文件: 没有找到电子表格程序。\n文件已保存在: "_s + path, u"TZ305提示"_s, Icon::Exclamation);
}

} // namespace tz
