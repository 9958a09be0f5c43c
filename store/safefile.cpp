// Write-verify-rename of whole files.
#include "store/safefile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include <fcntl.h>
#include <unistd.h>

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include "store/connection.h"
#include "store/dberror.h"

using namespace Qt::Literals::StringLiterals;

namespace tz {

namespace {

QString systemError()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

} // namespace

QString scratchPathFor(const QString &target)
{
    const QFileInfo info(target);
    return info.absolutePath() + u"/.tz305-"_s + info.fileName() + u'-'
           + QString::number(QRandomGenerator::global()->generate64(), 36) + u".tmp"_s;
}

QString copyToScratch(const QString &source, const QString &scratch)
{
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        return u"无法读取文件 %1: %2"_s.arg(source, in.errorString());
    QFile out(scratch);
    if (!out.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        return u"无法写入文件 %1: %2"_s.arg(scratch, out.errorString());
    QByteArray chunk;
    qint64 copied = 0;
    while (!(chunk = in.read(1 << 20)).isEmpty()) {
        if (out.write(chunk) != chunk.size()) {
            const QString why = out.errorString();
            out.close();
            QFile::remove(scratch);
            return u"写入文件失败 %1: %2"_s.arg(scratch, why);
        }
        copied += chunk.size();
    }
    const bool complete = copied == in.size() && in.error() == QFile::NoError && out.flush()
                          && ::fsync(out.handle()) == 0;
    out.close();
    if (!complete) {
        QFile::remove(scratch);
        return u"复制文件不完整: %1"_s.arg(source);
    }
    return {};
}

QString verifyAccountSet(const QString &path)
{
    try {
        Connection check;
        check.open(path);
        const ResultSet result = check.query(u"PRAGMA quick_check"_s);
        if (result.recordCount() != 1 || result.value(0, 0).toString() != u"ok"_s)
            return u"帐套文件已损坏: %1"_s.arg(path);
    } catch (const DbError &error) {
        return error.message();
    }
    return {};
}

QString installScratch(const QString &scratch, const QString &target, bool replace)
{
    const QByteArray from = QFile::encodeName(scratch);
    const QByteArray to = QFile::encodeName(target);
    if (replace) {
        if (::rename(from.constData(), to.constData()) != 0) {
            const QString why = systemError();
            QFile::remove(scratch);
            return u"无法替换文件 %1: %2"_s.arg(target, why);
        }
        return {};
    }
    // link() refuses an existing target, so nothing made meanwhile is overwritten.
    if (::link(from.constData(), to.constData()) != 0) {
        const QString why = systemError();
        QFile::remove(scratch);
        return u"无法建立文件 %1: %2"_s.arg(target, why);
    }
    QFile::remove(scratch);
    return {};
}

} // namespace tz
