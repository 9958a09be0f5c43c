// Salted password hashes through libsodium.
#include "store/passwordhash.h"

#include <sodium.h>

#include "store/connection.h"
#include "store/dberror.h"

using namespace Qt::Literals::StringLiterals;

namespace tz {

namespace {

const QString kPrefix = u"$argon2id$"_s;

void startSodium()
{
    // Safe to call again; only a failed start of the library returns -1.
    if (sodium_init() < 0)
        throw DbError(DbError::Kind::Statement, u"密码库无法启动"_s);
}

} // namespace

QString hashPassword(const QString &password)
{
    if (password.isEmpty())
        return {};
    startSodium();
    const QByteArray bytes = password.toUtf8();
    char out[crypto_pwhash_STRBYTES];
    if (crypto_pwhash_str_alg(out, bytes.constData(), quint64(bytes.size()), crypto_pwhash_OPSLIMIT_INTERACTIVE,
                              crypto_pwhash_MEMLIMIT_INTERACTIVE, crypto_pwhash_ALG_ARGON2ID13)
        != 0)
        throw DbError(DbError::Kind::Statement, u"内存不足,无法保存密码"_s);
    return QString::fromLatin1(out);
}

bool isPasswordHash(const QString &stored)
{
    return stored.startsWith(kPrefix);
}

bool passwordMatches(const QString &stored, const QString &typed, bool plainAllowed)
{
    if (stored.isEmpty())
        return typed.isEmpty();
    if (isPasswordHash(stored)) {
        startSodium();
        const QByteArray hash = stored.toLatin1();
        const QByteArray bytes = typed.toUtf8();
        return crypto_pwhash_str_verify(hash.constData(), bytes.constData(), quint64(bytes.size())) == 0;
    }
    return plainAllowed && stored == typed;
}

int hashPlainPasswords(Connection &db)
{
    const ResultSet rows = db.query(u"SELECT rowid, 密码 FROM 信息表 WHERE 密码 IS NOT NULL AND 密码 <> ''"_s);
    int replaced = 0;
    for (const ResultSet::Row &row : rows.rows()) {
        const QString stored = row.at(1).toString();
        if (isPasswordHash(stored))
            continue;
        db.execute(u"UPDATE 信息表 SET 密码 = ? WHERE rowid = ?"_s, {hashPassword(stored), row.at(0)});
        ++replaced;
    }
    return replaced;
}

} // namespace tz
