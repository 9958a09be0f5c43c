// Scripted dialogs: messages recorded, questions answered from a list.
#include "store/scripteddialogs.h"

namespace tz {

void ScriptedDialogs::show(const QString &text, const QString &title, Icon icon)
{
    messages.append({text, title, icon});
}

bool ScriptedDialogs::ask(const QString &text, const QString &title)
{
    questions.append({text, title, Icon::Question});
    return m_answers.isEmpty() ? false : m_answers.takeFirst();
}

} // namespace tz
