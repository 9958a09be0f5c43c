// Check, ask, check again and write under the lock.
#include "store/checkedwrite.h"

#include "store/session.h"
#include "store/transaction.h"

namespace tz {

OpResult checkAskWrite(Session &session, Dialogs &dialogs,
                       const std::function<std::optional<PendingRefusal>()> &check,
                       const std::function<bool()> &ask, const std::function<void()> &write)
{
    std::optional<PendingRefusal> refusal;
    const OpResult checked = guarded(dialogs, [&] {
        refusal = check();
        return OpResult::done();
    });
    if (!checked.isDone())
        return checked;
    if (refusal)
        return refuse(dialogs, *refusal);
    if (ask && !ask())
        return OpResult::refused();

    const OpResult written = guarded(dialogs, [&] {
        Transaction transaction(session);
        refusal = check();
        if (refusal)
            return OpResult::refused();
        write();
        transaction.commit();
        return OpResult::done();
    });
    if (refusal)
        return refuse(dialogs, *refusal);
    return written;
}

} // namespace tz
