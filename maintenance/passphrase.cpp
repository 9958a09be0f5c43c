// Setting and removing a set's own passphrase.
#include "maintenance/passphrase.h"

#include <QFileInfo>

#include "maintenance/compact.h"
#include "store/connection.h"
#include "store/dberror.h"
#include "store/dialogs.h"
#include "store/guard.h"
#include "store/session.h"
#include "store/setkeys.h"

using namespace Qt::Literals::StringLiterals;

namespace tz {

namespace {

const QString kTitle = u"TZ305提示"_s;

// The open set rewritten under `key`; through a symbolic link the file it
// names, so the link stays a link.
OpResult rekeyOpenSet(Session &session, const QByteArray &key, Dialogs &dialogs)
{
    const QFileInfo named(session.dbPath());
    const QString path = named.isSymLink() && named.exists() ? named.canonicalFilePath() : session.dbPath();
    QString problem;
    const OpResult rewritten = guarded(dialogs, [&] {
        ProgressSteps progress(dialogs, u"帐套加密"_s);
        progress.step(u"正在加密帐套…"_s);
        session.OpenMainConnection();
        if (session.mainConnection().isReadOnly())
            throw DbError(DbError::Kind::ReadOnly, Connection::readOnlyText(session.dbPath()));
        problem = rewriteOpenSet(session, path, key, progress, u"正在检查加密后的帐套…"_s);
        return OpResult::done();
    });
    if (!rewritten.isDone())
        return rewritten;
    if (!problem.isEmpty())
        return fail(dialogs, u"帐套加密没有完成,帐套没有改动: "_s + problem);
    return OpResult::done();
}

} // namespace

bool hasSetPassphrase(Session &session)
{
    session.OpenMainConnection();
    return session.mainConnection().key() != databasePassword();
}

OpResult SetSetPassphrase(Session &session, const QString &first, const QString &second, Dialogs &dialogs)
{
    if (first.isEmpty() || second.isEmpty())
        return refuse(dialogs, u"请输入帐套密码"_s, kTitle, Icon::Exclamation);
    if (first != second)
        return refuse(dialogs, u"两次输入的帐套密码不一致"_s, kTitle, Icon::Exclamation);
    if (!dialogs.ask(QString::fromUtf16(kSetPassphraseQuestion), kTitle))
        return OpResult::refused();
    // Remembered first: the copy is checked, and the set opened again, with it.
    rememberSetPassphrase(first);
    const OpResult done = rekeyOpenSet(session, passphraseKey(first), dialogs);
    if (done.isDone())
        dialogs.show(u"帐套加密成功。请牢记帐套密码:遗失后任何人都不能打开此帐套。"_s, kTitle, Icon::Information);
    return done;
}

OpResult RemoveSetPassphrase(Session &session, Dialogs &dialogs)
{
    bool protectedSet = false;
    const OpResult read = guarded(dialogs, [&] {
        protectedSet = hasSetPassphrase(session);
        return OpResult::done();
    });
    if (!read.isDone())
        return read;
    if (!protectedSet)
        return refuse(dialogs, u"此帐套没有加密"_s, kTitle, Icon::Exclamation);
    if (!dialogs.ask(QString::fromUtf16(kRemovePassphraseQuestion), kTitle))
        return OpResult::refused();
    const OpResult done = rekeyOpenSet(session, databasePassword(), dialogs);
    if (done.isDone())
        dialogs.show(u"已取消帐套加密"_s, kTitle, Icon::Information);
    return done;
}

} // namespace tz
