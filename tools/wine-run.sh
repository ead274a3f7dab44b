#!/usr/bin/env bash
# Runs one Windows program under Wine for the tests: wine-run.sh PROGRAM.exe ARGS...
# ctest starts every cross-compiled test program through it.
#
# The Wine prefix must be named by the caller (tools/windows.sh makes a fresh
# one per run); the user's own ~/.wine is never touched. Wine gets no display,
# so it can open no window or dialog, unless KUVITO_WINE_DISPLAY names one
# (the virtual desktop tools/windows.sh runs the desktop tests on); no debug
# chatter, and no Mono or Gecko (which it would otherwise offer to download).
set -euo pipefail
if [ -z "${WINEPREFIX:-}" ] || [ ! -d "$WINEPREFIX" ]; then
  echo "wine-run.sh: set WINEPREFIX to a prefix made for this run (tools/windows.sh does)" >&2
  exit 2
fi
wine=$(command -v wine64 || true)
[ -n "$wine" ] || wine=/usr/lib/wine/wine64
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" WINEARCH=win64
unset DISPLAY WAYLAND_DISPLAY
if [ -n "${KUVITO_WINE_DISPLAY:-}" ]; then
  export DISPLAY=$KUVITO_WINE_DISPLAY
fi
# Windows programs end their lines with CR LF; the test tools read LF, each
# line as soon as it is written (a script may wait for a line from a helper
# that goes on running).
"$wine" "$@" | stdbuf -oL tr -d '\r'
