// Keys of the pick windows' lists: Enter picks the current item, as a
// double-click does, so a pick window is used without the mouse.
#pragma once

#include <functional>

class QListWidget;
class QListWidgetItem;

namespace tz {

// Makes Enter (and Return) on `list` call `pick` with its current item
// (the first when none is current); the key goes no further, so it never
// reaches a default button of the window.
void pickOnEnter(QListWidget *list, std::function<void(QListWidgetItem *)> pick);

} // namespace tz
