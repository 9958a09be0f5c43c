// Small control makers shared by the windows.
#pragma once

#include <functional>
#include <memory>

#include <QString>

#include "store/operation.h"
#include "store/ui/setwindow.h"

class QDialog;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QAbstractItemModel;
class QBoxLayout;
class QPushButton;
class QTableView;
class QWidget;

namespace tz {

// Shrinks `window` to the screen it opens on where it would stick out.
void fitWithinScreen(QWidget *window, const QWidget *parent);

// A modal window of type Window over `session`: it speaks through `dialogs`
// when given (the caller's, so tests see every message), otherwise through
// message boxes of its own.
template<typename Window>
std::unique_ptr<Window> makeModalWindow(Session &session, Dialogs *dialogs, QWidget *parent)
{
    auto window = std::make_unique<Window>(session, WindowDialogs(dialogs), parent);
    fitWithinScreen(window.get(), parent);
    return window;
}

// A push button with the control name `name`. It never becomes the dialog's
// default button, so Enter in a field does not press it.
QPushButton *commandButton(QWidget *parent, const QString &name, const QString &caption, const QString &tip = {});

// A command button of `parent` added at the end of `row`; a click calls
// `onClick` while `parent` lives.
QPushButton *addCommandButton(QBoxLayout *row, QWidget *parent, const QString &name, const QString &caption,
                              const std::function<void()> &onClick, const QString &tip = {});

// The same, a click calling the slot `slot` of `window`.
template<typename Window>
QPushButton *addCommandButton(QBoxLayout *row, Window *window, const QString &name, const QString &caption,
                              void (Window::*slot)(), const QString &tip = {})
{
    return addCommandButton(row, window, name, caption, [window, slot] { (window->*slot)(); }, tip);
}

// The dialog's close button `name`, at least 90 pixels wide; a click
// rejects `dialog`.
QPushButton *closeButton(QDialog *dialog, const QString &name, const QString &caption);

// The underlined blue label Label1 that opens a window's help: a left click
// calls `onClick`.
// A caption right-aligned before its field, which it names as its buddy.
QLabel *fieldLabel(const QString &text, QWidget *buddy);

QLabel *helpLink(QWidget *parent, const QString &caption, const QString &tip, std::function<void()> onClick);

// True for a typed character a code field does not take: only digits go in.
// Keys without text, control characters (backspace, Tab, Enter) and
// shortcuts pass; a pasted code is still checked by the operation.
bool isRefusedCodeKey(const QKeyEvent *key);

// Pixels for a grid column the books' forms give in twips (15 per pixel),
// widened for today's fonts; 0 stays 0 (a hidden column).
int gridColumnPixels(int twips);

// Sets up a read-only result grid over `model` as every query window shows
// one: whole rows selected, no row header, lilac column headers, no wrap;
// one notch of the wheel is left to the window's own rule.
void setUpResultGrid(QTableView *grid, QAbstractItemModel *model);

// The style of the lilac column headers of the books' grids.
QString gridHeaderStyle();

// True when every character of `typed`, entered one after another in place
// of the selection of `field`, passes NumericKeyFilter: the amount fields'
// rule for typed keys and input-method text alike.
bool passesNumericFilter(const QLineEdit *field, const QString &typed);

} // namespace tz
