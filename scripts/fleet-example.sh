#!/usr/bin/env bash
# The manual's fleet comparison, made again: three machines of one model, the first the real 30i
# backup of tests/data, the two others the same backup with a few settings changed as a
# maintenance engineer would find them. Compares them in one table, as text and as a
# spreadsheet, and renders the spreadsheet with LibreOffice to the picture the manual shows.
#   scripts/fleet-example.sh [PNG]
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/packages.sh
habuki_ensure_packages "${HABUKI_BUILD_PACKAGES[@]}" libreoffice-calc-nogui poppler-utils \
  imagemagick fonts-noto-cjk
png=$(realpath -m "${1:-packaging/screenshots/habuki-fleet-xlsx.png}")

cmake --preset cli >/dev/null
cmake --build --preset cli >/dev/null
habuki=$PWD/build/cli/cli/habuki

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
cp "$OLDPWD/tests/data/machining-center-30i.txt" mc-01.txt
# mc-02: bit #2 of 1005 on axis 5 set, the negative stroke limit of axis 1 moved.
sed -e 's/^\(N01005Q1A1P00000010A2P00000010A3P00000010A4P00000010A5P\)00000011/\100000111/' \
  -e 's/^\(N01321Q1A1P\)-1000\.0/\1-1002.5/' mc-01.txt >mc-02.txt
# mc-03: a slower rapid traverse on axis 1 and a second reference position set.
sed -e 's/^\(N01420Q1A1P\)24000\.0/\120000.0/' \
  -e 's/^\(N01240Q1A1P\)0\.0/\1125.0/' mc-01.txt >mc-03.txt

# The engineer's own names of the parameters they watch.
printf '%s\r\n' '# number,name' '1005,Setting (reference return)' '1240,Reference position 1' \
  '1321,Stroke limit - (1st)' '1420,Rapid traverse rate' >names.csv

echo "\$ habuki diff --names names.csv mc-01.txt mc-02.txt mc-03.txt"
"$habuki" diff --names names.csv mc-01.txt mc-02.txt mc-03.txt || [ $? -eq 1 ]
echo "\$ habuki diff --names names.csv --to xlsx -o fleet.xlsx mc-01.txt mc-02.txt mc-03.txt"
"$habuki" diff --names names.csv --to xlsx -o fleet.xlsx mc-01.txt mc-02.txt mc-03.txt ||
  [ $? -eq 1 ]

# LibreOffice prints the sheet as it would on paper (its PNG export needs the full office);
# the page is cut to what is written on it.
HOME=$work soffice --headless --convert-to pdf fleet.xlsx >/dev/null 2>&1
[ -s fleet.pdf ] || { echo "LibreOffice did not print fleet.xlsx" >&2; exit 1; }
pdftoppm -png -r 110 -singlefile fleet.pdf page
convert page.png -trim +repage -bordercolor white -border 12 "$png"
echo "wrote $png"
