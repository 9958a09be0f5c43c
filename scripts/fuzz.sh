#!/usr/bin/env bash
# Fuzzes every parser target for SECONDS each:  bash scripts/fuzz.sh SECONDS [TARGET...]
# Configures build-fuzz/ with clang and TZ305_FUZZ=ON (libFuzzer, ASan, UBSan),
# builds bin/fuzz_<target> at low priority, and runs each target from its
# corpus in the repository (tests/fuzz/corpus/<target>/, only read) plus the
# inputs earlier runs found (build-fuzz/corpus/<target>/, where new ones go).
# A crash, hang, leak or sanitizer report leaves its reproducer in
# build-fuzz/findings/<target>/ and makes the script exit 1; replay one with
# build-fuzz/bin/fuzz_<target> FILE. The figures of each run are appended to
# build-fuzz/fuzz-summary.txt. Needs clang and libclang-rt-dev (scripts/setup.sh).
set -euo pipefail

SECONDS_EACH=${1:?usage: scripts/fuzz.sh SECONDS [TARGET...]}
shift
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=$ROOT/build-fuzz

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for source in "$ROOT"/tests/fuzz/fuzz_*.cpp; do
    name=$(basename "$source" .cpp)
    targets+=("${name#fuzz_}")
  done
fi

if [ ! -f "$BUILD/build.ninja" ]; then
  # -O1 and line tables only: as libFuzzer advises, and quicker to build.
  cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -gline-tables-only" \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DTZ305_FUZZ=ON
fi
# The build runs the instrumented template maker; its leaks at exit are not findings.
ASAN_OPTIONS=detect_leaks=0 nice -n 19 ninja -C "$BUILD" -j1 "${targets[@]/#/fuzz_}"

export TZ305_PROGRAM_DIR=$BUILD/bin QT_QPA_PLATFORM=offscreen
status=0
for target in "${targets[@]}"; do
  corpus=$BUILD/corpus/$target
  findings=$BUILD/findings/$target
  mkdir -p "$corpus" "$findings"
  log=$BUILD/fuzz-$target.log
  echo "fuzz: $target for ${SECONDS_EACH}s"
  # TZ305_DATA_DIR: a target's set lives in its own temporary folder; nothing else is written.
  if ! TZ305_DATA_DIR=$BUILD/data nice -n 19 "$BUILD/bin/fuzz_$target" \
      -max_total_time="$SECONDS_EACH" -timeout=20 -rss_limit_mb=4096 -max_len=4096 \
      -artifact_prefix="$findings/" -print_final_stats=1 \
      "$corpus" "$ROOT/tests/fuzz/corpus/$target" >"$log" 2>&1; then
    status=1
    echo "fuzz: $target FOUND something; see $log and $findings/"
  fi
  runs=$(awk '/stat::number_of_executed_units/ { print $NF }' "$log")
  cov=$(grep -oE 'cov: [0-9]+' "$log" | tail -n 1 || true)
  echo "$(date -u +%FT%TZ) $target ${SECONDS_EACH}s runs=${runs:-?} ${cov:-cov: ?} corpus=$(ls "$corpus" | wc -l) findings=$(ls "$findings" | wc -l)" \
    | tee -a "$BUILD/fuzz-summary.txt"
done
exit $status
