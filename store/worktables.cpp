// Emptying work tables.
#include "store/worktables.h"

#include "store/session.h"

using namespace Qt::Literals::StringLiterals;

namespace tz {

void emptyWorkTables(Session &session, std::initializer_list<QString> tables)
{
    // The setting is a small number read from the connection itself.
    const QString previous = QString::number(session.RunSql(u"PRAGMA secure_delete"_s).value(0, 0).toLongLong());
    session.execSql(u"PRAGMA secure_delete = 0"_s);
    try {
        for (const QString &table : tables)
            session.execSql(u"DELETE FROM "_s + table);
    } catch (...) {
        session.execSql(u"PRAGMA secure_delete = "_s + previous);
        throw;
    }
    session.execSql(u"PRAGMA secure_delete = "_s + previous);
}

} // namespace tz
