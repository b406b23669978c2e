#!/usr/bin/env bash
# Peak memory of habuki on every shape of input, against the budget of twice the file's size
# plus 16 MB: the text is held once (read into habuki's own memory, with room to complete its
# line breaks in place) and the result once, and no shape may cost more.
#
#   realistic     99,999 records shaped like a real 30i backup (habuki-generate shaped)
#   adversarial   the same size in records of 999 entries without any "M"
#   kept          99,999 records of 150 entries, none of them zero: the result is the text
#   cr-only       10 MB of CR: ten million empty lines, each made CR LF
#   lf-only       10 MB of LF: one line of line feeds
#   one-line      the realistic text with its line feeds taken out: a single 5 MB line
#
# Then the tables and the comparison of 50 MB backups, against four times the inputs' size plus
# 16 MB: --to json --all and --to csv of one, and diff of it against itself, for records of 999
# entries mostly zero (adversarial-50mb) and for records of 150 entries none of them zero
# (kept-50mb). Last, diff of a fleet: 1,000 copies of the real 30i backup, each with three
# parameters of its own, against twice the inputs' size plus 64 MB: the texts are held, and of
# their rows only what the comparison needs.
#
#   bench/peak-memory.sh [HABUKI]   the program to measure; default build/default/cli/habuki
set -euo pipefail
cd "$(dirname "$0")/.."
habuki="${1:-build/default/cli/habuki}"
cmake --preset default >/dev/null
cmake --build --preset default --target habuki habuki-generate >/dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

generate=build/default/bench/habuki-generate
$generate shaped "$work/realistic.txt"
$generate adversarial "$work/adversarial.txt"
$generate kept "$work/kept.txt"
head -c 10000000 /dev/zero | tr '\0' '\r' >"$work/cr-only.txt"
head -c 10000000 /dev/zero | tr '\0' '\n' >"$work/lf-only.txt"
tr -d '\n' <"$work/realistic.txt" >"$work/one-line.txt"

over=0
for shape in realistic adversarial kept cr-only lf-only one-line; do
  file="$work/$shape.txt"
  bytes=$(stat -c %s "$file")
  # habuki's exit status does not matter here (a text of line breaks holds no record).
  peak_kb=$( { /usr/bin/time -f %M "$habuki" -f 30i -c none -o "$work/out.txt" "$file" \
    2>&1 >/dev/null || true; } | tail -n 1)
  budget_kb=$(( (2 * bytes + 16 * 1024 * 1024) / 1024 ))
  verdict=within
  if [ "$peak_kb" -gt "$budget_kb" ]; then verdict=OVER; over=1; fi
  printf '%-12s %10d bytes  peak %7d KB  budget %7d KB  %s\n' \
    "$shape" "$bytes" "$peak_kb" "$budget_kb" "$verdict"
done
$generate adversarial "$work/adversarial-50mb.txt" 50
$generate kept "$work/kept-50mb.txt" 50
for shape in adversarial-50mb kept-50mb; do
  file="$work/$shape.txt"
  bytes=$(stat -c %s "$file")
  for run in "--to json --all" "--to csv" "diff"; do
    inputs=1
    if [ "$run" = diff ]; then inputs=2; fi
    # shellcheck disable=SC2086 # the run's words are meant to be split
    if [ "$run" = diff ]; then set -- diff -f 30i "$file" "$file"; else set -- -f 30i $run -o "$work/out" "$file"; fi
    peak_kb=$( { /usr/bin/time -f %M "$habuki" "$@" 2>&1 >/dev/null || true; } | tail -n 1)
    budget_kb=$(( (4 * inputs * bytes + 16 * 1024 * 1024) / 1024 ))
    verdict=within
    if [ "$peak_kb" -gt "$budget_kb" ]; then verdict=OVER; over=1; fi
    printf '%-16s %-16s %10d bytes  peak %7d KB  budget %7d KB  %s\n' \
      "$shape" "$run" "$bytes" "$peak_kb" "$budget_kb" "$verdict"
  done
done
mkdir "$work/fleet"
base=tests/data/machining-center-30i.txt
for i in $(seq 0 999); do
  { head -c -1 "$base"
    printf 'N%05dQ1P1\nN%05dQ1P1\nN%05dQ1P1\n%%' $((30000 + 3 * i)) $((30001 + 3 * i)) \
      $((30002 + 3 * i)); } >"$work/fleet/m$(printf %04d "$i").txt"
done
bytes=$(cat "$work"/fleet/*.txt | wc -c)
result=$( { /usr/bin/time -f '%M %e' "$habuki" diff -q -f 30i "$work"/fleet/*.txt \
  2>&1 >/dev/null || true; } | tail -n 1)
peak_kb=${result% *}
budget_kb=$(( (2 * bytes + 64 * 1024 * 1024) / 1024 ))
verdict=within
if [ "$peak_kb" -gt "$budget_kb" ]; then verdict=OVER; over=1; fi
printf '%-33s %10d bytes  peak %7d KB  budget %7d KB  %s  (%s s)\n' \
  "diff of 1,000 copies" "$bytes" "$peak_kb" "$budget_kb" "$verdict" "${result#* }"
exit "$over"
