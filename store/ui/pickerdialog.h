// The base of the picker windows: the set they read and where their
// messages and questions go.
#pragma once

#include <memory>

#include <QDialog>

namespace tz {

class Dialogs;
class Session;

class PickerDialog : public QDialog {
    Q_OBJECT

public:
    ~PickerDialog() override;

protected:
    // Messages and questions go to `dialogs` (it must outlive the window),
    // or, when it is null, to message boxes over this window.
    PickerDialog(Session &session, Dialogs *dialogs, QWidget *parent);

    Session &m_session;

private:
    std::unique_ptr<Dialogs> m_ownDialogs;

protected:
    Dialogs &m_dialogs;
};

} // namespace tz
