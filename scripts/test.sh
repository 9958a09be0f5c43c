#!/usr/bin/env bash
# Installs, builds once, and runs every test from that build, then a quick
# benchmark run to show the benchmark still works.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
cd build
ctest -j"$(nproc)" --output-on-failure --timeout 300
./bin/tz305-bench --quick
