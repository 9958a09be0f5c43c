// Copying the open set.
#include "maintenance/setexport.h"

#include "store/connection.h"
#include "store/session.h"
#include "store/transaction.h"

using namespace Qt::Literals::StringLiterals;

namespace tz {

qint64 exportOpenSet(Session &session, const QString &path)
{
    // The set's connection never creates files, so the empty keyed copy is
    // made first and then attached.
    {
        Connection created;
        created.create(path);
    }
    session.OpenMainConnection();
    Connection &db = session.mainConnection();
    db.query(u"ATTACH DATABASE ? AS copy KEY ?"_s, {path, QString::fromLatin1(databasePassword())});
    qint64 lines = 0;
    try {
        Transaction snapshot(session, Transaction::Mode::Read);
        lines = session.RunSql(u"SELECT count(*) FROM 分录表"_s).value(0, 0).toLongLong();
        const int version = session.RunSql(u"PRAGMA main.user_version"_s).value(0, 0).toInt();
        db.query(u"SELECT sqlcipher_export('copy')"_s);
        db.executeScript(u"PRAGMA copy.user_version = %1"_s.arg(version));
        snapshot.commit();
    } catch (...) {
        db.query(u"DETACH DATABASE copy"_s);
        throw;
    }
    db.query(u"DETACH DATABASE copy"_s);
    return lines;
}

} // namespace tz
