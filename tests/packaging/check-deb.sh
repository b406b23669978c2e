#!/usr/bin/env bash
# Unpacks the Debian package given into a scratch root and checks that the programs, their
# links, the desktop entry, the icons, the manual pages and the copyright and changelog are
# where a desktop, `man` and Debian look for them, and that the programs run from there.
#   check-deb.sh DEB VERSION LICENSE
set -euo pipefail
deb=$1
version=$2
license=$3
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
fail() { echo "check-deb: $*" >&2; exit 1; }

[ -f "$deb" ] || fail "no $deb"
dpkg-deb -x "$deb" "$scratch/root"
root=$scratch/root/usr

for file in lib/habuki/habuki lib/habuki/habuki-gui share/applications/habuki.desktop \
    share/icons/hicolor/16x16/apps/habuki.png share/icons/hicolor/32x32/apps/habuki.png \
    share/icons/hicolor/scalable/apps/habuki.svg share/man/man1/habuki.1.gz \
    share/man/man1/habuki-gui.1.gz share/doc/habuki/copyright share/doc/habuki/changelog.gz; do
  [ -f "$root/$file" ] || fail "missing /usr/$file"
done
for program in habuki habuki-gui; do
  [ "$(readlink "$root/bin/$program")" = "../lib/habuki/$program" ] ||
    fail "/usr/bin/$program is not a link to ../lib/habuki/$program"
  zcat "$root/share/man/man1/$program.1.gz" | head -n 1 | grep -qF "\"habuki $version\"" ||
    fail "the manual page of $program does not name version $version"
done
ls "$root/lib/habuki" | grep -q txt && fail "comment files were installed"

# The copyright file carries LICENSE's text after its copyright line, as continuation lines.
from_copyright=$(sed -n '/^License:/,$p' "$root/share/doc/habuki/copyright" | tail -n +2 |
  sed 's/^ //; s/^\.$//')
from_license=$(sed -n '/^Copyright/,$p' "$license" | tail -n +3)
[ "$from_copyright" = "$from_license" ] || fail "the copyright file does not hold LICENSE's text"
zcat "$root/share/doc/habuki/changelog.gz" | head -n 1 | grep -q "^habuki ($version) " ||
  fail "the changelog does not start with version $version"

depends=$(dpkg-deb -f "$deb" Depends)
for package in fonts-noto-cjk qt6-translations-l10n libqt6widgets6 libc6; do
  [[ $depends == *"$package"* ]] || fail "Depends lacks $package: $depends"
done

[ "$("$root/bin/habuki" --version)" = "habuki $version" ] || fail "habuki --version"
[ "$(QT_QPA_PLATFORM=offscreen "$root/bin/habuki-gui" --version 2>/dev/null)" = "habuki-gui $version" ] ||
  fail "habuki-gui --version"
# Run through the link, the program still finds the comment file beside its real executable.
printf 'from the program folder\r\n' > "$root/lib/habuki/英語ｺﾒﾝﾄ.txt"
result=$(printf '%%\r\nN00001Q1L1P5\r\n%%\r\n' | "$root/bin/habuki" -c en | head -n 1)
[ "$result" = "from the program folder" ] || fail "comment beside the executable: '$result'"
echo "check-deb: $(basename "$deb") is complete"
