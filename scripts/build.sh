#!/usr/bin/env bash
# Installs what is missing, then configures and builds everything into build/.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
# With I/O fault injection (inert unless TZ305_FAIL_IO is set), so the tests
# include a short fault sweep without a second build; scripts/package.sh
# turns it off again for the package.
if ! grep -qs '^TZ305_FAULT_INJECTION:BOOL=ON' build/CMakeCache.txt || [ ! -f build/build.ninja ]; then
  cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTZ305_FAULT_INJECTION=ON >/dev/null
fi
ninja -C build
