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

} // namespace tz
