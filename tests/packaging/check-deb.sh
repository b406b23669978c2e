#!/usr/bin/env bash
# Builds the Debian package from the build folder given, unpacks it into a scratch root and
# checks that the programs, their links, the desktop entry, the icons and the manual pages are
# where a desktop and `man` look for them, and that the programs run from there.
set -euo pipefail
build=$1
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
fail() { echo "check-deb: $*" >&2; exit 1; }

cpack --config "$build/CPackConfig.cmake" -B "$scratch/out" >/dev/null
deb=$scratch/out/habuki_3.0.1_amd64.deb
[ -f "$deb" ] || fail "no $deb"
dpkg-deb -x "$deb" "$scratch/root"
root=$scratch/root/usr

for file in lib/habuki/habuki lib/habuki/habuki-gui share/applications/habuki.desktop \
    share/icons/hicolor/16x16/apps/habuki.png share/icons/hicolor/32x32/apps/habuki.png \
    share/icons/hicolor/scalable/apps/habuki.svg share/man/man1/habuki.1 \
    share/man/man1/habuki-gui.1; do
  [ -f "$root/$file" ] || fail "missing /usr/$file"
done
for program in habuki habuki-gui; do
  [ "$(readlink "$root/bin/$program")" = "../lib/habuki/$program" ] ||
    fail "/usr/bin/$program is not a link to ../lib/habuki/$program"
done
ls "$root/lib/habuki" | grep -q txt && fail "comment files were installed"

depends=$(dpkg-deb -f "$deb" Depends)
for package in fonts-noto-cjk libqt6widgets6 libc6; do
  [[ $depends == *"$package"* ]] || fail "Depends lacks $package: $depends"
done

[ "$("$root/bin/habuki" --version)" = "habuki 3.0.1" ] || fail "habuki --version"
[ "$(QT_QPA_PLATFORM=offscreen "$root/bin/habuki-gui" --version 2>/dev/null)" = "habuki-gui 3.0.1" ] ||
  fail "habuki-gui --version"
# Run through the link, the program still finds the comment file beside its real executable.
printf 'from the program folder\r\n' > "$root/lib/habuki/英語ｺﾒﾝﾄ.txt"
result=$(printf '%%\r\nN00001Q1L1P5\r\n%%\r\n' | "$root/bin/habuki" -c en | head -n 1)
[ "$result" = "from the program folder" ] || fail "comment beside the executable: '$result'"
echo "check-deb: $(basename "$deb") is complete"
