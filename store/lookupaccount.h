// Account lookup for the account picker and the query window.
#pragma once

#include <QString>

namespace tz {

class Session;

// The values a lookup fills for its caller.
struct AccountLookup
{
    QString accountDisplay;   // code, a blank, the name path
    QString accountNamePath;  // level-1 name / ... / the account's own name
    QString accountDirection; // 借 or 贷
    QString accountUnit;
    QString accountSpec;

    bool operator==(const AccountLookup &) const = default;
};

// A code of 4, 7, 10 or 13 digits that exists fills all five values from
// the account and its ancestors; a code of that shape that does not exist
// leaves them as they were; any other code clears them.
void LookupAccount(Session &session, const QString &code, AccountLookup &values);

// True for a string of 4, 7, 10 or 13 digits (the four account levels).
bool isAccountCodeShape(const QString &code);

} // namespace tz
