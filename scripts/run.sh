#!/usr/bin/env bash
# Builds Quillmark (release preset) and starts it on the emulated radio.
#
#   scripts/run.sh [--simulate[=FILE]] [--session-dir DIR] [--duration SECONDS]
#
# Installs the Debian packages the build needs, builds quillmark and quillmark-cli, then starts
# `quillmark --simulate` with the given options; --duration SECONDS ends the run after that time,
# with the session saved. The session is kept in
# ${XDG_STATE_HOME:-$HOME/.local/state}/quillmark unless the options name their own --session-dir,
# and a --simulate=FILE of the caller picks the scenario. Without a display
# ($DISPLAY or $WAYLAND_DISPLAY) it runs the same inventory in the terminal with
# `quillmark-cli scan` instead.
set -euo pipefail

# The build runs in the source tree; the programs run in the caller's directory, so relative paths
# among the options mean what the caller meant.
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/scripts/install-deps.sh"
(cd "$root" && cmake --preset release >/dev/null && cmake --build --preset release --target quillmark quillmark-cli)

# The caller's own --simulate[=FILE] and --session-dir DIR take the place of the defaults.
simulate=""
session_dir=""
duration=()
arguments=("$@")
for ((i = 0; i < ${#arguments[@]}; i++)); do
  case "${arguments[i]}" in
    --simulate | --simulate=*) simulate="${arguments[i]}" ;;
    --session-dir) session_dir="${arguments[i + 1]:-}" ;;
    --duration) duration=(--duration "${arguments[i + 1]:-}") ;;
  esac
done

defaults=()
if [ -z "$simulate" ]; then
  simulate="--simulate"
  defaults+=("$simulate")
fi
if [ -z "$session_dir" ]; then
  session_dir="${XDG_STATE_HOME:-$HOME/.local/state}/quillmark"
  defaults+=(--session-dir "$session_dir")
fi
mkdir -p "$session_dir"

bin="$root/build/release/quillmark"
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  exec "$bin/ui/quillmark" "${defaults[@]}" "$@"
fi
echo "No display (neither DISPLAY nor WAYLAND_DISPLAY is set): running the inventory in this terminal with quillmark-cli scan."
exec "$bin/cli/quillmark-cli" scan "$simulate" --session-dir "$session_dir" "${duration[@]}"
