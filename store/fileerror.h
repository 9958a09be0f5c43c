// Why a file could not be written, in the user's words: the one place that
// turns system error numbers and SQLite result codes into Chinese texts,
// for the writers of sets, backups and the files users name.
#pragma once

#include <QString>

namespace tz {

// What a failed write to `where` (a file or a folder) tells the user, by
// the system error number: no room (ENOSPC, EDQUOT, EFBIG) "磁盘空间不足或
// 文件超过允许的大小,无法写入: " + where; a folder that cannot be written
// (EACCES, EPERM, EROFS) "文件夹不能写入(请检查是否只读、有无写入权限): " +
// where; the disk's own error (EIO) "磁盘读写出错,无法写入: " + where; no
// such folder (ENOENT, ENOTDIR) "文件夹不存在,无法写入: " + where; a name
// too long "文件名太长,无法写入: " + where; a file there already (EEXIST)
// "文件已存在,不能写入: " + where; nothing known (0) "无法写入文件: " +
// where; any other number the same with the system's words after it.
QString writeFailureText(const QString &where, int error);

// The system error number an SQLite result code stands for when it is about
// the file rather than the statement: SQLITE_FULL as ENOSPC, SQLITE_IOERR as
// the number SQLite saw (EIO when none), SQLITE_READONLY, SQLITE_PERM and
// SQLITE_CANTOPEN as EACCES; 0 for any other code.
int systemErrorOfSqlite(int code, int systemError);

// What an SQLite failure of the file at `path` tells the user:
// SQLITE_IOERR_READ and SQLITE_IOERR_SHORT_READ "磁盘读写出错,无法读取: " +
// path, other SQLITE_IOERR and SQLITE_FULL as writeFailureText; empty for
// a code that is not about reading or writing the file.
QString sqliteFileErrorText(const QString &path, int extendedCode, int systemError);

// The system error that explains a write to `file` that failed without
// saying why (a short write, a library that keeps the number to itself):
// EFBIG when the file reached this process's file size limit, ENOSPC when
// the disk of its folder has (almost) no room left, otherwise 0.
int likelyWriteError(const QString &file);

} // namespace tz
