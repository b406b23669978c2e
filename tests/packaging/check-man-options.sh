#!/usr/bin/env bash
# The manual page names every long option that the program's --help names, and no other; the
# options of each subcommand named after the page count too.
#   check-man-options.sh PROGRAM PAGE [SUBCOMMAND...]
set -euo pipefail
program=$1
page=$2
shift 2
from_help=$({ "$program" --help; for command in "$@"; do "$program" "$command" --help; done; } |
  grep -oE -- '--[a-z][a-z-]*' | sort -u)
from_page=$(sed 's/\\-/-/g' "$page" | grep -oE -- '--[a-z][a-z-]*' | sort -u)
if [ "$from_help" != "$from_page" ]; then
  echo "options differ between $program --help (<) and $page (>):" >&2
  diff <(echo "$from_help") <(echo "$from_page") >&2
  exit 1
fi
echo "$(basename "$page"): $(echo "$from_help" | tr '\n' ' ')"
