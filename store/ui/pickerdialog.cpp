// The base of the picker windows.
#include "store/ui/pickerdialog.h"

#include "store/dialogs.h"
#include "store/ui/messageboxdialogs.h"

namespace tz {

PickerDialog::PickerDialog(Session &session, Dialogs *dialogs, QWidget *parent)
    : QDialog(parent)
    , m_session(session)
    , m_ownDialogs(dialogs ? nullptr : std::make_unique<MessageBoxDialogs>(this))
    , m_dialogs(dialogs ? *dialogs : *m_ownDialogs)
{
}

PickerDialog::~PickerDialog() = default;

} // namespace tz
