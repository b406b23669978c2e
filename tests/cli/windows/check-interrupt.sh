#!/usr/bin/env bash
# Ctrl-C (which wine gives a console program for SIGINT) while habuki.exe writes a batch of
# results: the run ends with status 130, never 0, and leaves no temporary file behind. The moment
# is the test's own, not a guess of time: the eighth input is a named pipe, which habuki.exe
# waits on with the seven results before it written as temporaries; the signal comes then.
#   check-interrupt.sh WINE HABUKI_EXE BACKUP
set -uo pipefail
wine=$1 exe=$(realpath "$2") backup=$(realpath "$3")
export WINEDEBUG=-all
work=$(mktemp -d)
trap 'exec 3>&-; rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
mkdir "$work/in" "$work/out"
for i in 1 2 3 4 5 6 7 9; do cp "$backup" "$work/in/f$i.txt"; done
cd "$work"

"$wine" "$exe" --output-dir out in/*.txt 2>/dev/null
[ $? -eq 0 ] && [ "$(ls -A out | wc -l)" -eq 8 ] || fail "a run without Ctrl-C did not write its 8 results"
rm -f out/*

mkfifo in/f8.txt
"$wine" "$exe" --output-dir out in/*.txt 2>/dev/null &
pid=$!
exec 3>in/f8.txt # returns once habuki.exe has opened the pipe; nothing is written into it
for _ in $(seq 1 600); do
  [ "$(find out -name '.habuki-*' | wc -l)" -ge 7 ] && break
  sleep 0.1
done
pending=$(find out -name '.habuki-*' | wc -l)
[ "$pending" -eq 7 ] || fail "$pending temporaries while habuki.exe waits on the eighth input, not 7"
kill -INT "$pid"
wait "$pid"
status=$?
exec 3>&-
left=$(ls -A out | wc -l)
echo "Ctrl-C with 7 temporaries pending: status $status, $left files left"
[ "$status" -eq 130 ] || fail "status $status, not 130"
[ "$left" -eq 0 ] || fail "files left behind: $(ls -A out)"
