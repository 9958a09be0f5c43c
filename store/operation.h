// What every operation's header needs: the outcome it returns and the two
// things it is handed, the open set (Session) and the user (Dialogs).
#pragma once

#include "store/opresult.h"

namespace tz {

class Dialogs;
class Session;

} // namespace tz
