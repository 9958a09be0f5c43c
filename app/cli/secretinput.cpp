// Secrets kept off the command line (where every user sees them in the
// process list): read from a file or typed at the terminal without echo.
#include "app/cli/cli.h"

#include <cstdio>

#include <termios.h>
#include <unistd.h>

#include <QFile>
#include <QTextStream>

namespace tz::cli {

std::optional<QString> firstLineOf(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QString line = QString::fromUtf8(file.readLine());
    while (line.endsWith(u'\n') || line.endsWith(u'\r'))
        line.chop(1);
    return line;
}

QString typedSecret(const QString &prompt)
{
    if (!isatty(STDIN_FILENO))
        return {};
    std::fprintf(stderr, "%s", qPrintable(prompt));
    std::fflush(stderr);
    termios saved {};
    const bool terminal = tcgetattr(STDIN_FILENO, &saved) == 0;
    if (terminal) {
        termios quiet = saved;
        quiet.c_lflag &= ~tcflag_t(ECHO);
        tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet);
    }
    QTextStream in(stdin);
    const QString typed = in.readLine();
    if (terminal)
        tcsetattr(STDIN_FILENO, TCSAFLUSH, &saved);
    std::fprintf(stderr, "\n");
    return typed;
}

} // namespace tz::cli
