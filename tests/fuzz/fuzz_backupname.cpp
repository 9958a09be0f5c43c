// Backup file names as 帐套恢复 takes them apart (maintenance/restore.h),
// and the round trip from a short name through the backup's name back to
// the set's name.
#include <QDate>

#include "maintenance/backup.h"
#include "maintenance/restore.h"
#include "store/accountset.h"
#include "tests/fuzz/fuzztarget.h"

using namespace Qt::Literals::StringLiterals;
using tz::fuzz::fuzzCheck;

TZ_FUZZ_TARGET(backupname)
{
    const QString text = tz::fuzz::inputText(data, size);
    const QString restored = tz::restoredSetName(text);
    if (!restored.isEmpty()) {
        fuzzCheck(!restored.contains(u'/') && !restored.contains(u'\\'), "a restored name holding a folder");
        fuzzCheck(restored.right(4).startsWith(u".Y"_s), "a restored name without .Y and the year");
    }
    // Every short name a set can be made with survives its backup's name.
    const QString shortName = text.trimmed();
    if (!shortName.isEmpty() && shortName.size() <= 5 && tz::isShortNameText(shortName)) {
        const QString backup = tz::backupFileName(shortName, QDate(2024, 3, 5), 2024);
        fuzzCheck(tz::restoredSetName(backup) == shortName + u".Y24"_s, "a short name lost in its backup's name");
    }
    return 0;
}
