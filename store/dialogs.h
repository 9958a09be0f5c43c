// The one channel through which operations speak to the user: messages with
// a title and an icon, and Yes/No questions. Windows pass message boxes,
// tests a scripted recorder, the command line the terminal.
#pragma once

#include <QString>

namespace tz {

enum class Icon {
    None,
    Information,
    Exclamation,
    Critical,
    Question,
};

class Dialogs
{
public:
    virtual ~Dialogs() = default;

    // Shows a message and waits until the user has read it.
    virtual void show(const QString &text, const QString &title, Icon icon) = 0;

    // Asks a Yes/No question; true means Yes.
    virtual bool ask(const QString &text, const QString &title) = 0;
};

// The application's own title, used where a message names no other.
QString applicationTitle();

} // namespace tz
