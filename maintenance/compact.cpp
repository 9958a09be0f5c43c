// Compacting and repairing the open set.
#include "maintenance/compact.h"

#include <QFile>
#include <QFileInfo>

#include "maintenance/salvage.h"
#include "store/setexport.h"
#include "store/connection.h"
#include "store/dberror.h"
#include "store/dialogs.h"
#include "store/guard.h"
#include "store/safefile.h"
#include "store/session.h"

using namespace Qt::Literals::StringLiterals;

namespace tz {

namespace {

const QString kTitle = u"TZ305提示 "_s; // with its trailing blank

// What the integrity check finds wrong with the set (empty when sound);
// a page that does not even decrypt counts as damage too, and so does a
// check that cannot finish (SQLite stops it with a plain error when an
// index page does not decrypt). Only another program's lock is no damage.
QString integrityProblems(Session &session)
{
    try {
        const ResultSet rows = session.RunSql(u"PRAGMA integrity_check(20)"_s);
        QStringList found;
        for (const ResultSet::Row &row : rows.rows()) {
            if (row.at(0).toString() != u"ok"_s)
                found.append(row.at(0).toString());
        }
        return found.join(u'\n');
    } catch (const DbError &error) {
        if (error.kind() == DbError::Kind::Busy)
            throw;
        return error.kind() == DbError::Kind::Damaged ? error.message() : u"有页面无法读出,检查没有完成"_s;
    }
}

// Every table's row count, to compare the compacted copy with the set.
QList<std::pair<QString, qint64>> tableCounts(Connection &db)
{
    QList<std::pair<QString, qint64>> counts;
    const ResultSet tables = db.query(u"SELECT name FROM sqlite_master WHERE type = 'table' ORDER BY name"_s);
    for (const ResultSet::Row &row : tables.rows()) {
        const QString name = row.at(0).toString();
        counts.append({name, db.query(u"SELECT count(*) FROM "_s + quotedIdentifier(name)).value(0, 0).toLongLong()});
    }
    return counts;
}

// Asks the salvage question and salvages on Yes; the open set's
// connection (if any) is closed only then.
OpResult salvageAfterQuestion(const QString &path, Session *session, Dialogs &dialogs, const QString &problems,
                              QString *written)
{
    const QString target = salvageTargetFor(path);
    if (!dialogs.ask(u"帐套文件已损坏: "_s + problems + u"\n\n是否把能读出的数据抢救到新帐套文件 "_s + target
                         + u"? 原帐套文件不会改动。"_s,
                     kTitle))
        return OpResult::refused();
    if (session)
        session->CloseMainConnection();
    QList<SalvagedTable> report;
    QString problem;
    {
        ProgressSteps progress(dialogs, u"压缩修复数据库"_s);
        progress.step(u"正在抢救能读出的数据…"_s);
        problem = salvageAccountSet(path, target, report);
    }
    if (!problem.isEmpty())
        return fail(dialogs, u"抢救没有完成: "_s + problem);
    if (written)
        *written = target;
    dialogs.show(u"已把能读出的数据抢救到新帐套: "_s + target + u"\n\n"_s + salvageReportLines(report).join(u'\n')
                     + u"\n\n原帐套文件没有改动。请登录新帐套,核对凭证和余额后再使用。"_s,
                 u"TZ305提示"_s, Icon::Exclamation);
    return OpResult::done();
}

} // namespace

QString rewriteOpenSet(Session &session, const QString &path, const QByteArray &key, ProgressSteps &progress,
                       const QString &checkStep)
{
    session.OpenMainConnection();
    // The write lock of a second connection holds every other writer
    // off from the copy until the copy has the set's name; writers
    // waiting meanwhile then find the new file (see Connection::begin).
    Connection holder;
    holder.open(path, session.mainConnection().key());
    holder.executeScript(u"BEGIN IMMEDIATE"_s);
    removeStaleScratch(path);
    const QString scratch = scratchPathFor(path);
    QString problem;
    try {
        const qint64 lines = exportOpenSet(session, scratch, key);
        progress.step(checkStep);
        problem = verifyCopy(scratch, lines);
        if (problem.isEmpty()) {
            Connection copy;
            copy.open(scratch, key);
            // The counts read each table once.
            useSmallCache(copy);
            useSmallCache(holder);
            if (tableCounts(copy) != tableCounts(holder))
                problem = u"重写后的帐套与原帐套的记录数不符"_s;
        }
        if (problem.isEmpty()) {
            QFile::setPermissions(scratch, QFileInfo(path).permissions());
            problem = installScratch(scratch, path, true);
        } else {
            QFile::remove(scratch);
        }
    } catch (...) {
        QFile::remove(scratch);
        throw;
    }
    holder.close();
    session.CloseMainConnection();
    return problem;
}

OpResult OfferSalvage(const QString &path, Dialogs &dialogs, QString *written)
{
    if (!isDamagedAccountSet(path))
        return OpResult::refused();
    return salvageAfterQuestion(path, nullptr, dialogs, u"不能登录"_s, written);
}

OpResult CompactAccountSet(Session &session, Dialogs &dialogs, QString *written)
{
    if (!dialogs.ask(u"压缩和修复数据库可以让系统轻装上阵,为了数据安全,压缩前一定要先做数据备份!请问你数据已经备份了吗?? "_s,
                     kTitle)
        || !dialogs.ask(u"你确定要压缩和修复当前数据库吗? 请一定要先做数据备份! "_s, kTitle))
        return OpResult::refused();

    // Through a symbolic link the file it names is compacted (the scratch
    // file beside it, renamed over it), so the link stays a link.
    const QFileInfo named(session.dbPath());
    const QString path = named.isSymLink() && named.exists() ? named.canonicalFilePath() : session.dbPath();
    QString damage;
    QString problem;
    const OpResult compacted = guarded(dialogs, [&] {
        ProgressSteps progress(dialogs, u"压缩修复数据库"_s);
        progress.step(u"正在检查帐套…"_s);
        try {
            session.OpenMainConnection();
        } catch (const DbError &error) {
            // A set whose schema does not read opens for nothing but salvage.
            if (error.kind() == DbError::Kind::Busy || !isDamagedAccountSet(path))
                throw;
            damage = u"帐套的结构(表的定义)无法读出"_s;
            return OpResult::done();
        }
        if (session.mainConnection().isReadOnly())
            throw DbError(DbError::Kind::ReadOnly, Connection::readOnlyText(session.dbPath()));
        damage = integrityProblems(session);
        if (!damage.isEmpty())
            return OpResult::done();

        progress.step(u"正在压缩帐套…"_s);
        problem = rewriteOpenSet(session, path, session.mainConnection().key(), progress, u"正在检查压缩后的帐套…"_s);
        return OpResult::done();
    });
    if (!compacted.isDone())
        return compacted;
    if (!damage.isEmpty())
        return salvageAfterQuestion(session.dbPath(), &session, dialogs, damage, written);
    if (!problem.isEmpty())
        return fail(dialogs, u"压缩没有完成,帐套没有改动: "_s + problem);
    if (written)
        *written = session.dbPath();
    dialogs.show(u"数据库压缩修复成功"_s, applicationTitle(), Icon::None);
    return OpResult::done();
}

} // namespace tz
