// A Dialogs that records every message and question and answers the
// questions from a script: the benchmark's unattended runs and the tests,
// which state exactly what the user saw.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include "store/dialogs.h"

namespace tz {

struct ShownMessage
{
    QString text;
    QString title;
    Icon icon = Icon::None;

    bool operator==(const ShownMessage &) const = default;
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

    QStringList steps;             // progress steps shown
    QList<ShownMessage> messages;  // in the order shown
    QList<ShownMessage> questions; // icon Question

private:
    QList<bool> m_answers;
};

} // namespace tz
