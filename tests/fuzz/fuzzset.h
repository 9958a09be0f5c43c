// The account set the targets that need one work on: a fresh copy of the
// built template (store/temporaryset.h), made once per process and kept
// for every input, with its files in a temporary folder.
#pragma once

#include "store/temporaryset.h"

namespace tz::fuzz {

TemporarySet &fuzzSet();

// A file in the set's folder holding exactly `size` bytes of `data`, owner
// read-write only; rewritten on every call.
QString inputFile(const uint8_t *data, size_t size);

} // namespace tz::fuzz
