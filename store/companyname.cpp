// The company name the workbooks and the plain journal print.
#include "store/companyname.h"

#include "store/resultset.h"
#include "store/session.h"

using namespace Qt::Literals::StringLiterals;

namespace tz {

QString storedCompanyName(Session &session)
{
    const ResultSet info = session.RunSql(u"SELECT 帐套名称 FROM 信息表 WHERE 代号 = 'TZ' LIMIT 1"_s);
    return info.eof() ? session.companyName() : info.value(0, 0).toString();
}

} // namespace tz
