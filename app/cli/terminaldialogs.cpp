// Terminal messages and questions.
#include "app/cli/terminaldialogs.h"

#include <cstdio>
#include <string>

#include <unistd.h>

#include <QString>

namespace tz::cli {

void TerminalDialogs::show(const QString &text, const QString &title, Icon)
{
    std::fprintf(stderr, "[%s] %s\n", qPrintable(title), qPrintable(text));
    std::fflush(stderr);
}

void TerminalDialogs::progress(const QString &step, const QString &title)
{
    // Steps are for a person watching; a script reads only the messages.
    if (step.isEmpty() || !isatty(STDERR_FILENO))
        return;
    std::fprintf(stderr, "[%s] %s\n", qPrintable(title), qPrintable(step));
    std::fflush(stderr);
}

bool TerminalDialogs::ask(const QString &text, const QString &title)
{
    if (m_answerYes) {
        std::fprintf(stderr, "[%s] %s 是\n", qPrintable(title), qPrintable(text));
        return true;
    }
    if (!isatty(STDIN_FILENO)) {
        std::fprintf(stderr, "[%s] %s 否\n", qPrintable(title), qPrintable(text));
        return false;
    }
    std::fprintf(stderr, "[%s] %s (是/否, y/n) ", qPrintable(title), qPrintable(text));
    std::fflush(stderr);
    char buffer[64] = {};
    if (!std::fgets(buffer, sizeof buffer, stdin))
        return false;
    const QString answer = QString::fromLocal8Bit(buffer).trimmed().toLower();
    return answer == QStringLiteral("y") || answer == QStringLiteral("yes") || answer == QStringLiteral("是");
}

} // namespace tz::cli
