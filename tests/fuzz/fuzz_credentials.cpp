// The batch month end's credentials file (batch/monthend.h readCredentials),
// written owner-only so the permission check passes and the lines are read.
#include "batch/monthend.h"
#include "tests/fuzz/fuzzset.h"
#include "tests/fuzz/fuzztarget.h"

using tz::fuzz::fuzzCheck;

TZ_FUZZ_TARGET(credentials)
{
    QList<tz::SetCredential> credentials;
    const tz::OpResult read = tz::readCredentials(tz::fuzz::inputFile(data, size), credentials);
    for (const tz::SetCredential &c : credentials)
        fuzzCheck(!c.set.isEmpty() && !c.operatorName.isEmpty(), "a credential without set or operator");
    if (!read.isDone())
        fuzzCheck(!read.message.isEmpty(), "a refused file without a reason");
    return 0;
}
