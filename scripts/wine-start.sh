# Sourced by the scripts that run Windows programs under wine. Now and then, on a loaded machine,
# wine fails to start a program at all: status 1, nothing said. habuki never ends so without a
# message, so such a run is made once more.

#   wine_started OUT ERR COMMAND...
# Runs COMMAND with its standard output into OUT and its standard error into ERR; gives its
# status.
wine_started() {
  local out=$1 err=$2 status
  shift 2
  "$@" >"$out" 2>"$err" && status=0 || status=$?
  if [ $status -eq 1 ] && [ ! -s "$out" ] && [ ! -s "$err" ]; then
    "$@" >"$out" 2>"$err" && status=0 || status=$?
  fi
  return $status
}

#   wine_run COMMAND...
# The same, its standard output and error then passed on.
wine_run() {
  local out err status
  out=$(mktemp) err=$(mktemp)
  wine_started "$out" "$err" "$@" && status=0 || status=$?
  cat "$out"
  cat "$err" >&2
  rm -f "$out" "$err"
  return $status
}
