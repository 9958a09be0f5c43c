// Choosing an account-set file and logging in to it.
#pragma once

#include <QString>
#include <QStringList>

#include "store/operation.h"

namespace tz {

// Makes `path` the chosen account set: dbPath (closing any connection to the
// previously chosen file), setShortName, and companyName from the 'TZ' row
// of 信息表; `operators` receives every non-NULL 操作员 in table order.
// A file that cannot be opened as an account set is reported and leaves
// nothing of itself behind: dbPath, setShortName and companyName are
// cleared and `operators` is emptied; a set none of the keys opens (its
// passphrase not given, or a wrong one) is refused, any other such file failed.
OpResult ChooseAccountSet(Session &session, const QString &path, QStringList &operators, Dialogs &dialogs);

// True exactly when 信息表 has a row for `operatorName` and the first such
// row's 密码 stands for `password` (passwordMatches: a hash verifies it, the
// empty text takes only the empty entry, a NULL password matches nothing;
// text as typed only in a set made before the hashes).
bool login(Session &session, const QString &operatorName, const QString &password);

// How long the login window waits after `failures` wrong passwords in a
// row before it takes the next: none, then 1, 2, 4 … seconds, at most 60.
int loginDelaySeconds(int failures);

// The login checks, in order: a chosen set, an operator, an existing file,
// two digits at the end of the name, "Y" before them, then the password.
// Each refusal is one message titled "TZ305提示". On success the login values
// operatorName, operatorPassword and fiscalYear are set. `wrongPassword`
// (when given) tells whether the refusal was the password's.
OpResult CheckLogin(Session &session, const QString &pathText, const QString &operatorName,
                    const QString &password, Dialogs &dialogs, bool *wrongPassword = nullptr);

} // namespace tz
