#!/usr/bin/env bash
# The test command, in stages; each installs only the packages it needs (as root; otherwise it
# names them and stops). No stage named: all of them, in this order, as CI runs them.
#   format   every C++ file formatted as clang-format writes it
#   linux    everything built with warnings as errors (preset ci), every test run
#   asan     the whole suite again under AddressSanitizer and UndefinedBehaviorSanitizer
#   fuzz     each libFuzzer target for 60 s (HABUKI_FUZZ_SECONDS to change it)
#   windows  habuki for Windows built with mingw-w64 with its tests, the zip and the installer,
#            run under wine and compared with the Linux build; the 32-bit build, which cannot
#            run here, built only
#
#   scripts/test.sh [format|linux|asan|fuzz|windows]...
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/packages.sh

stage_format() {
  habuki_ensure_packages clang-format
  git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run --Werror
}

stage_linux() {
  habuki_ensure_packages "${HABUKI_BUILD_PACKAGES[@]}" "${HABUKI_QT_PACKAGES[@]}" \
    "${HABUKI_TEST_PACKAGES[@]}"
  cmake --preset ci
  cmake --build --preset ci
  ctest --preset ci
}

stage_asan() {
  habuki_ensure_packages "${HABUKI_BUILD_PACKAGES[@]}" "${HABUKI_QT_PACKAGES[@]}" \
    "${HABUKI_TEST_PACKAGES[@]}"
  cmake --preset asan
  cmake --build --preset asan
  ctest --preset asan
}

stage_fuzz() {
  scripts/fuzz.sh
}

# habuki.exe's results are compared with the Linux habuki of this tree: the ci preset's when the
# linux stage has configured it (rebuilt here, so it is never stale), else the cli preset's.
linux_habuki() {
  if [ -f build/ci/CMakeCache.txt ]; then
    cmake --build --preset ci --target habuki >&2
    echo "$PWD/build/ci/cli/habuki"
  else
    cmake --preset cli >&2
    cmake --build --preset cli --target habuki >&2
    echo "$PWD/build/cli/cli/habuki"
  fi
}

stage_windows() {
  habuki_ensure_packages "${HABUKI_BUILD_PACKAGES[@]}" "${HABUKI_WINDOWS_PACKAGES[@]}"
  local linux
  linux=$(linux_habuki)
  # Wine makes its prefix at its first run, which takes a while: once here, before any test
  # could race it (wineboot returns once the prefix is made). A wine server kept running between
  # the tests' wine processes spares each of them its start; it is stopped at the end only when
  # it was started here (status 2: one was running, perhaps one kept by its user, left alone).
  export WINEDEBUG=-all
  # Without .NET and a browser engine in the prefix: wine would offer to download them.
  export WINEDLLOVERRIDES="mscoree=;mshtml="
  wineboot -i
  wineserver_started=0
  if wineserver -p; then wineserver_started=1; else [ $? -eq 2 ]; fi
  trap '[ $wineserver_started -eq 0 ] || wineserver -k' EXIT
  scripts/windows-xlsxwriter-source.sh # libxlsxwriter's Debian source, which both builds compile
  cmake --preset windows -DHABUKI_LINUX_PROGRAM="$linux"
  cmake --build --preset windows # habuki.exe, the tests, the zip and the installer
  ctest --preset windows         # with the comparison with the Linux habuki
  cmake --preset windows-i686
  cmake --build --preset windows-i686
}

stages=("$@")
[ ${#stages[@]} -gt 0 ] || stages=(format linux asan fuzz windows)
for stage in "${stages[@]}"; do
  case $stage in
    format | linux | asan | fuzz | windows) ;;
    *)
      echo "scripts/test.sh: no stage \"$stage\"; the stages are format, linux, asan, fuzz and windows" >&2
      exit 2
      ;;
  esac
done
for stage in "${stages[@]}"; do
  echo "== scripts/test.sh: $stage" >&2
  "stage_$stage"
done
