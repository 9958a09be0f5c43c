// A copy of the open account set made while it stays open: the first step
// of a backup and of the year-end carry forward.
#pragma once

#include <QByteArray>
#include <QString>

namespace tz {

class Session;

// Copies the open set into the new file `path` (which must not exist)
// under the set's own key: the schema, every row and the schema version, all
// read in one read transaction, so a program posting meanwhile neither
// waits long nor tears the copy. Returns the journal lines copied. Throws
// DbError; a file left at `path` after a failure is the caller's to remove.
qint64 exportOpenSet(Session &session, const QString &path);

// The same copy under `key` instead of the set's own (a set passphrase
// set or removed).
qint64 exportOpenSet(Session &session, const QString &path, const QByteArray &key);

// Checks a copy made by exportOpenSet: it opens with the key, passes the
// integrity check and holds `journalLines` journal lines. Returns an empty
// string when it does, otherwise what is wrong.
QString verifyCopy(const QString &path, qint64 journalLines);

// exportOpenSet into a scratch file beside `target`, verifyCopy, then the
// rename (`replace` as installScratch). Stale scratch files of the target
// are removed first; the scratch file never survives a failure. Returns an
// empty string on success, otherwise what went wrong. Throws DbError from
// reading the set.
QString writeVerifiedCopy(Session &session, const QString &target, bool replace);

// writeVerifiedCopy under a name no file in `folder` has yet: `stem` +
// `suffix`, else `stem` + "2" + `suffix`, "3" ... An earlier file is never
// replaced: the copies the program makes on its own before a step that
// destroys data keep every one made before. `written` receives the path.
QString writeKeptCopy(Session &session, const QString &folder, const QString &stem, const QString &suffix,
                      QString *written = nullptr);

} // namespace tz
