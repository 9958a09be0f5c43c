// Choosing an account-set file and logging in to it.
#pragma once

#include <QString>
#include <QStringList>

#include "store/opresult.h"

namespace tz {

class Dialogs;
class Session;

// Makes `path` the chosen account set: dbPath (closing any connection to the
// previously chosen file), setShortName, and companyName from the 'TZ' row
// of 信息表; `operators` receives every non-NULL 操作员 in table order.
// A file that cannot be opened as an account set is reported and leaves
// nothing of itself behind: dbPath, setShortName and companyName are
// cleared and `operators` is emptied.
OpResult ChooseAccountSet(Session &session, const QString &path, QStringList &operators, Dialogs &dialogs);

// True exactly when 信息表 has a row for `operatorName` and the first such
// row's 密码 equals `password` (a NULL password matches nothing).
bool login(Session &session, const QString &operatorName, const QString &password);

// The login checks, in order: a chosen set, an operator, an existing file,
// two digits at the end of the name, "Y" before them, then the password.
// Each refusal is one message titled "TZ305提示". On success the login values
// operatorName, operatorPassword and fiscalYear are set.
OpResult CheckLogin(Session &session, const QString &pathText, const QString &operatorName,
                    const QString &password, Dialogs &dialogs);

} // namespace tz
