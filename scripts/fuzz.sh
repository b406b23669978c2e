#!/usr/bin/env bash
# Builds the libFuzzer targets (preset fuzz) and runs each for a bounded time on a copy of its
# seed corpus, so the checked-in corpus stays as it is. Exits non-zero on any finding: a failed
# check, a sanitizer report, a leak or an input that takes longer than 10 s. The input that
# caused it is kept in build/fuzz/findings/, each run's log in build/fuzz/logs/.
#
#   scripts/fuzz.sh [SECONDS]   seconds per target; default $HABUKI_FUZZ_SECONDS, else 60
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-${HABUKI_FUZZ_SECONDS:-60}}"
. scripts/packages.sh
habuki_ensure_packages "${HABUKI_BUILD_PACKAGES[@]}" "${HABUKI_FUZZ_PACKAGES[@]}"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz

findings=build/fuzz/findings
logs=build/fuzz/logs
mkdir -p "$findings" "$logs"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# 30i records of 999, 1000 and 1001 entries, at and around the entry limit.
mkdir -p "$work/limits"
for entries in 999 1000 1001; do
  { printf '%%\r\nN00001Q1'; printf 'AP1%.0s' $(seq "$entries"); printf '\r\n%%\r\n'; } \
    >"$work/limits/entries-$entries.txt"
done

# Runs fuzzer $1 on a copy of fuzz/corpus/$1 with the options and further seed folders given
# after it. New inputs go to the copy only: libFuzzer writes into the first folder it is given.
run_fuzzer() {
  local name="$1" log="$logs/$1.log" status=0
  shift
  mkdir -p "$work/$name"
  cp fuzz/corpus/"$name"/* "$work/$name/" || return 1
  echo "== $name: ${seconds} s"
  "build/fuzz/fuzz/$name" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
    -artifact_prefix="$findings/$name-" "$work/$name" "$@" >"$log" 2>&1 || status=$?
  grep -E '^#[0-9]+[[:space:]]+DONE|^stat::|^Done ' "$log" || true
  if [ "$status" -ne 0 ]; then
    echo "$name found a fault (exit $status); its log ends:" >&2
    tail -n 40 "$log" >&2
  fi
  return "$status"
}

failed=0
run_fuzzer filter_fuzzer -max_len=4096 -dict=fuzz/filter.dict \
  examples tests/data "$work/limits" || failed=1
run_fuzzer engines_fuzzer -max_len=4096 -dict=fuzz/filter.dict \
  examples tests/data "$work/limits" || failed=1
run_fuzzer decimal_fuzzer -max_len=256 || failed=1
exit "$failed"
