// Texts for failed writes.
#include "store/fileerror.h"

#include <cerrno>
#include <cstring>

#include <sys/resource.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <QFile>
#include <QFileInfo>

#include <sqlite3.h>

using namespace Qt::Literals::StringLiterals;

namespace tz {

namespace {

// Less room than this on a disk counts as a full disk: a write that failed
// there failed for want of room.
constexpr qint64 kNearlyFull = 1 << 20;

} // namespace

QString writeFailureText(const QString &where, int error)
{
    switch (error) {
    case 0:
        return u"无法写入文件: "_s + where;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return u"磁盘空间不足或文件超过允许的大小,无法写入: "_s + where;
    case EACCES:
    case EPERM:
    case EROFS:
        return u"文件夹不能写入(请检查是否只读、有无写入权限): "_s + where;
    case EIO:
        return u"磁盘读写出错,无法写入: "_s + where;
    case ENOENT:
    case ENOTDIR:
        return u"文件夹不存在,无法写入: "_s + where;
    case ENAMETOOLONG:
        return u"文件名太长,无法写入: "_s + where;
    case EEXIST:
        return u"文件已存在,不能写入: "_s + where;
    default:
        return u"无法写入文件: %1 (%2)"_s.arg(where, QString::fromLocal8Bit(std::strerror(error)));
    }
}

int systemErrorOfSqlite(int code, int systemError)
{
    switch (code & 0xff) {
    case SQLITE_FULL:
        return ENOSPC;
    case SQLITE_IOERR:
        return systemError != 0 ? systemError : EIO;
    case SQLITE_READONLY:
    case SQLITE_PERM:
    case SQLITE_CANTOPEN:
        return EACCES;
    default:
        return 0;
    }
}

QString sqliteFileErrorText(const QString &path, int extendedCode, int systemError)
{
    if (extendedCode == SQLITE_IOERR_READ || extendedCode == SQLITE_IOERR_SHORT_READ)
        return u"磁盘读写出错,无法读取: "_s + path;
    const int primary = extendedCode & 0xff;
    if (primary != SQLITE_FULL && primary != SQLITE_IOERR)
        return {};
    return writeFailureText(path, systemErrorOfSqlite(extendedCode, systemError));
}

int likelyWriteError(const QString &file)
{
    const QFileInfo info(file);
    rlimit limit{};
    if (::getrlimit(RLIMIT_FSIZE, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY && info.exists()
        && quint64(info.size()) >= quint64(limit.rlim_cur))
        return EFBIG;
    struct statvfs disk{};
    const QByteArray folder = QFile::encodeName(info.absolutePath());
    if (::statvfs(folder.constData(), &disk) == 0) {
        // The superuser may also fill the blocks kept back for it.
        const qint64 blocks = qint64(::geteuid() == 0 ? disk.f_bfree : disk.f_bavail);
        if (blocks * qint64(disk.f_frsize) < kNearlyFull)
            return ENOSPC;
    }
    return 0;
}

} // namespace tz
