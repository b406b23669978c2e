#!/usr/bin/env bash
# Peak memory of habuki on the largest text it accepts (99,999 records shaped like a real 30i
# backup), against the budget of eight times the file's size plus 10 MB.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset default >/dev/null
cmake --build --preset default --target habuki habuki-generate >/dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for kind in shaped adversarial; do
  build/default/bench/habuki-generate "$kind" "$work/$kind.txt"
  bytes=$(stat -c %s "$work/$kind.txt")
  peak_kb=$(/usr/bin/time -f %M build/default/cli/habuki -c none -o "$work/out.txt" \
    "$work/$kind.txt" 2>&1 >/dev/null | tail -n 1)
  budget_kb=$(( (8 * bytes + 10 * 1024 * 1024) / 1024 ))
  verdict=$([ "$peak_kb" -le "$budget_kb" ] && echo within || echo OVER)
  printf '%-12s %9d bytes  peak %6d KB  budget %6d KB  %s\n' \
    "$kind" "$bytes" "$peak_kb" "$budget_kb" "$verdict"
done
