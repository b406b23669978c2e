#!/usr/bin/env bash
# Builds habuki and thins the bundled 30i example, showing the result.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/packages.sh
habuki_ensure_packages
cmake --preset default >/dev/null
cmake --build --preset default --target habuki
echo "== habuki examples/fs30i-example.txt"
build/default/cli/habuki examples/fs30i-example.txt
