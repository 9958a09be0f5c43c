// Writes the program's icon in the desktop's icon sizes as
// OUT_DIR/<n>x<n>/apps/tz305.png, painted at each size by the same painter
// as the windows' icon and the template tool's 256-pixel PNG, so small
// sizes stay sharp rather than scaled down.
//
// Usage: tz305-mkicons OUT_DIR
#include <cstdio>

#include <QDir>
#include <QGuiApplication>

#include "store/appicon.h"

using namespace Qt::Literals::StringLiterals;

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    const QStringList args = QGuiApplication::arguments();
    if (args.size() != 2) {
        std::fprintf(stderr, "usage: tz305-mkicons OUT_DIR\n");
        return 2;
    }
    for (const int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        const QString folder = u"%1/%2x%2/apps"_s.arg(args.at(1)).arg(size);
        const QString file = folder + u"/tz305.png"_s;
        if (!QDir().mkpath(folder) || !tz::paintApplicationIcon(size).save(file, "PNG")) {
            std::fprintf(stderr, "tz305-mkicons: cannot write %s\n", qPrintable(file));
            return 1;
        }
    }
    return 0;
}
