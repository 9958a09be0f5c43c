// Folder creation.
#include "store/makepath.h"

#include <QDir>
#include <QFileInfo>

namespace tz {

bool MakePath(const QString &path)
{
    if (path.isEmpty() || !QDir::isAbsolutePath(path))
        return false;
    const QFileInfo info(path);
    if (info.exists())
        return info.isDir();
    return QDir().mkpath(path);
}

} // namespace tz
