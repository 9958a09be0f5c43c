// Progress of a long print job, with a way to cancel it. Windows show a
// progress dialog; the command line and tests pass none.
#pragma once

namespace tz {

class Progress
{
public:
    virtual ~Progress() = default;

    // `done` of `total` steps are finished; false means the user cancelled.
    virtual bool advance(int done, int total) = 0;
};

} // namespace tz
