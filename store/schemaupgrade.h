// The schema version of an account-set file (PRAGMA user_version) and the
// upgrade steps that bring a set made by an older program up to date.
#pragma once

namespace tz {

class Session;

// The version new sets are made with (template/schema.sql sets it).
inline constexpr int kSchemaVersion = 6;

// The first version whose operators' passwords are hashes (passwordhash.h).
inline constexpr int kPasswordHashVersion = 4;

// The first version with the trail of changes (changelog.h).
inline constexpr int kChangeLogVersion = 5;

// The first version with the kept balances (keptbalances.h).
inline constexpr int kKeptBalanceVersion = 6;

// Runs every step between the set's version and kSchemaVersion, all in one
// transaction that also sets the new version, so a set is upgraded wholly
// or not at all, after a verified copy of the set as it was (a backup
// named yyyy-MM-dd升级前.QSBFyy in the backup folder, or beside the set
// when there is none); no copy, no upgrade. Called at login. A set that cannot be written (read-only
// or damaged) is left as it is and still opens for reading. Steps:
//  2: the statement templates' rows, copied from the program's template
//     into the tables that have none, and the partial index 分录表_已结帐;
//  3: the partial index 分录表_结转 of the transfer lines;
//  4: every operator's password stored as typed replaced by its hash;
//  5: the trail of changes' tables, copied from the template, started
//     from the books as they stand (every voucher's digest, one row);
//  6: the kept balances' tables and the journal's triggers that keep them,
//     copied from the template, their rows summed from the journal.
// A set of a later version than this program knows is refused: "此帐套由较新
// 的程序建立(版本N),本程序(版本M)不能打开,请使用新版本程序". Throws DbError
// (that refusal, the template is missing, another program holds the set).
void upgradeAccountSet(Session &session);

} // namespace tz
