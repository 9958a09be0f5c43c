#!/usr/bin/env bash
# The whole I/O fault sweep (tests/harness/faultsweep.py): every operation
# under every write, sync and full-disk fault from the first on, through the
# tz305-cli of a build configured with TZ305_FAULT_INJECTION=ON (build/ as
# scripts/build.sh makes it, or BUILD_DIR). Further arguments go to the
# sweep, e.g. --ops backup,restore --faults sync --keep.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${BUILD_DIR:-build}
if ! grep -q '^TZ305_FAULT_INJECTION:BOOL=ON' "$build/CMakeCache.txt" 2>/dev/null; then
  echo "faultsweep: $build is not configured with -DTZ305_FAULT_INJECTION=ON (bash scripts/build.sh makes it so)" >&2
  exit 2
fi
ninja -C "$build" tz305-cli
exec python3 tests/harness/faultsweep.py --cli "$build/bin/tz305-cli" "$@"
