#!/usr/bin/env bash
# Installs every Debian 12 package that building, testing, benchmarking and fuzzing the project
# needs. Idempotent; run as root (or with sudo available). Packages already present are skipped.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config git
  clang libclang-rt-14-dev
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  nlohmann-json3-dev ieee-data libsqlite3-dev
  qt6-base-dev qt6-svg-dev libcanberra-dev libjpeg62-turbo-dev
  binutils locales
)

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update
"${sudo_cmd[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
