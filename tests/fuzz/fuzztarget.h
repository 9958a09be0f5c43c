// One fuzz target: TZ_FUZZ_TARGET(name) { ... } takes the bytes of one input.
// Built with libFuzzer (the TZ305_FUZZ tree) it is LLVMFuzzerTestOneInput;
// in the ordinary build it registers with the replay driver, which runs it
// over the target's corpus. A target calls fuzzCheck for what must hold
// whatever the input; a failed check aborts, which libFuzzer reports as a
// crash with the input that caused it.
#pragma once

#include <cstddef>
#include <cstdint>

#include <QString>

namespace tz::fuzz {

using Entry = int (*)(const uint8_t *, size_t);
int registerTarget(const char *name, Entry entry);

// Aborts with `what` on stderr when `holds` is false.
void fuzzCheck(bool holds, const char *what);

// The input as text (invalid UTF-8 becomes replacement characters, as a
// file read with QString::fromUtf8 does).
inline QString inputText(const uint8_t *data, size_t size)
{
    return QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
}

} // namespace tz::fuzz

#ifdef TZ305_FUZZ_REPLAY
#define TZ_FUZZ_TARGET(name)                                                                 \
    static int fuzzOne(const uint8_t *data, size_t size);                                    \
    [[maybe_unused]] static const int registered = tz::fuzz::registerTarget(#name, fuzzOne); \
    static int fuzzOne(const uint8_t *data, size_t size)
#else
#define TZ_FUZZ_TARGET(name) extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
#endif
