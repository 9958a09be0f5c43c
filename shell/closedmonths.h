// Which months of the open account set are closed, for the main window's
// twelve month boxes.
#pragma once

#include <array>

namespace tz {

class Session;

// Element m-1 is true when month m is closed: the largest 结帐 of its
// 分录表 lines is neither NULL nor 0. A month without lines is open. One
// query for all twelve months. Throws DbError when the set cannot be read.
std::array<bool, 12> RefreshClosedMonthMarkers(Session &session);

} // namespace tz
