// Whole-file replacement that never destroys the only good copy: write a
// scratch file beside the target, verify it, then give it the target's
// name in one step. Used for new sets, backups, restores, compacting and
// the year-end carry forward.
#pragma once

#include <functional>

#include <QString>

#include "store/opresult.h"

namespace tz {

class Connection;
class Dialogs;
class ScratchFile;

// A scratch file name in the target's folder (same file system, so the
// final rename is atomic). The name starts with a dot and never ends in
// ".Y" and two digits, so it is never offered as an account set. It holds
// the writer's process number, so what a killed writer left is known.
QString scratchPathFor(const QString &target);

// Removes the scratch files in the folder of `target` whose writers no
// longer run (left by a process killed before its rename, whatever file it
// was writing); a live writer's file is kept. Such a file is never
// installed. Every writer calls it before it writes into a folder. Returns
// how many were removed.
int removeStaleScratch(const QString &target);

// Copies `source` to `scratch` byte for byte and flushes it to disk.
// Returns an empty string on success, otherwise what went wrong.
QString copyToScratch(const QString &source, const QString &scratch);

// Checks that `path` opens with the account-set key (or a set passphrase
// given to the process) and passes SQLite's
// quick integrity check. Returns an empty string when it does.
QString verifyAccountSet(const QString &path);

// Gives a connection that reads or rewrites a copy of a set once (checking
// it, counting its rows, carrying it forward) an 8 MiB page cache instead
// of the 64 MiB of the open set's, so the program does not hold a second
// cache of pages.
void useSmallCache(Connection &connection);

// Frees the pages the connection's cache keeps that no statement is using,
// for an operation done with the journal that next builds a large result
// in memory (a year of laid-out ledger pages): that result takes the room
// the journal's pages held instead of adding to it.
void releaseCachedPages(Connection &connection);

// Gives `scratch` the name `target`. With `replace` an existing target is
// replaced atomically; without it an existing target makes this fail and
// stay untouched. The scratch file is removed on failure. Returns an empty
// string on success, otherwise what went wrong.
QString installScratch(const QString &scratch, const QString &target, bool replace);

// True when `path` is a file that may hold books, so it is never written
// over: it opens with the account-set key or a set passphrase given to the
// process (an account set, a backup, the template), or it cannot be told
// for sure (busy, locked or damaged, a read error, a rollback journal or
// write-ahead log beside it, whole encrypted pages no key we know opens). False only
// for no file, or with no journal beside it an empty file, a clear "not a
// database" or one that holds no table.
bool isKeyedFile(const QString &path);

// installScratch for a file the user named, after confirmTarget: the
// keyed-file test is made again just before the rename, so an account set
// put under the name since the question is still never written over.
QString installUserFile(const QString &scratch, const QString &target, bool replace);

// Decides whether a file the user named may be written. No file there:
// done, `replace` false. An account set (isKeyedFile; the open set above
// all) or a folder: refused with "不能覆盖帐套文件: " + path or
// "这是一个文件夹,不能写入: " + path (critical, "TZ305提示"). Another
// file: replaced only after Yes to "文件已存在,是否覆盖?\n" + path
// ("TZ305提示"; No ends silently), `replace` true. Writers then write a
// scratch file and installUserFile it with `replace`, so a file that
// appears meanwhile is not overwritten unasked.
OpResult confirmTarget(const QString &path, Dialogs &dialogs, bool &replace);

// How the writer of a file the user named ended.
enum class FileWrite {
    Written,
    Cancelled, // by the user, through a progress dialog
    Failed,
};

// Writes a file the user named (a workbook, a PDF): an empty name refused
// with "请输入文件名" (critical, "TZ305提示"); dead writers' scratch files
// removed from the folder; confirmTarget; then `write` into a new scratch
// file beside it (through the device, or by its path), which is installed
// under `path` only when written, flushed to disk, not empty and `isWhole`
// (the writer's check of what a whole file ends with). Failed: why, in
// writeFailureText's words for `path` (critical, "TZ305提示"), so a full
// disk is told as such; Cancelled: refused silently. Nothing is left
// behind but the installed file.
OpResult writeUserFile(const QString &path, Dialogs &dialogs, const std::function<FileWrite(ScratchFile &scratch)> &write,
                       const std::function<bool(const QString &file)> &isWhole);

} // namespace tz
