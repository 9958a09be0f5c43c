// The shape of an operation that asks before it writes: its checks run once
// before the question, so the user is asked only what can be done, and again
// inside the write transaction, where no other program can change what they
// read before the write. No message or question is open while the write
// lock is held.
#pragma once

#include <functional>
#include <optional>

#include "store/guard.h"

namespace tz {

class Session;

// Runs `check` (reads only); a refusal is shown and returned. Then `ask`
// (none: no question); No ends silently. Then, in one Transaction, `check`
// again and, when it still passes, `write`, and the commit. A refusal found
// the second time is shown after the rollback; database errors become the
// failure message of guarded().
OpResult checkAskWrite(Session &session, Dialogs &dialogs,
                       const std::function<std::optional<PendingRefusal>()> &check,
                       const std::function<bool()> &ask, const std::function<void()> &write);

} // namespace tz
