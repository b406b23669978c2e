#!/usr/bin/env bash
# The zip for Windows users unpacks into one folder holding what its README promises, with the
# bytes Windows wants (CR LF texts, the READMEs in UTF-8 with a byte order mark, the comment
# files in CP932, the Japanese names marked as UTF-8 in the zip), and its habuki.exe runs under
# wine: it tells the project's version, names in --help only options both READMEs name, lists
# the exit statuses the English README lists, and the sample comment files give the built-in
# sentences. It holds the window habuki-gui.exe too.
#   check-windows-zip.sh ZIP VERSION LICENSE EXAMPLE WINE
set -euo pipefail
. "$(dirname "$0")/../../scripts/wine-start.sh"
zip=$(realpath "$1") version=$2 license=$(realpath "$3") example=$(realpath "$4") wine=$5
export LC_ALL=C.UTF-8 WINEDEBUG=-all
folder=$(basename "$zip" .zip)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() {
  echo "$zip: $*" >&2
  failures=$((failures + 1))
}

# The comment files' one line: the built-in sentences in CP932, then CR LF.
comment_ja='\x83\x70\x83\x89\x83\x81\x81\x5b\x83\x5e\x92\x6c\x82\x4f\x82\xcc'
comment_ja+='\x83\x70\x83\x89\x83\x81\x81\x5b\x83\x5e\x82\xcd\x8f\xc8\x82\xa2'
comment_ja+='\x82\xc4\x82\xa0\x82\xe8\x82\xdc\x82\xb7\x81\x42\r\n'
comment_en='Parameters of the parameter value 0 have been omitted.\r\n'
files=(habuki.exe habuki-gui.exe README-en.txt README-ja.txt LICENSE.txt 日本語ｺﾒﾝﾄ.txt 英語ｺﾒﾝﾄ.txt)

expected=$(printf "$folder/%s\n" "${files[@]}" | sort)
listed=$(unzip -Z1 "$zip" | sort)
[ "$listed" = "$expected" ] ||
  fail "holds other entries than expected:"$'\n'"$(diff <(echo "$expected") <(echo "$listed"))"

# Each entry of the central directory: its flags (bit 11: the name is UTF-8) and its name.
#   central_entries ZIP  -> lines "FLAGS NAME"
central_entries() {
  local offset flags length
  grep -obUaP 'PK\x01\x02' "$1" | cut -d: -f1 | while read -r offset; do
    flags=$(od -An -tu2 -j $((offset + 8)) -N2 "$1" | tr -d ' ')
    length=$(od -An -tu2 -j $((offset + 28)) -N2 "$1" | tr -d ' ')
    echo "$flags $(tail -c +$((offset + 47)) "$1" | head -c "$length")"
  done
}
while read -r flags name; do
  if LC_ALL=C grep -q '[^ -~]' <<<"$name" && [ $((flags & 0x800)) -eq 0 ]; then
    fail "$name is not marked as a UTF-8 name"
  fi
done < <(central_entries "$zip")

unzip -q "$zip" -d "$work"
dir=$work/$folder
for file in "${files[@]}"; do
  [ -f "$dir/$file" ] || fail "$file is missing after unpacking"
done

# The same bytes as the expected text, shown both ways when they differ.
#   same_bytes FILE EXPECTED_BYTES_FILE
same_bytes() {
  cmp -s "$1" "$2" || fail "$(basename "$1") differs from the expected bytes:"$'\n'"$(
    diff <(od -An -c "$2") <(od -An -c "$1"))"
}
printf '%b' "$comment_ja" >"$work/ja" && same_bytes "$dir/日本語ｺﾒﾝﾄ.txt" "$work/ja"
printf '%b' "$comment_en" >"$work/en" && same_bytes "$dir/英語ｺﾒﾝﾄ.txt" "$work/en"
sed 's/$/\r/' "$license" >"$work/license" && same_bytes "$dir/LICENSE.txt" "$work/license"

# Every line of a README ends with CR LF, after a byte order mark, and names the version.
for readme in README-en.txt README-ja.txt; do
  [ "$(head -c3 "$dir/$readme" | od -An -tx1 | tr -d ' ')" = efbbbf ] ||
    fail "$readme does not start with a UTF-8 byte order mark"
  [ "$(grep -c $'\r$' "$dir/$readme")" = "$(wc -l <"$dir/$readme")" ] ||
    fail "$readme has line ends other than CR LF"
  [ "$(tail -c2 "$dir/$readme" | od -An -c)" = "$(printf '\r\n' | od -An -c)" ] ||
    fail "$readme does not end with CR LF"
  grep -q "habuki $version" "$dir/$readme" || fail "$readme does not name version $version"
done
grep -q '終了ステータス' "$dir/README-ja.txt" || fail "README-ja.txt is not in Japanese"
grep -q 'Exit status' "$dir/README-en.txt" || fail "README-en.txt is not in English"

cd "$dir"
habuki() { wine_run "$wine" habuki.exe "$@"; }
[ "$(habuki --version | od -An -c)" = "$(printf 'habuki %s\n' "$version" | od -An -c)" ] ||
  fail "habuki.exe --version does not print \"habuki $version\" and LF alone"

help=$(
  habuki --help
  habuki diff --help
) || fail "habuki.exe --help or diff --help fails"
options=$(grep -oE -- '--[a-z][a-z-]*' <<<"$help" | sort -u)
[ -n "$options" ] || fail "habuki.exe --help names no option"
for option in $options; do
  for readme in README-en.txt README-ja.txt; do
    grep -q -- "$option\b" "$readme" || fail "$readme does not name $option"
  done
done
# The statuses of --help, each line as it stands, in the English README (lines joined).
readme_words=$(tr -s ' \r\n' ' ' <README-en.txt)
statuses=$(sed -n '/^Exit status:/,/^$/p' <<<"$help" | grep -E '^  [0-9]+  ' | tr -s ' ' | cut -c2-)
[ -n "$statuses" ] || fail "habuki.exe --help lists no exit status"
while read -r status; do
  grep -qF -- "$status" <<<"$readme_words" || fail "README-en.txt does not list \"$status\""
done <<<"$statuses"

# The sample comment files give what the built-in sentences give.
cp "$example" "$work/input.txt"
mkdir "$work/no-comments"
for language in ja en; do
  samples=$(habuki -c $language --comment-dir . ../input.txt | od -An -c) ||
    fail "habuki.exe -c $language --comment-dir with the sample files fails"
  built_in=$(habuki -c $language --comment-dir ../no-comments ../input.txt | od -An -c) ||
    fail "habuki.exe -c $language --comment-dir with an empty folder fails"
  [ "$samples" = "$built_in" ] ||
    fail "the sample comment file of -c $language gives another result than the built-in sentence"
done

[ $failures -eq 0 ] || exit 1
echo "$(basename "$zip"): $(unzip -Z1 "$zip" | wc -l) entries, $(stat -c %s "$zip") bytes;" \
  "habuki.exe $version runs under wine"
