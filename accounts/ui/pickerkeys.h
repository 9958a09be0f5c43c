// Keys of the pick windows' lists: Enter picks the current item, as a
// double-click does, and Enter in a search box takes its only hit, so a
// pick window is used without the mouse.
#pragma once

#include <functional>

class QLineEdit;
class QEvent;
class QListWidget;
class QListWidgetItem;

namespace tz {

// True for a press of Enter or Return.
bool isEnterKey(const QEvent *event);

// Makes Enter (and Return) on `list` call `pick` with its current item
// (the first when none is current); the key goes no further, so it never
// reaches a default button of the window.
void pickOnEnter(QListWidget *list, std::function<void(QListWidgetItem *)> pick);

// Makes Enter (and Return) in the search box `box` call `pick` with the
// only item of its hit list `list`; with several hits it moves into the
// list at the first, where Enter picks. The key goes no further.
void pickSingleOnEnter(QLineEdit *box, QListWidget *list, std::function<void(QListWidgetItem *)> pick);

} // namespace tz
