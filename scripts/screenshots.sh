#!/usr/bin/env bash
# Builds, then opens the windows offscreen on fresh account sets (logged in
# as 主管) and saves their pictures into docs/screenshots/ for the README.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
out=$PWD/docs/screenshots
mkdir -p "$out"
cd build
TZ305_SCREENSHOT_DIR=$out ctest -R '^ui\.' --output-on-failure
ls -l "$out"
