#!/usr/bin/env bash
# Checks that every C++ file is formatted as clang-format writes it, builds everything with
# warnings as errors and runs every test, then runs the whole suite again
# under AddressSanitizer and UndefinedBehaviorSanitizer, then fuzzes each libFuzzer target for
# 60 s (HABUKI_FUZZ_SECONDS to change it).
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/packages.sh
habuki_ensure_packages "${HABUKI_BUILD_PACKAGES[@]}" "${HABUKI_WINDOW_PACKAGES[@]}" \
  "${HABUKI_TEST_PACKAGES[@]}" "${HABUKI_FUZZ_PACKAGES[@]}"
git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run --Werror
cmake --preset ci
cmake --build --preset ci
ctest --preset ci
cmake --preset asan
cmake --build --preset asan
ctest --preset asan
scripts/fuzz.sh
