// The shared key and the set passphrases given to this process.
#include "store/setkeys.h"

#include <QMutex>

#include "store/connection.h"
#include "store/dberror.h"

using namespace Qt::Literals::StringLiterals;

namespace tz {

namespace {

QMutex keyLock;
QList<QByteArray> givenKeys; // guarded by keyLock
thread_local QByteArray threadKey; // ThreadSetPassphrase's

} // namespace

QByteArray passphraseKey(const QString &passphrase)
{
    return passphrase.toUtf8();
}

void rememberSetPassphrase(const QString &passphrase)
{
    const QByteArray key = passphraseKey(passphrase);
    if (key.isEmpty() || key == databasePassword())
        return;
    const QMutexLocker locked(&keyLock);
    if (!givenKeys.contains(key))
        givenKeys.append(key);
}

QList<QByteArray> setKeys()
{
    QList<QByteArray> keys{databasePassword()};
    if (!threadKey.isEmpty() && threadKey != databasePassword())
        keys.append(threadKey);
    const QMutexLocker locked(&keyLock);
    for (const QByteArray &key : std::as_const(givenKeys)) {
        if (key != threadKey)
            keys.append(key);
    }
    return keys;
}

ThreadSetPassphrase::ThreadSetPassphrase(const QString &passphrase)
    : m_previous(threadKey)
{
    if (!passphrase.isEmpty())
        threadKey = passphraseKey(passphrase);
}

ThreadSetPassphrase::~ThreadSetPassphrase()
{
    threadKey = m_previous;
}

QString lockedSetText(const QString &path)
{
    const bool given = setKeys().size() > 1;
    return (given ? u"帐套密码不正确,无法打开: "_s : u"此帐套已加密,请输入帐套密码: "_s) + path;
}

bool needsSetPassphrase(const QString &path)
{
    try {
        Connection probe;
        probe.open(path);
    } catch (const DbError &error) {
        return error.kind() == DbError::Kind::WrongKey;
    }
    return false;
}

QString unlockAccountSet(const QString &path, const QString &passphrase)
{
    const QByteArray key = passphraseKey(passphrase);
    try {
        Connection probe;
        // The shared key given as a passphrase would try every key.
        probe.open(path, key.isEmpty() || key == databasePassword() ? QByteArrayLiteral("-") : key);
    } catch (const DbError &error) {
        if (error.kind() == DbError::Kind::WrongKey)
            return u"帐套密码不正确,无法打开: "_s + path;
        return error.message();
    }
    rememberSetPassphrase(passphrase);
    return {};
}

} // namespace tz
