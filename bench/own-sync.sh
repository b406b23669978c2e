#!/usr/bin/env bash
# One result written while another program holds a lot of data not yet on disk: habuki waits for
# its own file only, never for the other program's. Times `habuki -c none -o out.txt` of the
# real 30i backup, RUNS times each, first on a quiet file system, then right after another
# process wrote DIRTY MiB that it did not sync (`dd` without conv=fsync). Prints the medians.
#
#   bench/own-sync.sh [DIRTY] [RUNS] [HABUKI]   default 1024 MiB, 5 runs
set -euo pipefail
cd "$(dirname "$0")/.."
dirty="${1:-1024}"
runs="${2:-5}"
habuki="${3:-build/default/cli/habuki}"
if [ "$#" -lt 3 ]; then
  cmake --preset default >/dev/null
  cmake --build --preset default --target habuki >/dev/null
fi
work=$(mktemp -d --tmpdir="${BENCH_FOLDER:-$PWD/build}")  # on a disk, not a tmpfs
trap 'rm -rf "$work"' EXIT

#   median_of SECONDS...
median_of() { printf '%s\n' "$@" | sort -n | awk '{ a[NR] = $1 } END { print a[int((NR + 1) / 2)] }'; }

#   timed_write: the seconds one write of the result takes
timed_write() {
  local start end
  start=$(date +%s.%N)
  "$habuki" -c none -o "$work/out.txt" tests/data/machining-center-30i.txt
  end=$(date +%s.%N)
  awk -v start="$start" -v end="$end" 'BEGIN { print end - start }'
}

quiet=() busy=()
for _ in $(seq "$runs"); do
  sync
  quiet+=("$(timed_write)")
  dd if=/dev/zero of="$work/other" bs=1M count="$dirty" status=none
  busy+=("$(timed_write)")
  rm "$work/other"
done
printf 'one result, quiet file system:                    %6.3f s\n' "$(median_of "${quiet[@]}")"
printf 'one result, another program with %5d MiB unsynced: %6.3f s\n' "$dirty" \
  "$(median_of "${busy[@]}")"
