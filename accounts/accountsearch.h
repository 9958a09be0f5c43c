// The account picker's search: the detail accounts whose name, pinyin
// initials or code contain what the user typed.
#pragma once

#include <QList>
#include <QString>

#include "store/operation.h"

namespace tz {

struct AccountSearchHit

{
    QString code;     // 科目代码
    QString fullName; // 科目全称

    // The list item: the code, one blank, the full name.
    QString itemText() const;

    bool operator==(const AccountSearchHit &) const = default;
};

// The detail accounts (明细 = 'Y') whose 科目名称, 拼音 or 科目代码 contains
// `text`, in code order, restricted to one account class (1 to 5) or all
// classes for 0 (any other class finds nothing). Letters match without
// regard to case, so "yszk" finds the initials YSZK. The text is a bound
// value matched literally: '%', '_' and '\\' typed in it are ordinary
// characters (a name holding "50%" is found by "50%", and "_" alone finds
// only names with an underscore). Empty text finds nothing, and the picker
// hides its list.
OpResult SearchAccounts(
    Session &session, const QString &text, int accountClass, QList<AccountSearchHit> &hits, Dialogs &dialogs);

} // namespace tz
