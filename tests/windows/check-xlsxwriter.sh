#!/usr/bin/env bash
# libxlsxwriter as the Windows build links it takes UTF-8 names, as on Linux: write_workbook.exe,
# run under wine, writes 品番表.xlsx with its temporary files in the folder 一時, and the
# workbook read back here with openpyxl holds the texts it was given, as texts; no temporary file
# is left behind.
#   check-xlsxwriter.sh WINE WRITE_WORKBOOK_EXE
set -euo pipefail
wine=$1 program=$2
export LC_ALL=C.UTF-8 WINEDEBUG=-all
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/一時"
"$wine" "$program" "Z:$work"
[ -f "$work/品番表.xlsx" ] || { echo "no 品番表.xlsx in $work, only: $(ls -A "$work")" >&2; exit 1; }
[ -z "$(ls -A "$work/一時")" ] || { echo "temporary files left: $(ls -A "$work/一時")" >&2; exit 1; }
/usr/bin/python3 - "$work/品番表.xlsx" <<'PYTHON'
import sys
import openpyxl

row = [(cell.value, cell.data_type) for cell in openpyxl.load_workbook(sys.argv[1]).active[1]]
expected = [("01005", "s"), ("主軸の最高回転数", "s")]
if row != expected:
    sys.exit(f"{sys.argv[1]}: the first row holds {row}, not {expected}")
PYTHON
