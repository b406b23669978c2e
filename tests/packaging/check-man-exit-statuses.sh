#!/usr/bin/env bash
# The manual page's EXIT STATUS section lists exactly the statuses the program's --help lists.
set -euo pipefail
program=$1
page=$2
from_help=$("$program" --help | sed -n '/^Exit status:/,$p' | grep -oE '^  [0-9]+  ' | tr -d ' ')
from_page=$(sed -n '/^\.SH EXIT STATUS/,/^\.SH [^E]/p' "$page" | grep -oE '^\.B [0-9]+$' | cut -c4-)
if [ -z "$from_help" ] || [ "$from_help" != "$from_page" ]; then
  echo "exit statuses differ between $program --help (<) and $page (>):" >&2
  diff <(echo "$from_help") <(echo "$from_page") >&2
  exit 1
fi
echo "$(basename "$page"): exit statuses $(echo "$from_help" | tr '\n' ' ')"
