// The program's version strings: the main window's caption, the status
// bar's version line and the about text. major.minor come from the build's
// TZ305_VERSION ("0.1.0" gives "0.1").
#pragma once

#include <QString>

namespace tz {

// "major.minor" of the build, e.g. "0.1".
QString versionNumber();

// "TZ305(青松版)Y" + major.minor + "-" + companyName.
QString mainCaption(const QString &companyName);

// "TZ305(青松版)Y" + major.minor, two blanks and the maker's notice.
QString versionLine();

// versionLine() preceded by blanks up to 95 characters (the status bar
// scrolls it); a longer line is returned as it is.
QString paddedVersionLine();

// The about message: "系统版本:TZ305(青松版)Y" + major.minor, then a few
// lines about the program.
QString aboutText();

} // namespace tz
