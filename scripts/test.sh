#!/usr/bin/env bash
# Checks that every C++ file is formatted as clang-format writes it, builds everything with
# warnings as errors and runs every test, then runs the whole suite again
# under AddressSanitizer and UndefinedBehaviorSanitizer, then fuzzes each libFuzzer target for
# 60 s (HABUKI_FUZZ_SECONDS to change it). Last, habuki for Windows: built with mingw-w64 with
# its tests and the zip for Windows users, the tests and the comparison with the Linux build
# run under wine; and the 32-bit command line built, which cannot run here.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/packages.sh
habuki_ensure_packages "${HABUKI_BUILD_PACKAGES[@]}" "${HABUKI_WINDOW_PACKAGES[@]}" \
  "${HABUKI_TEST_PACKAGES[@]}" "${HABUKI_FUZZ_PACKAGES[@]}" "${HABUKI_WINDOWS_PACKAGES[@]}"
git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run --Werror
cmake --preset ci
cmake --build --preset ci
ctest --preset ci
cmake --preset asan
cmake --build --preset asan
ctest --preset asan
scripts/fuzz.sh
# Wine makes its prefix at its first run, which takes a while: once here, before any test could
# race it (wineboot returns once the prefix is made). A wine server kept running between the
# tests' wine processes spares each of them its start; it is stopped at the end only when it was
# started here (status 2: one was running, perhaps one kept by its user, which is left alone).
export WINEDEBUG=-all
# Without .NET and a browser engine in the prefix: wine would offer to download them.
export WINEDLLOVERRIDES="mscoree=;mshtml="
wineboot -i
wineserver_started=0
if wineserver -p; then wineserver_started=1; else [ $? -eq 2 ]; fi
trap '[ $wineserver_started -eq 0 ] || wineserver -k' EXIT
scripts/windows-xlsxwriter-source.sh  # libxlsxwriter's Debian source, which both builds compile
cmake --preset windows
cmake --build --preset windows  # habuki.exe, the tests, the zip and the installer
ctest --preset windows          # with the comparison with build/ci's habuki
cmake --preset windows-i686
cmake --build --preset windows-i686
