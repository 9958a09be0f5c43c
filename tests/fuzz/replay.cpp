// Runs a fuzz target over every file of its corpus folder, so the ordinary
// build replays the corpora without libFuzzer:  tz305-fuzz-replay NAME FOLDER...
// A crash or failed check ends the process, naming the file being run.
#include <cstdio>
#include <map>
#include <string>

#include <QDir>
#include <QFile>

#include "tests/fuzz/fuzztarget.h"

namespace tz::fuzz {

namespace {

std::map<std::string, Entry> &targets()
{
    static std::map<std::string, Entry> all;
    return all;
}

} // namespace

int registerTarget(const char *name, Entry entry)
{
    targets()[name] = entry;
    return 0;
}

} // namespace tz::fuzz

int main(int argc, char **argv)
{
    const auto &targets = tz::fuzz::targets();
    const auto target = argc >= 3 ? targets.find(argv[1]) : targets.end();
    if (target == targets.end()) {
        std::fprintf(stderr, "usage: tz305-fuzz-replay TARGET FOLDER...; targets:");
        for (const auto &[name, entry] : targets)
            std::fprintf(stderr, " %s", name.c_str());
        std::fprintf(stderr, "\n");
        return 2;
    }
    int run = 0;
    for (int i = 2; i < argc; ++i) {
        const QDir folder(QString::fromLocal8Bit(argv[i]));
        for (const QString &name : folder.entryList(QDir::Files, QDir::Name)) {
            QFile file(folder.filePath(name));
            if (!file.open(QIODevice::ReadOnly)) {
                std::fprintf(stderr, "cannot read %s\n", qPrintable(file.fileName()));
                return 1;
            }
            const QByteArray bytes = file.readAll();
            std::fprintf(stderr, "%s\n", qPrintable(file.fileName()));
            target->second(reinterpret_cast<const uint8_t *>(bytes.constData()), size_t(bytes.size()));
            ++run;
        }
    }
    // An empty corpus is a failure: the test would otherwise prove nothing.
    std::printf("%s: %d inputs replayed\n", argv[1], run);
    return run > 0 ? 0 : 1;
}
