#!/usr/bin/env bash
# habuki.exe on a console (wine gives it one on a terminal): the thinned text, with its Japanese
# comment line, and a message naming a Japanese file show as text, whatever the console's code
# page, where bytes written as they are would show as mojibake; a workbook is refused there;
# started without a file, it says it reads standard input rather than waiting silently.
#   check-console.sh WINE HABUKI_EXE BACKUP
set -euo pipefail
wine=$1 exe=$2 backup=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$backup" "$work/パラメータ.txt"
cd "$work"
on_console() { script -qec "WINEDEBUG=-all '$wine' '$exe' $*" /dev/null 2>&1 || true; }
expect() {  # TEXT WHAT OUTPUT
  grep -qF "$1" <<<"$3" || { echo "FAIL: $2 does not show \"$1\":" >&2; head -c 400 <<<"$3" >&2; exit 1; }
}
expect "パラメータ値０のパラメータは省いてあります。" "the comment line" "$(on_console -c ja パラメータ.txt)"
expect "N00000Q1" "the thinned text" "$(on_console -c ja パラメータ.txt)"
expect "ない_ファイル.txt: cannot read" "a message" "$(on_console ない_ファイル.txt)"
expect "not shown on a terminal" "a workbook for the console" "$(on_console --to xlsx パラメータ.txt)"
expect "not shown on a terminal" "a workbook for CON" "$(on_console --to xlsx -o CON パラメータ.txt)"
# Nothing typed ends a console's input here: the program is stopped once it had time to speak.
expect "reading a backup from standard input;" "a start without a file" \
  "$(timeout 20 script -qec "WINEDEBUG=-all '$wine' '$exe' -c none" /dev/null 2>&1 </dev/null)"
echo "the console shows the comment, the text and the message, no workbook, and the hint"
