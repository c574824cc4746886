#!/usr/bin/env bash
# Compares the dynamic symbols that a built libzemautils.so defines with the export fragments:
# every C name listed must be defined, and nothing else may be visible. C++ names are checked
# against the demangled patterns of the fragments' extern "C++" blocks.
set -euo pipefail
lib=$1
fragments=$2

c_names=$(cat "$fragments"/*.map | sed -n '/extern "C++"/,/}/!p' |
          sed -n 's/^[[:space:]]*\([A-Za-z_][A-Za-z0-9_]*\);.*/\1/p' | sort -u)
mapfile -t cxx_patterns < <(cat "$fragments"/*.map | sed -n '/extern "C++"/,/}/p' |
          sed -n 's/^[[:space:]]*"\{0,1\}\([^";{}]*[^";{} ]\)"\{0,1\};.*/\1/p')

defined=$(nm -D --defined-only "$lib" | awk '$2 != "A" {sub(/@.*/, "", $3); print $3}' | sort -u)
status=0
declare -A pattern_used=()
for name in $c_names; do
  grep -qx "$name" <<<"$defined" || { echo "missing export: $name"; status=1; }
done
while read -r name; do
  [ -z "$name" ] && continue
  grep -qx "$name" <<<"$c_names" && continue
  pretty=$(c++filt "$name")
  ok=0
  for pattern in "${cxx_patterns[@]}"; do
    # shellcheck disable=SC2053
    [[ $pretty == $pattern ]] && { ok=1; pattern_used[$pattern]=1; break; }
  done
  [ $ok = 1 ] || { echo "unexpected export: $name ($pretty)"; status=1; }
done <<<"$defined"
for pattern in "${cxx_patterns[@]}"; do
  [ -n "${pattern_used[$pattern]:-}" ] || { echo "C++ pattern exports nothing: $pattern"; status=1; }
done
[ $status = 0 ] && echo "exports match: $(wc -w <<<"$c_names") C names"
exit $status
