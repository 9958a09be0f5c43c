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

    // Long work tells the step it is on (titled `title`) until the next
    // step; an empty step ends the showing. Windows show a progress
    // dialog, the terminal a line; by default nothing is shown.
    virtual void progress(const QString &step, const QString &title)
    {
        (void)step;
        (void)title;
    }
};

// The steps of one long piece of work; the progress shown ends with it,
// however the work ends, before its closing message.
class ProgressSteps
{
public:
    ProgressSteps(Dialogs &dialogs, QString title)
        : m_dialogs(dialogs)
        , m_title(std::move(title))
    {
    }
    ~ProgressSteps() { end(); }
    ProgressSteps(const ProgressSteps &) = delete;
    ProgressSteps &operator=(const ProgressSteps &) = delete;

    void step(const QString &text) { m_dialogs.progress(text, m_title); }
    void end() { m_dialogs.progress({}, m_title); }

private:
    Dialogs &m_dialogs;
    QString m_title;
};

// The application's own title, used where a message names no other.
QString applicationTitle();

} // namespace tz
