#!/usr/bin/env bash
# The program's command line and its start without a usable display, seen
# from outside: what it prints, where, and its exit status.
set -uo pipefail
kuvito=$1
failures=0
work=$(mktemp -d -t kuvito-cli.XXXXXX)
xvfb=
cleanup() {
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

# check NAME EXPECTED_STATUS STDOUT_PATTERN STDERR_PATTERN -- command...
# Patterns are extended regular expressions on the whole output; "" means
# the stream must be empty.
check() {
  local name=$1 status=$2 out=$3 err=$4
  shift 5
  "$@" >"$work/out" 2>"$work/err" </dev/null
  local got=$?
  local ok=1
  [ "$got" = "$status" ] || { echo "$name: exit status $got, expected $status"; ok=0; }
  for stream in out err; do
    local pattern=$out
    [ $stream = err ] && pattern=$err
    if [ -z "$pattern" ]; then
      [ -s "$work/$stream" ] && { echo "$name: unexpected std$stream:"; cat "$work/$stream"; ok=0; }
    elif ! tr '\n' '\a' <"$work/$stream" | grep -Eq "^${pattern}$"; then
      echo "$name: std$stream does not match /$pattern/:"
      cat "$work/$stream"
      ok=0
    fi
  done
  [ $ok = 1 ] && echo "ok: $name" || failures=$((failures + 1))
}

nl=$'\a'
usage="Usage: kuvito \[--help \| --version\]${nl}.*kuvito\(6\)\.${nl}"
no_x="kuvito needs an X11 desktop \(X\.Org or XWayland\)${nl}"

# None of these may touch the display: they run with one that cannot work.
check "--version" 0 "kuvito 1\.0${nl}" "" -- env DISPLAY=:4242 "$kuvito" --version
check "--help" 0 "$usage" "" -- env DISPLAY=:4242 "$kuvito" --help
check "-h" 0 "$usage" "" -- env DISPLAY=:4242 "$kuvito" -h
check "unknown option" 2 "" "kuvito: unknown option '--frob'${nl}${usage}" -- env DISPLAY=:4242 "$kuvito" --frob
check "unknown after a good one" 2 "" "kuvito: unknown option '-x'${nl}${usage}" \
  -- env DISPLAY=:4242 "$kuvito" --version -x
check "unknown before a good one" 2 "" "kuvito: unknown option '--frob'${nl}${usage}" \
  -- env DISPLAY=:4242 "$kuvito" --frob --help
check "stray argument" 2 "" "kuvito: unexpected argument 'now'${nl}${usage}" -- env DISPLAY=:4242 "$kuvito" now

check "no DISPLAY" 1 "" "kuvito: cannot open the display \(DISPLAY is not set\); ${no_x}" \
  -- env -u DISPLAY -u QT_QPA_PLATFORM -u WAYLAND_DISPLAY "$kuvito"
check "no server" 1 "" "kuvito: cannot open the display \":4242\"; ${no_x}" \
  -- env -u QT_QPA_PLATFORM DISPLAY=:4242 "$kuvito"

# A server that is there but refuses us: it demands a cookie we lack.
if command -v Xvfb >/dev/null && command -v xauth >/dev/null; then
  xauth -f "$work/server.auth" add :0 . "$(od -An -N16 -tx1 /dev/urandom | tr -d ' \n')" 2>/dev/null
  exec 3>"$work/display"
  Xvfb -displayfd 3 -auth "$work/server.auth" -nolisten tcp >/dev/null 2>&1 &
  xvfb=$!
  exec 3>&-
  for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.05; done
  display=":$(tr -dc 0-9 <"$work/display")"
  check "refusing server" 1 "" "kuvito: cannot open the display \"$display\" \(Authorization required[^$nl]*\); ${no_x}" \
    -- env -u QT_QPA_PLATFORM -u XAUTHORITY HOME="$work" DISPLAY="$display" "$kuvito"
else
  echo "skipped: refusing server (needs Xvfb and xauth)"
fi

[ $failures = 0 ] && echo "all passed" || echo "$failures failed"
[ $failures = 0 ]
