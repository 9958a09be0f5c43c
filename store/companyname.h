// The company name the workbooks and the plain journal print.
#pragma once

#include <QString>

namespace tz {

class Session;

// 帐套名称 of the set's 信息表 row, else the name the session logged in
// under. Throws on a database error, so it runs inside a guarded read.
QString storedCompanyName(Session &session);

} // namespace tz
