// Month state of the journal.
#include "vouchers/monthstate.h"

#include "store/session.h"

using namespace Qt::Literals::StringLiterals;

namespace tz {

MonthState readMonthState(Session &session, int month)
{
    const ResultSet row = session.RunSql(u"SELECT max(号码) AS ma, max(结帐) AS jj FROM 分录表 WHERE 月 = ?"_s, {month});
    MonthState state;
    state.maxNumber = row.value(0, 0).isNull() ? 0 : row.value(0, 0).toInt();
    state.closed = !row.value(0, 1).isNull() && row.value(0, 1).toDouble() != 0;
    return state;
}

} // namespace tz
