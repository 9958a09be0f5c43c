// The keys an account set may be encrypted with: the shared key every copy
// of the program knows (databasePassword), or a set's own passphrase
// (帐套加密), from which SQLCipher derives the key with the file's salt.
// The passphrases given to this process are remembered for it alone, so
// that everything that opens or copies a protected set (backup, restore,
// compact, carry forward, checks) opens it too.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

namespace tz {

// The key bytes of a passphrase (its UTF-8 text).
QByteArray passphraseKey(const QString &passphrase);

// Remembers `passphrase` (not the empty one) for the rest of the process.
void rememberSetPassphrase(const QString &passphrase);

// The keys a set is opened with, in the order they are tried: the shared
// key first, then this thread's passphrase (ThreadSetPassphrase), then the
// passphrases remembered, oldest first.
QList<QByteArray> setKeys();

// While it lives, `passphrase` (not the empty one) is tried on this thread
// alone: a batch worker opens its set and the copies it makes of it (the
// backup's check) with that set's passphrase, which the other workers'
// sets never try. Made and destroyed on the same thread; they nest.
class ThreadSetPassphrase
{
public:
    explicit ThreadSetPassphrase(const QString &passphrase);
    ~ThreadSetPassphrase();
    ThreadSetPassphrase(const ThreadSetPassphrase &) = delete;
    ThreadSetPassphrase &operator=(const ThreadSetPassphrase &) = delete;

private:
    QByteArray m_previous;
};

// What opening a set tells when no key tried opens it although it is an
// encrypted database: "此帐套已加密,请输入帐套密码" while no passphrase was
// given, else "帐套密码不正确,无法打开".
QString lockedSetText(const QString &path);

// True when `path` is an encrypted database that none of setKeys opens:
// the set needs its passphrase.
bool needsSetPassphrase(const QString &path);

// Opens `path` with `passphrase` alone and remembers the passphrase when
// it opens the set. Returns an empty string then, otherwise why not
// ("帐套密码不正确,无法打开: " + path for a passphrase that does not fit,
// else the opening's own message).
QString unlockAccountSet(const QString &path, const QString &passphrase);

} // namespace tz
