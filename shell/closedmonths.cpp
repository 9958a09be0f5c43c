// Closed-month markers.
#include "shell/closedmonths.h"

#include "store/session.h"

using namespace Qt::Literals::StringLiterals;

namespace tz {

std::array<bool, 12> RefreshClosedMonthMarkers(Session &session)
{
    std::array<bool, 12> closed{};
    // A month is closed when some line's mark is not 0 (marks are NULL, 0, 1
    // or 2); the index of closed lines answers without reading open ones.
    const ResultSet rows = session.RunSql(u"SELECT DISTINCT 月 FROM 分录表 WHERE 结帐 <> 0"_s);
    for (int row = 0; row < rows.recordCount(); ++row) {
        const int month = rows.value(row, 0).toInt();
        if (month >= 1 && month <= 12)
            closed[month - 1] = true;
    }
    return closed;
}

} // namespace tz
