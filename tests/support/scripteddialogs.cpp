// Scripted dialogs for tests.
#include "tests/support/scripteddialogs.h"

#include <ostream>

namespace tz::test {

void ScriptedDialogs::show(const QString &text, const QString &title, Icon icon)
{
    messages.append({text, title, icon});
}

bool ScriptedDialogs::ask(const QString &text, const QString &title)
{
    questions.append({text, title, Icon::Question});
    return m_answers.isEmpty() ? false : m_answers.takeFirst();
}

void PrintTo(const Message &message, std::ostream *os)
{
    *os << "[" << message.title.toStdString() << "] " << message.text.toStdString() << " (icon "
        << int(message.icon) << ")";
}

} // namespace tz::test
