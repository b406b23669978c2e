#!/usr/bin/env bash
# Ctrl-C (which wine gives a console program for SIGINT) while habuki.exe writes a fleet of
# results: at whatever moment it comes, no temporary file may be left behind, and a run it ends
# says so with status 130, never 0. The runs are interrupted at moments spread over the whole write.
#   check-interrupt.sh WINE HABUKI_EXE BACKUP
set -uo pipefail
wine=$1 exe=$2 backup=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/in"
for i in $(seq 1 250); do cp "$backup" "$work/in/f$i.txt"; done
cd "$work"
interrupted=0
for delay in 0.6 0.7 0.8 0.9 1.0 1.1 1.2 1.4 1.6; do
  rm -rf out && mkdir out
  WINEDEBUG=-all "$wine" "$exe" --output-dir out in/*.txt 2>/dev/null &
  pid=$!
  sleep "$delay"
  kill -INT "$pid" 2>/dev/null
  wait "$pid"
  status=$?
  left=$(find out -name '.habuki-*' | wc -l)
  echo "interrupted after ${delay}s: status $status, $(ls out | wc -l) results, $left temporaries"
  [ "$left" -eq 0 ] || { echo "FAIL: temporaries left behind" >&2; exit 1; }
  [ "$status" -eq 0 ] || [ "$status" -eq 130 ] || { echo "FAIL: status $status" >&2; exit 1; }
  [ "$status" -ne 0 ] || [ "$(ls out | wc -l)" -eq 250 ] ||
    { echo "FAIL: status 0 for a run that did not finish" >&2; exit 1; }
  [ "$status" -eq 130 ] && interrupted=$((interrupted + 1))
done
[ "$interrupted" -gt 0 ] || { echo "FAIL: no run was interrupted while it wrote" >&2; exit 1; }
