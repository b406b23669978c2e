#!/bin/sh
# Runs the window's smoke test program under wine on a virtual screen of its own (xvfb-run),
# in a wine prefix of its own (PREFIX, made once by window-prefix.sh), and ends every program of
# that prefix afterwards, whatever happened.
#   check-window.sh WINE PREFIX PROGRAM.exe [ARGUMENT...]
set -eu
if [ -z "${HABUKI_ON_VIRTUAL_SCREEN:-}" ]; then
  HABUKI_ON_VIRTUAL_SCREEN=1 exec xvfb-run -a -s "-screen 0 1024x768x24 -dpi 96" "$0" "$@"
fi
wine=$1 program=$3
export WINEPREFIX=$2 WINEDEBUG=-all
trap 'wineserver -k 2>/dev/null || true' EXIT
"$(dirname "$0")/window-prefix.sh" "$wine"
shift 3
"$wine" "$program" "$@" </dev/null
