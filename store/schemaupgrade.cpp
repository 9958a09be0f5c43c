// Schema upgrades at login.
#include "store/schemaupgrade.h"

#include <QDate>
#include <QDir>
#include <QFileInfo>

#include "store/changelog.h"
#include "store/connection.h"
#include "store/dberror.h"
#include "store/keptbalances.h"
#include "store/makepath.h"
#include "store/passwordhash.h"
#include "store/paths.h"
#include "store/session.h"
#include "store/setexport.h"
#include "store/transaction.h"

using namespace Qt::Literals::StringLiterals;

namespace tz {

namespace {

const QStringList kStatementTables = {u"资产表13"_s, u"资产表07"_s, u"利润表13"_s, u"利润表07"_s, u"现流表"_s};

// Copies the template's rows into every statement table of the set that
// has none (rows a user already typed are kept). The template is attached
// for the copy only.
void copyStatementRows(Session &session)
{
    for (const QString &table : kStatementTables) {
        if (session.RunSql(u"SELECT 1 FROM main."_s + table + u" LIMIT 1"_s).eof()) {
            session.execSql(u"INSERT INTO main."_s + table + u" SELECT * FROM shipped."_s + table);
        }
    }
}

const QString kClosedLinesIndexSql = u"CREATE INDEX IF NOT EXISTS 分录表_已结帐 ON 分录表 (月) WHERE 结帐 <> 0"_s;
const QString kTransferLinesIndexSql
    = u"CREATE INDEX IF NOT EXISTS 分录表_结转 ON 分录表 (科目代码, ID, 借方金额, 贷方金额) WHERE 结帐 = 2"_s;

// A copy of the set as it was before the upgrade, named as a backup of
// today with "升级前" (so the restore window offers it), never over an
// earlier file (a counter follows 升级前 then): in the backup
// folder, or beside the set when the folder is not set or cannot be made.
// Throws DbError when no copy can be made: the set is then not upgraded.
void backUpBeforeUpgrade(Session &session)
{
    const QFileInfo set(session.dbPath());
    const QString name = set.fileName();
    const qsizetype dot = name.lastIndexOf(u".Y"_s);
    const QString stem = (dot > 0 ? name.left(dot) : name) + QDate::currentDate().toString(u"yyyy-MM-dd"_s)
                         + u"升级前"_s;
    QString folder = session.RunSql(u"SELECT 备份路径 FROM 信息表 WHERE 代号 = 'TZ'"_s).value(0, 0).toString().trimmed();
    if (folder.isEmpty() || !MakePath(folder))
        folder = set.absolutePath();
    // An earlier copy of the same day is kept: this one takes the next name.
    const QString problem = writeKeptCopy(session, folder, stem, u".QSBF"_s + name.right(2));
    if (!problem.isEmpty())
        throw DbError(DbError::Kind::Statement, u"帐套需要升级,但升级前的备份没有完成,帐套没有改动: "_s + problem);
}

// The template's definitions the condition `which` picks from its schema
// (tables, then views, then what stands on them), made in the set where it
// lacks them.
void makeAsShipped(Session &session, const QString &which)
{
    const ResultSet made = session.RunSql(u"SELECT sql FROM shipped.sqlite_master WHERE ("_s + which
                                          + u") AND sql IS NOT NULL ORDER BY type <> 'table', type <> 'view'"_s);
    for (const ResultSet::Row &row : made.rows()) {
        QString sql = row.at(0).toString();
        for (const QString &kind : {u"TABLE"_s, u"VIEW"_s, u"INDEX"_s, u"TRIGGER"_s})
            sql.replace(u"CREATE "_s + kind + u" "_s, u"CREATE "_s + kind + u" IF NOT EXISTS "_s);
        session.execSql(sql);
    }
}

// The trail's tables as the template has them, then its first row.
void startChangeLog(Session &session)
{
    makeAsShipped(session, u"tbl_name IN ('操作日志', '凭证指纹')"_s);
    logAllVouchers(session, u"启用操作日志"_s);
}

// The kept balances' tables and triggers as the template has them, their
// rows summed from the journal as it stands.
void startKeptBalances(Session &session)
{
    makeAsShipped(session, u"name IN ('科目月计', '流量月计', '月计变动', '月计变动_记入', '分录表_月计_增', "
                            "'分录表_月计_删', '分录表_月计_改')"_s);
    rebuildKeptBalances(session.mainConnection());
}

} // namespace

void upgradeAccountSet(Session &session)
{
    session.OpenMainConnection();
    Connection &db = session.mainConnection();
    const int version = db.query(u"PRAGMA user_version"_s).value(0, 0).toInt();
    if (version > kSchemaVersion) {
        throw DbError(DbError::Kind::NotAnAccountSet,
                      u"此帐套由较新的程序建立(版本%1),本程序(版本%2)不能打开,请使用新版本程序"_s.arg(version).arg(
                          kSchemaVersion));
    }
    if (version == kSchemaVersion)
        return;
    try {
        db.ensureWritable();
    } catch (const DbError &error) {
        if (error.kind() == DbError::Kind::ReadOnly || error.kind() == DbError::Kind::Damaged)
            return;
        throw;
    }
    const QString shipped = templatePath();
    if (!QFileInfo(shipped).isFile())
        throw DbError(DbError::Kind::FileMissing, u"帐套需要升级,但找不到帐套模板: %1"_s.arg(shipped));
    backUpBeforeUpgrade(session);
    db.query(u"ATTACH DATABASE ? AS shipped KEY ?"_s, {shipped, QString::fromLatin1(databasePassword())});
    try {
        Transaction transaction(session);
        if (version < 2) {
            copyStatementRows(session);
            session.execSql(kClosedLinesIndexSql);
        }
        if (version < 3)
            session.execSql(kTransferLinesIndexSql);
        if (version < kPasswordHashVersion)
            hashPlainPasswords(db);
        if (version < kChangeLogVersion)
            startChangeLog(session);
        if (version < kKeptBalanceVersion)
            startKeptBalances(session);
        session.execSql(u"PRAGMA user_version = %1"_s.arg(kSchemaVersion));
        transaction.commit();
    } catch (...) {
        db.query(u"DETACH DATABASE shipped"_s);
        throw;
    }
    db.query(u"DETACH DATABASE shipped"_s);
}

} // namespace tz
