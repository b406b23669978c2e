#!/usr/bin/env bash
# Builds the command line habuki alone (preset cli: no Qt, no tests) and thins the bundled 30i
# example, showing the result.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/packages.sh
habuki_ensure_packages "${HABUKI_BUILD_PACKAGES[@]}"
cmake --preset cli >/dev/null
cmake --build --preset cli
echo "== habuki examples/fs30i-example.txt"
build/cli/cli/habuki examples/fs30i-example.txt
