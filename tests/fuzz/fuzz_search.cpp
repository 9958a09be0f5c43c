// The account picker's search text (accounts/accountsearch.h) against the
// fuzz set's chart: every hit is a detail account that holds the text.
#include "accounts/accountsearch.h"
#include "store/scripteddialogs.h"
#include "tests/fuzz/fuzzset.h"
#include "tests/fuzz/fuzztarget.h"

using tz::fuzz::fuzzCheck;

TZ_FUZZ_TARGET(search)
{
    if (size == 0)
        return 0;
    // The first byte picks the account class, 0 to 6 (6 finds nothing).
    const int accountClass = data[0] % 7;
    const QString text = tz::fuzz::inputText(data + 1, size - 1);
    QList<tz::AccountSearchHit> hits;
    tz::ScriptedDialogs dialogs;
    const tz::OpResult found = tz::SearchAccounts(tz::fuzz::fuzzSet().session(), text, accountClass, hits, dialogs);
    fuzzCheck(found.isDone(), "a search that failed");
    fuzzCheck(dialogs.messages.isEmpty(), "a search that showed a message");
    if (text.isEmpty() || accountClass == 6)
        fuzzCheck(hits.isEmpty(), "found accounts for empty text or no class");
    return 0;
}
