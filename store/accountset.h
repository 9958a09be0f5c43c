// Account-set files: their names, and creating a new set from the template.
#pragma once

#include <QString>

#include "store/opresult.h"

namespace tz {

class Dialogs;

// The file name of a set: short name, ".Y", the last two digits of the year.
QString accountSetFileName(const QString &shortName, const QString &yearText);

// The short name of a set file: its name without folder and without the
// last four characters (".Y24").
QString shortNameOfSetFile(const QString &path);

// The fiscal year of a set file, from the two digits its name ends in
// (".Y24" is 2024).
int fiscalYearOfSetFile(const QString &path);

// True when every character of `name` may stand in a short name, which
// becomes a file name and is shown in messages and on pages: no folder
// separator ("/", "\\"), no leading ".", no control or format character
// (line breaks, tabs, the invisible direction marks such as U+202E), no line
// or paragraph separator and no character left from undecodable bytes.
bool isShortNameText(const QString &name);

// Creates a new account set in `folder` as a copy of the template.
// Checks, in order: a short name (trimmed) of 1 to 5 characters that pass
// isShortNameText; an absolute folder; a year of 2015 to 2099; no set of the same
// name and year in the folder. Creates a missing folder. The copy is written
// to a temporary file, verified to open with the key, then renamed, so a
// failed creation leaves nothing behind and is reported, never followed by
// the success message. On success `createdPath` receives the new file.
OpResult CreateAccountSet(const QString &shortNameText, const QString &yearText, const QString &folder,
                          Dialogs &dialogs, QString *createdPath = nullptr);

} // namespace tz
