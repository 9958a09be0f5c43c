// What the posting checks read about a month of the journal: its largest
// voucher number and whether it is closed.
#pragma once

namespace tz {

class Session;

struct MonthState
{
    int maxNumber = 0;   // max(号码) of the month's lines; 0 when it has none
    bool closed = false; // max(结帐) of the month's lines is neither NULL nor 0

    bool operator==(const MonthState &) const = default;
};

// One query over 分录表 for `month`. Throws DbError when the set cannot be read.
MonthState readMonthState(Session &session, int month);

} // namespace tz
