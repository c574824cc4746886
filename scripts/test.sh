#!/usr/bin/env bash
# The whole test suite: installs what is missing, then builds and runs every test under
# AddressSanitizer + UndefinedBehaviorSanitizer and under ThreadSanitizer, and runs every fuzz
# target for a few seconds. Ends with the test runner's summary. Exit status 0 only if all pass.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh

fuzz_seconds=${QM_FUZZ_SECONDS:-5}
status=0
run_preset() {
  local preset=$1; shift
  echo "=== $preset ==="
  cmake --preset "$preset" "$@" >/dev/null
  cmake --build --preset "$preset"
  # ThreadSanitizer needs a memory layout that some kernels' address randomisation breaks.
  local runner=()
  [ "$preset" = tsan ] && setarch "$(uname -m)" -R true 2>/dev/null && runner=(setarch "$(uname -m)" -R)
  "${runner[@]}" ctest --preset "$preset" || status=1
}

run_preset fuzz -DQM_FUZZ_SECONDS="$fuzz_seconds"
run_preset tsan
run_preset asan
exit $status
