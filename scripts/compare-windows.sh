#!/usr/bin/env bash
# Runs habuki.exe under wine and the Linux habuki on the same inputs with the same arguments and
# requires the same standard output, byte for byte, and the same exit status; results written
# with -o and --output-dir must be the same files with the same bytes too. The inputs are the
# real backups of tests/data (and of ../shared/data beside the repository, or beside the main
# worktree of a git worktree, when it is there and holds others), the examples, and copies made
# here: one with CP932 text and a Japanese name, one with changed values, a thinned backup, real
# backups as editors and card readers leave them, and files that are no backup.
# Standard error is not compared: it holds the operating system's own words for a failure.
#
# The cases: every format (-f auto, 30i, 16i, pmc) with every comment choice (-c none; -c ja and
# -c en each from comment files, and from an empty --comment-dir, which leaves the built-in
# sentence; an explicit folder keeps both programs from reading the user's own folders, which
# differ between the two systems), every table (--to csv, json, and with --all), several inputs
# in one document, standard input, a wildcard that habuki.exe expands, results written with -o
# and --output-dir, workbooks (--to xlsx, compared by what a reader finds in them), diff of
# pairs of backups as text, csv and json, and diff of many side by side in every form.
#   scripts/compare-windows.sh [HABUKI_EXE [LINUX_HABUKI]]
# The defaults are build/windows/cli/habuki.exe and build/ci/cli/habuki; WINE names wine.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/scripts/wine-start.sh"
exe=$(realpath "${1:-$root/build/windows/cli/habuki.exe}")
linux=$(realpath "${2:-$root/build/ci/cli/habuki}")
wine=${WINE:-wine}
for program in "$exe" "$linux"; do
  [ -x "$program" ] || {
    echo "compare-windows.sh: $program: no such program; build it first" >&2
    exit 2
  }
done
export WINEDEBUG=-all LC_ALL=C.UTF-8
unset DISPLAY WAYLAND_DISPLAY  # a crash under wine reports on standard error, not in a window
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
in=$work/in
mkdir "$in" "$work/none" "$work/bin"
cp "$exe" "$work/bin/habuki.exe"  # for cmd, which runs it by a name relative to the inputs

# The inputs, under their own names; a backup of ../shared/data that is a copy of one of
# tests/data is taken once.
inputs=()
add_input() {
  local name
  name=$(basename "$1")
  if [ -e "$in/$name" ]; then
    cmp -s "$1" "$in/$name" && return
    name=shared-$name
  fi
  cp "$1" "$in/$name"
  inputs+=("$name")
}
for file in "$root"/tests/data/*.txt "$root"/examples/*.txt; do add_input "$file"; done
common=$(git -C "$root" rev-parse --path-format=absolute --git-common-dir 2>/dev/null ||
  echo "$root/.git")
main_root=$(dirname "$common")
for shared in "$root/../shared/data" "$main_root/../shared/data"; do
  [ -d "$shared" ] || continue
  for file in "$shared"/*.txt; do add_input "$file"; done
done
to_cp932() { iconv -f UTF-8 -t CP932; }
{ printf 'パラメータ ﾊﾟﾗﾒｰﾀ 機械１号\r\n' | to_cp932; cat "$in/fs30i-example.txt"; } >"$in/パラメータ.txt"
sed -e 's/^N00020Q1P17 /N00020Q1P0/' -e 's/A4P360.0/A4P180.0/' -e 's/S1P0S2/S1P25S2/' \
  "$in/fs30i-example.txt" >"$in/newer.txt"
"$linux" -c none "$in/machining-center-30i.txt" >"$in/thinned-30i.txt"
inputs+=(パラメータ.txt newer.txt)

# Comment files unlike the built-in sentences: two lines (the last one counts), CP932 with
# CR LF, double-byte and half-width characters.
mkdir "$work/comments"
printf 'first line\r\n機械１号 ﾊﾌﾞｷ済み\r\n' | to_cp932 >"$work/comments/日本語ｺﾒﾝﾄ.txt"
printf 'first line\r\nMachine 1, thinned\r\n' >"$work/comments/英語ｺﾒﾝﾄ.txt"

comparisons=0 identical=0 same_stderr=0
differences=()
stdin=/dev/null
windows_args=()

# Runs one program in the inputs' folder with ARGS, its standard output, standard error, exit
# status and the files it wrote into ../out kept under $work/SIDE.*.
#   run SIDE PROGRAM... -- ARGS...
run() {
  local side=$1
  shift
  rm -rf "$work/out" "$work/$side.out"
  mkdir "$work/out"
  if [ "$side" = windows ]; then
    (cd "$in" && wine_started "$work/$side.stdout" "$work/$side.stderr" "$@" <"$stdin")
  else
    (cd "$in" && "$@" <"$stdin" >"$work/$side.stdout" 2>"$work/$side.stderr")
  fi
  echo $? >"$work/$side.status"
  mv "$work/out" "$work/$side.out"
  read_workbooks "$side"
}

# A workbook holds the time it was made, so workbooks are compared by what a spreadsheet program
# reads in them: every cell's text, and how the sheet shows them.
read_workbooks() {
  local workbook
  for workbook in "$work/$1.stdout" "$work/$1.out"/*.xlsx; do
    [ -f "$workbook" ] && [ "$(head -c 2 "$workbook")" = PK ] || continue
    { /usr/bin/python3 "$root/tests/cli/read_xlsx.py" cells "$workbook" &&
      /usr/bin/python3 "$root/tests/cli/read_xlsx.py" styles "$workbook"; } >"$workbook.read" ||
      { echo "compare-windows.sh: cannot read the workbook $workbook" >&2; exit 2; }
    mv "$workbook.read" "$workbook"
  done
}

#   compare ARGS...
# With windows_args set, habuki.exe is given those instead (see compare_wildcard). Standard
# input from a file is opened by cmd, as a Windows user's "<" opens it: a file that wine hands
# on from Linux is a handle Windows' calls cannot ask about (GetFileInformationByHandle fails
# with ERROR_INVALID_HANDLE), which no Windows user meets; habuki.exe reads such a handle as a
# stream, which direct_stdin=1 compares too. ARGS must then be simple words.
compare() {
  run linux "$linux" "$@"
  if [ "$stdin" != /dev/null ] && [ -z "${direct_stdin:-}" ]; then
    run windows "$wine" cmd /c "..\\bin\\habuki.exe $* < $(basename "$stdin")"
  elif [ ${#windows_args[@]} -eq 0 ]; then
    run windows "$wine" "$exe" "$@"
  else
    run windows "$wine" "$exe" "${windows_args[@]}"
  fi
  comparisons=$((comparisons + 1))
  ! cmp -s "$work/linux.stderr" "$work/windows.stderr" || same_stderr=$((same_stderr + 1))
  local what=()
  cmp -s "$work/linux.status" "$work/windows.status" ||
    what+=("status $(<"$work/linux.status") on Linux, $(<"$work/windows.status") on Windows")
  cmp -s "$work/linux.stdout" "$work/windows.stdout" ||
    what+=("standard output $(stat -c %s "$work/linux.stdout") bytes on Linux,"
      "$(stat -c %s "$work/windows.stdout") on Windows")
  diff -rq "$work/linux.out" "$work/windows.out" >/dev/null ||
    what+=("files written differ: $(diff -rq "$work/linux.out" "$work/windows.out" | tr '\n' ' ')")
  if [ ${#what[@]} -eq 0 ]; then
    identical=$((identical + 1))
  else
    local case
    case="habuki$(printf ' %q' "$@")"
    [ "$stdin" = /dev/null ] || case+=" < $(basename "$stdin")"
    [ ${#windows_args[@]} -eq 0 ] || case+=" (habuki.exe$(printf ' %q' "${windows_args[@]}"))"
    differences+=("$case")
    echo "differs: $case: $(printf '%s; ' "${what[@]}")" >&2
  fi
}

start=$SECONDS
for input in "${inputs[@]}"; do
  for format in auto 30i 16i pmc; do
    compare -f $format -c none "$input"
    for language in ja en; do
      compare -f $format -c $language --comment-dir ../comments "$input"
      compare -f $format -c $language --comment-dir ../none "$input"
    done
    compare -f $format --to csv "$input"
    compare -f $format --to json "$input"
  done
  compare --to csv --all "$input"
  compare --to json --all "$input"
  compare --to xlsx "$input"
done
compare --to xlsx --all machining-center-30i.txt
compare --to xlsx "${inputs[@]}"
compare --to xlsx --output-dir ../out "${inputs[@]}"
compare --to csv "${inputs[@]}"
compare --to json "${inputs[@]}"
compare -c none "${inputs[@]}"
stdin=$in/machining-center-30i.txt compare -c none
stdin=$in/machining-center-pmc.txt compare --to json -
direct_stdin=1 stdin=$in/machining-center-30i.txt compare -c en
stdin=/dev/null

# habuki.exe expands a wildcard itself, as the shell does for the Linux habuki.
#   compare_wildcard OPTION... PATTERN
compare_wildcard() {
  local pattern=${*: -1} names
  # shellcheck disable=SC2086  # the pattern is expanded here, as the shell does
  names=$(cd "$in" && printf '%s\n' $pattern)
  windows_args=("$@")
  # shellcheck disable=SC2086  # the names the shell found, one word each
  compare "${@:1:$#-1}" $names
  windows_args=()
}
compare_wildcard --to csv '*-example.txt'
compare_wildcard -c none '*.txt'

# Results in files: one -o with a Japanese name, and --output-dir for text and a table.
compare -c ja --comment-dir ../comments -o ../out/ハブキ済.txt パラメータ.txt
compare -c none --output-dir ../out "${inputs[@]}"
compare --to csv --output-dir ../out "${inputs[@]}"

# Backups as editors, card readers and transfer programs leave them, and files that are no
# backup: guessed, thinned and tabled as on Linux, or refused with the same status.
{ printf '\xEF\xBB\xBF'; cat "$in/machining-center-30i.txt"; } >"$in/bom-30i.txt"
{ printf '\xEF\xBB\xBF'; cat "$in/machining-center-pmc.txt"; } >"$in/bom-pmc.txt"
tail -c +3 "$in/machining-center-pmc.txt" >"$in/no-percent-pmc.txt"
{ printf '%%\n(MC-3 2024/05)\n'; tail -c +3 "$in/machining-center-30i.txt"; } >"$in/note-30i.txt"
sed 's/$/\r\r/' "$in/machining-center-30i.txt" >"$in/crcrlf-30i.txt"
{ cat "$in/fs30i-example.txt"; printf '\x1A'; head -c 64 /dev/zero; } >"$in/ctrl-z-30i.txt"
printf '%%\r\nO0001\r\nN10 G01 X10.\r\nN20 M30\r\n%%\r\n' >"$in/program.nc"
printf '\x89PNG\r\n\x1A\n\0\0\0\rIHDR\0\0\0\x10' >"$in/image.png"
"$linux" --to csv "$in/fs30i-example.txt" >"$in/table.csv"
{ cat "$in/fs30i-example.txt"; cat "$in/pmc-example.txt"; } >"$in/both.txt"
for input in bom-30i.txt bom-pmc.txt no-percent-pmc.txt note-30i.txt crcrlf-30i.txt \
  ctrl-z-30i.txt program.nc image.png table.csv both.txt; do
  compare -c none --stats "$input"
  compare -f 30i -c none "$input"
  compare --to csv "$input"
done
compare diff machining-center-30i.txt bom-30i.txt
compare diff machining-center-pmc.txt no-percent-pmc.txt
compare diff fs30i-example.txt pmc-example.txt
compare diff fs30i-example.txt program.nc newer.txt image.png

# diff: equal, changed, of another format, thinned against its backup, and files that fail.
pairs=(
  "fs30i-example.txt newer.txt"
  "fs30i-example.txt fs30i-example.txt"
  "fs30i-example.txt パラメータ.txt"
  "fs30i-example.txt fs16i-example.txt"
  "fs16i-example.txt fs30i-example.txt -f 16i,30i"
  "machining-center-30i.txt thinned-30i.txt"
  "machining-center-30i.txt fs30i-example.txt"
  "machining-center-pmc.txt pmc-example.txt"
  "pmc-example.txt fs30i-example.txt -f pmc"
  "fs30i-example.txt missing.txt"
)
for pair in "${pairs[@]}"; do
  read -r old new options <<<"$pair"
  for to in text csv json; do
    # shellcheck disable=SC2086  # the options of a pair are words
    compare diff $options --to $to "$old" "$new"
  done
done
compare diff -q fs30i-example.txt newer.txt
compare diff --to xlsx -o ../out/pair.xlsx fs30i-example.txt newer.txt
# Many backups side by side.
for to in text csv json xlsx; do
  compare diff --to $to fs30i-example.txt newer.txt パラメータ.txt thinned-30i.txt
  compare diff --all --to $to fs30i-example.txt newer.txt パラメータ.txt
done

echo "$comparisons comparisons, $identical identical ($((SECONDS - start)) s;" \
  "standard error, not compared, the same in $same_stderr)"
if [ ${#differences[@]} -ne 0 ]; then
  echo "habuki.exe under wine and the Linux habuki differ in the ${#differences[@]} cases above" >&2
  exit 1
fi
