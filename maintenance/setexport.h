// A copy of the open account set made while it stays open: the first step
// of a backup and of the year-end carry forward.
#pragma once

#include <QString>

namespace tz {

class Session;

// Copies the open set into the new file `path` (which must not exist)
// under the same key: the schema, every row and the schema version, all
// read in one read transaction, so a program posting meanwhile neither
// waits long nor tears the copy. Returns the journal lines copied. Throws
// DbError; a file left at `path` after a failure is the caller's to remove.
qint64 exportOpenSet(Session &session, const QString &path);

} // namespace tz
