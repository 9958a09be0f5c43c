// The scripted dialogs of store/scripteddialogs.h under the tests' names,
// printable in failure output.
#pragma once

#include <ostream>

#include "store/scripteddialogs.h"
#include "tests/support/printers.h"

namespace tz {

// Printable form for test failure output (found by argument lookup).
void PrintTo(const ShownMessage &message, std::ostream *os);

namespace test {

using Message = ShownMessage;
using tz::ScriptedDialogs;

} // namespace test
} // namespace tz
