// Small control makers shared by the windows.
#pragma once

#include <QString>

class QKeyEvent;
class QPushButton;
class QWidget;

namespace tz {

// A push button with the control name `name`. It never becomes the dialog's
// default button, so Enter in a field does not press it.
QPushButton *commandButton(QWidget *parent, const QString &name, const QString &caption, const QString &tip = {});

// True for a typed character a code field does not take: only digits go in.
// Keys without text, control characters (backspace, Tab, Enter) and
// shortcuts pass; a pasted code is still checked by the operation.
bool isRefusedCodeKey(const QKeyEvent *key);

} // namespace tz
