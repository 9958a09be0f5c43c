// The boundary between the core and its callers: runs an operation body,
// turns a database error into a message to the user and a failed result, so
// no exception ever reaches a window or the command line.
#pragma once

#include <functional>

#include "store/dialogs.h"
#include "store/opresult.h"

namespace tz {

// Runs body; a DbError (or any std::exception) becomes the message
// "<error text>" titled "TZ305提示" with the critical icon and a failed result.
OpResult guarded(Dialogs &dialogs, const std::function<OpResult()> &body);

// Shows `text` as a refusal with its title and icon and returns it as a
// refused result.
OpResult refuse(Dialogs &dialogs, const QString &text, const QString &title, Icon icon);

// A refusal decided inside a transaction and shown once the transaction has
// ended, so no other program waits on the write lock while the message box
// is open.
struct PendingRefusal
{
    QString text;
    QString title;
    Icon icon = Icon::None;
};
OpResult refuse(Dialogs &dialogs, const PendingRefusal &refusal);

// Shows `text` as a failure ("TZ305提示", critical icon) and returns it as a
// failed result.
OpResult fail(Dialogs &dialogs, const QString &text);

} // namespace tz
