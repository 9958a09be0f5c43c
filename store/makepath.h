// Folder creation for backups and account sets.
#pragma once

#include <QString>

namespace tz {

// Returns true when the folder `path` exists or could be created with all
// its missing parents. Only absolute paths are accepted: a relative path
// returns false and creates nothing.
bool MakePath(const QString &path);

} // namespace tz
