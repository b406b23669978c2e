#!/bin/sh
# The Windows window's time from the open command to the text shown, for the real 30i backup and
# a generated 5 MB text, under wine on a virtual screen (as the smoke test runs). Builds the
# windows preset first.
#   bench/window-open.sh
set -eu
cd "$(dirname "$0")/.."
cmake --preset windows >/dev/null
cmake --build --preset windows --target window_open_bench >/dev/null
exec tests/windows/check-window.sh wine "$PWD/build/windows/bench-window-prefix" \
  "$PWD/build/windows/bench/window_open_bench.exe" "$(winepath -w "$PWD/tests/data")"
