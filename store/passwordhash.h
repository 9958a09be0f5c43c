// The operators' passwords as salted one-way hashes (argon2id with
// libsodium's interactive limits). 信息表.密码 holds such a hash, the empty
// text for an operator with no password (logs in with an empty entry only)
// or NULL (logs in with nothing); a set made before the hashes holds the
// passwords as typed until its upgrade at the first login.
#pragma once

#include <QString>

namespace tz {

class Connection;

// A new salted hash of `password` ("$argon2id$…"); the empty password
// stays the empty text.
QString hashPassword(const QString &password);

// True when `stored` is a hash made by hashPassword.
bool isPasswordHash(const QString &stored);

// True when `typed` is the password `stored` (a value of 信息表.密码, not
// NULL) stands for: a hash verifies it; the empty text takes only the empty
// entry; with `plainAllowed` (a set not yet upgraded) any other text is the
// password as typed, otherwise it matches nothing.
bool passwordMatches(const QString &stored, const QString &typed, bool plainAllowed);

// Replaces every password of 信息表 still stored as typed by its hash, in
// the caller's transaction. Returns how many were replaced.
int hashPlainPasswords(Connection &db);

} // namespace tz
