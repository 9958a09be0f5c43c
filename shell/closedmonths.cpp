// Closed-month markers.
#include "shell/closedmonths.h"

#include "store/session.h"

using namespace Qt::Literals::StringLiterals;

namespace tz {

std::array<bool, 12> RefreshClosedMonthMarkers(Session &session)
{
    std::array<bool, 12> closed{};
    const ResultSet rows = session.RunSql(
        u"SELECT 月, max(结帐) AS jj FROM 分录表 WHERE 月 BETWEEN 1 AND 12 GROUP BY 月"_s);
    for (int row = 0; row < rows.recordCount(); ++row) {
        const int month = rows.value(row, 0).toInt();
        const QVariant jj = rows.value(row, 1);
        if (month >= 1 && month <= 12)
            closed[month - 1] = !jj.isNull() && jj.toDouble() != 0;
    }
    return closed;
}

} // namespace tz
