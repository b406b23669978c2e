#!/usr/bin/env bash
# habuki from start to exit against cat on the largest texts it accepts, timed in one hyperfine
# run so that both see the same machine: the median of `habuki -f 30i -c none FILE -o /dev/null`
# in MB/s, its ratio to `cat FILE > /dev/null` (hyperfine sends cat's output to /dev/null), and
# how much slower per byte the adversarial text is than the realistic one.
#
#   bench/end-to-end.sh [RUNS] [HABUKI]   runs per command (default 40); the program to time
set -euo pipefail
cd "$(dirname "$0")/.."
runs="${1:-40}"
habuki="${2:-build/default/cli/habuki}"
. scripts/packages.sh
habuki_ensure_packages hyperfine
cmake --preset default >/dev/null
cmake --build --preset default --target habuki habuki-generate >/dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
build/default/bench/habuki-generate shaped "$work/realistic.txt"
build/default/bench/habuki-generate adversarial "$work/adversarial.txt"

hyperfine -N --warmup 5 --runs "$runs" --style none --export-csv "$work/times.csv" \
  "cat $work/realistic.txt" \
  "$habuki -f 30i -c none $work/realistic.txt -o /dev/null" \
  "$habuki -f 30i -c none $work/adversarial.txt -o /dev/null" >/dev/null

# times.csv: command,mean,stddev,median,user,system,min,max (seconds), one line per command.
awk -F, -v realistic="$(stat -c %s "$work/realistic.txt")" \
  -v adversarial="$(stat -c %s "$work/adversarial.txt")" '
  NR == 2 { cat = $4 }
  NR == 3 { thin = $4 }
  NR == 4 { worst = $4 }
  END {
    printf "cat, realistic text:      %6.2f ms\n", cat * 1000
    printf "habuki, realistic text:   %6.2f ms  %6.0f MB/s  %4.1fx cat\n",
      thin * 1000, realistic / thin / 1e6, thin / cat
    printf "habuki, adversarial text: %6.2f ms  %6.0f MB/s  %4.2fx the realistic time per byte\n",
      worst * 1000, adversarial / worst / 1e6, (worst / adversarial) / (thin / realistic)
  }' "$work/times.csv"
