// The base of a window over an account set: the set it reads and where its
// messages and questions go.
#pragma once

#include <memory>

#include "store/dialogs.h"
#include "store/ui/messageboxdialogs.h"

namespace tz {

class Session;

// Where a window's messages and questions go: the Dialogs given (it must
// outlive the window), or, when none is given, message boxes over the
// window itself. A window takes it as its one constructor's second
// argument: (session), (session, dialogs) and (session, dialogs, parent).
struct WindowDialogs
{
    WindowDialogs(Dialogs &dialogs)
        : given(&dialogs)
    {
    }
    WindowDialogs(Dialogs *dialogs = nullptr)
        : given(dialogs)
    {
    }
    Dialogs *given = nullptr;
};

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
