#!/usr/bin/env bash
# A fleet thinned into a folder against copying it there, timed in one hyperfine run so that
# both see the same machine: COPIES copies of the real 30i backup, `cp in/* out/ && sync` against
# `habuki -c none --output-dir out2 in/*`, whose results are each on disk before they replace
# their targets. Prints both medians and their ratio.
#
#   bench/fleet-write.sh [COPIES] [RUNS] [HABUKI]   default 2000 copies, 10 runs each
set -euo pipefail
cd "$(dirname "$0")/.."
copies="${1:-2000}"
runs="${2:-10}"
habuki="${3:-build/default/cli/habuki}"
. scripts/packages.sh
habuki_ensure_packages hyperfine
if [ "$#" -lt 3 ]; then
  cmake --preset default >/dev/null
  cmake --build --preset default --target habuki >/dev/null
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/in" "$work/out" "$work/out2"
for i in $(seq -w 1 "$copies"); do
  cp tests/data/machining-center-30i.txt "$work/in/m$i.txt"
done
sync

# Each run starts from empty folders, so that both write new files every time.
hyperfine -N --warmup 1 --runs "$runs" --style none --export-csv "$work/times.csv" \
  --prepare "bash -c 'rm -f $work/out/* $work/out2/*; sync'" \
  "bash -c 'cp $work/in/* $work/out/ && sync'" \
  "bash -c '$habuki -c none --output-dir $work/out2 $work/in/*'" >/dev/null

# times.csv: command,mean,stddev,median,user,system,min,max (seconds), one line per command.
awk -F, -v copies="$copies" '
  NR == 2 { copy = $4 }
  NR == 3 { thin = $4 }
  END {
    printf "cp && sync, %d copies:        %7.2f s\n", copies, copy
    printf "habuki --output-dir, %d copies: %7.2f s  %4.2fx cp && sync\n", copies, thin, thin / copy
  }' "$work/times.csv"
