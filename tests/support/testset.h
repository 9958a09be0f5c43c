// A fresh account set for one test (store/temporaryset.h), kept on request
// under the test's name when the test ends.
#pragma once

#include <QString>

#include "store/temporaryset.h"

namespace tz::test {

class TestSet : public TemporarySet
{
public:
    using TemporarySet::TemporarySet;
    ~TestSet();
};

// Path of the built template (from TZ305_PROGRAM_DIR).
QString builtTemplatePath();

} // namespace tz::test
