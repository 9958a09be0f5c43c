// The base of a window over an account set: the set it reads and where its
// messages and questions go.
#pragma once

#include <memory>

#include "store/dialogs.h"
#include "store/ui/messageboxdialogs.h"

namespace tz {

class Session;

// `Base` is QWidget or QDialog. The window's own Q_OBJECT names it; this
// class adds no signals.
template <typename Base>
class SetWindow : public Base {
protected:
    // Messages and questions go to `dialogs` (it must outlive the window),
    // or, when it is null, to message boxes over this window.
    SetWindow(Session &session, Dialogs *dialogs, QWidget *parent)
        : Base(parent)
        , m_session(session)
        , m_ownDialogs(dialogs ? nullptr : std::make_unique<MessageBoxDialogs>(this))
        , m_dialogs(dialogs ? *dialogs : *m_ownDialogs)
    {
    }

    // The dialogs this window was given, for the windows it opens; null when
    // it speaks through its own message boxes.
    Dialogs *givenDialogs() const { return m_ownDialogs ? nullptr : &m_dialogs; }

    Session &m_session;

private:
    std::unique_ptr<Dialogs> m_ownDialogs;

protected:
    Dialogs &m_dialogs;
};

} // namespace tz
