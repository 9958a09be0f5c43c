// What the voucher window starts with: the reviewers to offer and the month
// its date opens on.
#pragma once

#include <QStringList>

#include "store/operation.h"

namespace tz {

struct EntryStart {
    QStringList reviewers; // every non-empty 操作员 of 信息表, in table order
    int month = 1; // the journal's latest month; 1 for an empty journal
};

// Reads the start values; a database failure is shown and returned.
OpResult ReadEntryStart(Session &session, EntryStart &start, Dialogs &dialogs);

} // namespace tz
