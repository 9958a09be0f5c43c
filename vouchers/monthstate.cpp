// Month state of the journal.
#include "vouchers/monthstate.h"

#include "store/session.h"

using namespace Qt::Literals::StringLiterals;

namespace tz {

MonthState readMonthState(Session &session, int month)
{
    // Two index probes rather than one scan of the month: max(号码) comes
    // from the (月, 号码) index, a closed line from the index of closed lines.
    // Marks are NULL, 0, 1 or 2, so "max(结帐) is neither NULL nor 0" is "some
    // line's mark is not 0".
    const ResultSet number = session.RunSql(u"SELECT max(号码) FROM 分录表 WHERE 月 = ?"_s, {month});
    const ResultSet closed = session.RunSql(u"SELECT 1 FROM 分录表 WHERE 月 = ? AND 结帐 <> 0 LIMIT 1"_s, {month});
    MonthState state;
    state.maxNumber = number.value(0, 0).isNull() ? 0 : number.value(0, 0).toInt();
    state.closed = !closed.eof();
    return state;
}

} // namespace tz
