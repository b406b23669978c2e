#!/usr/bin/env bash
# Fetches the source of libxlsxwriter that the Windows builds compile with mingw-w64 (Debian has
# no Windows package of it): Debian's own source package, from the Debian archive this machine
# already uses, unpacked as Debian builds it into build/sources/libxlsxwriter, where
# cmake/windows.cmake looks for it. Once it is there, this returns at once.
#
# When this machine has no deb-src entry for its Debian release, it adds one in a file of its
# own, /etc/apt/sources.list.d/habuki-debian-src.{sources,list}: a copy of the entry that gives
# the release's binary packages, with deb-src for deb, so that the same mirror and key serve.
# That, and apt-get update, need root; as another user, this says what to run and stops.
set -euo pipefail
cd "$(dirname "$0")/.."
destination=build/sources/libxlsxwriter
[ -f "$destination/.habuki-fetched" ] && exit 0

. scripts/packages.sh
habuki_ensure_packages dpkg-dev libz-mingw-w64-dev

# The file and entry (line, or stanza in deb822 files) that give this release's main component;
# the first one, taken by a sed that reads to the end, so that apt-get's output is never cut off.
debian_entry() {
  local codename
  codename=$(. /etc/os-release && echo "$VERSION_CODENAME")
  apt-get indextargets "Created-By: Packages" "Origin: Debian" "Codename: $codename" \
    "Component: main" | sed -n 's/^Sourcesentry: //p' | sed -n 1p
}

add_source_entry() {
  local entry file index
  entry=$(debian_entry)
  [ -n "$entry" ] || { echo "no Debian archive in apt's sources to take the source from" >&2; exit 1; }
  file=${entry%:*} index=${entry##*:}
  case "$file" in
    *.sources)
      awk -v n="$index" 'BEGIN { RS = "" } NR == n' "$file" |
        sed 's/^Types:.*/Types: deb-src/' >/etc/apt/sources.list.d/habuki-debian-src.sources ;;
    *)
      sed -n "${index}s/^deb\([[:space:]]\)/deb-src\1/p" "$file" \
        >/etc/apt/sources.list.d/habuki-debian-src.list ;;
  esac
  echo "Added a deb-src entry as $entry for libxlsxwriter's source" >&2
}

# grep reads to the end (no -q), so that apt-cache's output is never cut off.
if ! apt-cache showsrc libxlsxwriter 2>/dev/null | grep '^Package: libxlsxwriter' >/dev/null; then
  if [ "$(id -u)" -ne 0 ]; then
    echo "habuki's Windows build needs libxlsxwriter's Debian source; run as root:" >&2
    echo "  sudo $0" >&2
    exit 1
  fi
  [ -n "$(apt-get indextargets 'Created-By: Sources' 'Origin: Debian')" ] || add_source_entry
  apt-get update -qq
fi

# Unpacked beside its destination and moved there whole, so that a fetch cut short leaves
# nothing that looks fetched.
mkdir -p build/sources
work=$(mktemp -d build/sources/fetch.XXXXXX)
trap 'rm -rf "$work"' EXIT
# Downloaded as the user running this: apt's own user (_apt) cannot write into this folder.
(cd "$work" && apt-get source -qq -o APT::Sandbox::User="$(id -un)" libxlsxwriter >/dev/null)
unpacked=$(find "$work" -mindepth 1 -maxdepth 1 -type d -name 'libxlsxwriter-*')
touch "$unpacked/.habuki-fetched"
rm -rf "$destination"
mv "$unpacked" "$destination"
