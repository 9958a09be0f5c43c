// What the fuzz targets share: the check, the set and the input file.
#include <cstdio>
#include <cstdlib>

#include <QFile>

#include "tests/fuzz/fuzzset.h"
#include "tests/fuzz/fuzztarget.h"

using namespace Qt::Literals::StringLiterals;

namespace tz::fuzz {

void fuzzCheck(bool holds, const char *what)
{
    if (holds)
        return;
    std::fprintf(stderr, "fuzz check failed: %s\n", what);
    std::abort();
}

TemporarySet &fuzzSet()
{
    static TemporarySet set(u"模糊"_s, 2024);
    return set;
}

QString inputFile(const uint8_t *data, size_t size)
{
    const QString path = fuzzSet().folder() + u"/input"_s;
    QFile file(path);
    const bool written = file.open(QIODevice::WriteOnly | QIODevice::Truncate)
        && file.write(reinterpret_cast<const char *>(data), qint64(size)) == qint64(size);
    fuzzCheck(written, "the input file could not be written");
    file.close();
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    return path;
}

} // namespace tz::fuzz
