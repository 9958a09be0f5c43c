// Where the program's files live. The read-only resources (TZ_QSB with the
// template account set and the background picture) sit beside the
// executable in the build tree and under share/tz305 in an installed tree;
// what the program writes for itself (restored sets, the compacting scratch
// file, exported workbooks) goes to a per-user data folder. TZ305_PROGRAM_DIR
// and TZ305_DATA_DIR override both, so tests never touch a real home.
#pragma once

#include <QString>

namespace tz {

// The folder holding TZ_QSB (read-only resources).
QString programFolder();

// TZ_QSB/TZ_2XCB.RH: the empty account set every new set is copied from.
QString templatePath();

// TZ_QSB/TZ305.li: the main window's background picture.
QString backgroundPicturePath();

// The writable per-user folder (created on demand).
QString dataFolder();

} // namespace tz
