// A demonstration account set's books: opening balances, a year of
// realistic vouchers and the closing of months, all made through the same
// operations the windows use. The caller creates the set and logs in; the
// figures follow from the seed alone, so the same seed gives the same books.
#pragma once

#include <QtGlobal>

#include "store/operation.h"

namespace tz {

// What the demonstration books hold.
struct DemoBooksCounts
{
    int vouchers = 0;     // vouchers saved (transfer vouchers of closing not counted)
    int lines = 0;        // lines of those vouchers
    int monthsClosed = 0; // months closed, 1 up to closeThrough
};

// Fills the logged-in set of `session` (fiscal year `year`): names the
// company 示例商贸有限公司, sets and loads
// balanced opening balances (among them USD 10,000.00 on the US-dollar
// account 1002002, its foreign amount in 数量, for the revaluation), saves `vouchersPerMonth` vouchers (1 to 9999)
// in every month 1..12 with SaveVoucher, drawn from a std::mt19937 seeded
// with `seed`, then closes months 1..closeThrough (0 to 12) with reviewer
// 张三. Every question of the operations is put to `dialogs`; stops at the
// first operation that is not done and returns its result.
OpResult MakeDemoBooks(Session &session, int year, int vouchersPerMonth, quint32 seed, Dialogs &dialogs,
                       DemoBooksCounts *counts = nullptr, int closeThrough = 11);

} // namespace tz
