// Start values of the voucher window.
#include "vouchers/entrystart.h"

#include "store/guard.h"
#include "store/session.h"

using namespace Qt::Literals::StringLiterals;

namespace tz {

OpResult ReadEntryStart(Session &session, EntryStart &start, Dialogs &dialogs)
{
    start = EntryStart();
    return guarded(dialogs, [&] {
        const ResultSet operators = session.RunSql(u"SELECT 操作员 FROM 信息表"_s);
        for (const ResultSet::Row &row : operators.rows()) {
            if (!row.at(0).isNull() && !row.at(0).toString().isEmpty())
                start.reviewers.append(row.at(0).toString());
        }
        const ResultSet latest = session.RunSql(u"SELECT MAX(月) FROM 分录表"_s);
        const int month = latest.value(0, 0).toInt();
        if (month >= 1 && month <= 12)
            start.month = month;
        return OpResult::done();
    });
}

} // namespace tz
