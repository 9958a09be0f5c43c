// 压缩修复数据库: the open set rewritten into a fresh, compact file that
// takes its name; a damaged set is salvaged into a new file instead.
#pragma once

#include <QByteArray>
#include <QString>

#include "store/opresult.h"

namespace tz {

class Dialogs;
class ProgressSteps;
class Session;

// Asks "压缩和修复数据库可以让系统轻装上阵,为了数据安全,压缩前一定要先做数据备份!请问你数据已经备份了吗?? "
// and "你确定要压缩和修复当前数据库吗? 请一定要先做数据备份! " (both titled
// "TZ305提示 " with its blank; No ends silently). The set's integrity is
// checked first:
//  - sound: other programs' writes are held off while the set is copied
//    into a scratch file beside it (stale scratch files of earlier, killed
//    runs removed first), the copy is checked (key, integrity, the row
//    count of every table) and renamed over the set; a program that still
//    has the old file open opens the new one at its next write. Then
//    "数据库压缩修复成功" (no icon, "TZ305").
//  - damaged: "帐套文件已损坏: <what the check found>\n\n是否把能读出的数据抢救到新帐套文件
//    <path>? 原帐套文件不会改动。" (same title); Yes salvages into
//    salvageTargetFor's file and says what was read and lost
//    ("已把能读出的数据抢救到新帐套: " ..., exclamation, "TZ305提示").
// A write-protected set is refused with the read-only message. `written`
// receives the compacted set's or the salvaged set's path.
OpResult CompactAccountSet(Session &session, Dialogs &dialogs, QString *written = nullptr);

// The sound set's rewrite that compacting makes, under `key`: other
// programs' writes held off, the set copied into a scratch file beside
// `path` (stale scratch files removed first), the copy checked (it opens
// with `key`, its integrity, every table's row count) and renamed over the
// set; the session's connection is closed. At every moment the file under
// the set's name is the old set or the whole new one. Returns an empty
// string when done, else why not (the set unchanged). Throws DbError.
// `checkStep` is shown on `progress` when the copy is checked.
QString rewriteOpenSet(Session &session, const QString &path, const QByteArray &key, ProgressSteps &progress,
                       const QString &checkStep);

// For a set that cannot be logged in to (the login window's way out of a
// damaged set, where 压缩修复 cannot be reached): when isDamagedAccountSet,
// asks compacting's salvage question (with "不能登录" as what was found) and
// salvages as it does; otherwise refused without a word.
OpResult OfferSalvage(const QString &path, Dialogs &dialogs, QString *written = nullptr);

} // namespace tz
