// Injected I/O faults for the fault sweep (tests/harness/faultsweep.py):
// built only with the CMake option TZ305_FAULT_INJECTION. At program start
// a thin SQLite file system over the default one becomes the default; when
// TZ305_FAIL_IO is "write:N", "sync:N" or "full:N", the Nth write (an I/O
// error), the Nth sync (an fsync error) or the Nth write (a full disk),
// counted over every file the process writes, fails once. SQLite's files
// (sets, rollback journals, temporary files) and the scratch files the
// program writes itself (ScratchFile) share one count. Without the
// variable everything passes straight through.
#pragma once

namespace tz::faultinjection {

// The system error number a ScratchFile write of its own must fail with
// (EIO, or ENOSPC for a full disk), 0 to write it. Counts one write.
int failWrite();

// The system error number ScratchFile::finish must fail with, 0 to pass:
// one write first for a file its writer wrote by its path (a workbook), so
// such a file meets write faults too, then one sync.
int failFinish(bool writtenByPath);

} // namespace tz::faultinjection
