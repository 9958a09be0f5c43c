#!/usr/bin/env bash
# Builds every program and test with AddressSanitizer and UndefinedBehaviorSanitizer
# into build-asan/ and runs the whole test suite there:  bash scripts/sanitize.sh
# Any report fails its test: UBSan reports are fatal (-fno-sanitize-recover),
# ASan's are by nature, and LeakSanitizer's end the process with an error.
# The only reports let through are those inside third-party libraries, listed
# with their reasons in scripts/sanitize-lsan.supp. Builds at low priority,
# one job (the machine is shared); a full build takes 20+ minutes of CPU.
set -euo pipefail

ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=$ROOT/build-asan
FLAGS="-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer"

if [ ! -f "$BUILD/build.ninja" ]; then
  cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_FLAGS="$FLAGS" -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined"
fi

# The same options for the programs the build runs (the template maker, the
# tests' discovery) and for the tests and the programs they start.
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0:strict_string_checks=1:detect_stack_use_after_return=1:check_initialization_order=1
export LSAN_OPTIONS=suppressions=$ROOT/scripts/sanitize-lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

nice -n 19 ninja -C "$BUILD" -j1
nice -n 19 ctest --test-dir "$BUILD" --output-on-failure --timeout 1800 "$@"
