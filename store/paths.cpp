// Program and data folders.
#include "store/paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

using namespace Qt::Literals::StringLiterals;

namespace tz {

QString programFolder()
{
    const QString overridden = qEnvironmentVariable("TZ305_PROGRAM_DIR");
    if (!overridden.isEmpty())
        return QDir::cleanPath(overridden);
    const QString appDir = QCoreApplication::applicationDirPath();
    if (QFileInfo::exists(appDir + u"/TZ_QSB"_s))
        return appDir;
    const QString installed = QDir::cleanPath(appDir + u"/../share/tz305"_s);
    if (QFileInfo::exists(installed + u"/TZ_QSB"_s))
        return installed;
    return appDir;
}

QString templatePath()
{
    return programFolder() + u"/TZ_QSB/TZ_2XCB.RH"_s;
}

QString backgroundPicturePath()
{
    return programFolder() + u"/TZ_QSB/TZ305.li"_s;
}

QString dataFolder()
{
    QString folder = qEnvironmentVariable("TZ305_DATA_DIR");
    if (folder.isEmpty())
        folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    if (folder.isEmpty())
        folder = QDir::homePath() + u"/.local/share/tz305"_s;
    QDir().mkpath(folder);
    return QDir::cleanPath(folder);
}

} // namespace tz
