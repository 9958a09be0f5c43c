// Messages and questions of the command line: messages go to stderr as
// "[title] text"; questions are answered Yes by --yes, asked at the
// terminal when stdin is one, and answered No otherwise.
#pragma once

#include "store/dialogs.h"

namespace tz::cli {

class TerminalDialogs : public Dialogs
{
public:
    explicit TerminalDialogs(bool answerYes)
        : m_answerYes(answerYes)
    {
    }

    void show(const QString &text, const QString &title, Icon icon) override;
    bool ask(const QString &text, const QString &title) override;
    void progress(const QString &step, const QString &title) override;

private:
    bool m_answerYes;
};

} // namespace tz::cli
