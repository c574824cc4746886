#!/usr/bin/env bash
# What a new user meets first, checked: the release preset builds whole (programs, tests,
# benchmarks), the README's run command runs a bounded inventory without a display and leaves a
# session file with devices in it and their history beside it, and every benchmark program runs
# once at its smallest setting.
# Exit status 0 only if all of that holds.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"

scripts/install-deps.sh
echo "=== release build ==="
cmake --preset release >/dev/null
cmake --build --preset release

echo "=== scripts/run.sh --duration 20, without a display ==="
session_dir="$(mktemp -d)"
trap 'rm -rf "$session_dir"' EXIT
env -u DISPLAY -u WAYLAND_DISPLAY scripts/run.sh --duration 20 --session-dir "$session_dir"
check="$(build/release/quillmark/cli/quillmark-cli session check --session-dir "$session_dir")"
echo "$check"
case "$check" in
  devices=0\ * | "") echo "the run left no devices in its session file" >&2; exit 1 ;;
  devices=*) ;;
  *) echo "the run left no readable session file" >&2; exit 1 ;;
esac
summary="$(build/release/quillmark/cli/quillmark-cli history --summary --format csv --session-dir "$session_dir")"
echo "$summary" | head -3
[ "$(echo "$summary" | wc -l)" -ge 2 ] || { echo "the run left no history beside its session" >&2; exit 1; }

echo "=== benchmarks, once each ==="
for bench in build/release/bench/*_bench; do
  echo "--- ${bench##*/}"
  case "${bench##*/}" in
    ui_*) "$bench" --smoke ;;
    history_*) "$bench" --days 1 ;;
    *) "$bench" --benchmark_min_time=0 ;;
  esac
done
