// A Dialogs that records every message and question and answers questions
// from a script, so a test states exactly what the user saw.
#pragma once

#include <QList>
#include <QString>

#include "store/dialogs.h"
#include "tests/support/printers.h"

namespace tz::test {

struct Message
{
    QString text;
    QString title;
    Icon icon = Icon::None;

    bool operator==(const Message &) const = default;
};

class ScriptedDialogs : public Dialogs
{
public:
    // Answers given to the questions, in order; a question beyond them is answered No.
    explicit ScriptedDialogs(QList<bool> answers = {})
        : m_answers(std::move(answers))
    {
    }

    void show(const QString &text, const QString &title, Icon icon) override;
    bool ask(const QString &text, const QString &title) override;
    void progress(const QString &step, const QString &) override
    {
        if (!step.isEmpty())
            steps.append(step);
    }

    QStringList steps;        // progress steps shown
    QList<Message> messages;  // in the order shown
    QList<Message> questions; // icon Question

private:
    QList<bool> m_answers;
};

// Printable form for test failure output.
void PrintTo(const Message &message, std::ostream *os);

} // namespace tz::test
