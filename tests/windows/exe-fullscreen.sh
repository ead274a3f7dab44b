#!/usr/bin/env bash
# kuvito.exe steps aside for a full-screen window under Wine: another
# program's window with a caption in front leaves the character shown; a
# window without a frame filling the monitor hides it; once that is closed
# the character is back where it was, and the user's window is still the
# active one. Prints how long hiding and coming back took.
#
#   exe-fullscreen.sh KUVITO_EXE WINE_RUN EXE_PROBE
source "$(dirname "$0")/exe-lib.sh"
probe=$(realpath "$3")
trap 'cleanup; "$wine_run" "$probe" release fullscreen; "$wine_run" "$probe" release window' EXIT

now_ms() { echo $(($(date +%s%N) / 1000000)); }
# ms_until TRIES COMMAND...: runs the command every 20 ms until it succeeds
# and prints the milliseconds that took; fails after TRIES.
ms_until() {
  local n=$1 start
  shift
  start=$(now_ms)
  for _ in $(seq "$n"); do
    "$@" && { echo $(($(now_ms) - start)); return 0; }
    sleep 0.02
  done
  return 1
}
character_shown() { exe_find_window 走れクヴィトくん >/dev/null; }
character_hidden() { ! character_shown; }
probe_window() { xwininfo -root -tree | awk -v t="\"$1\":" 'index($0, t) {print $1; exit}'; }

# Stepping in place, so that only hiding could move the character.
exe_start "$(exe_ini 1 5 0 0)"
exe_wait_window
read -r x0 y0 _ _ < <(exe_geometry)

(exec "$wine_run" "$probe" window >"$dir/window.log" 2>&1) &
others+=($!)
until_true 150 grep -q shown "$dir/window.log" || fail "the probe's window did not come"
user_window=$(probe_window "kuvito probe window")
[ -n "$user_window" ] || fail "no X window for the probe's window"
sleep 1
character_shown || fail "a window with a caption in front hid the character"

(exec "$wine_run" "$probe" fullscreen >"$dir/fullscreen.log" 2>&1) &
others+=($!)
ms_until 500 grep -q shown "$dir/fullscreen.log" >/dev/null || fail "the full-screen window did not come"
hide_ms=$(ms_until 150 character_hidden) || fail "the character stayed shown over the full-screen window"

"$wine_run" "$probe" release fullscreen || fail "the full-screen window could not be closed"
gone() { [ -z "$(probe_window "kuvito probe full screen")" ]; }
until_true 50 gone || fail "the full-screen window stayed"
back_ms=$(ms_until 150 character_shown) || fail "the character did not come back"
read -r x y _ _ < <(exe_geometry)
[ "$x,$y" = "$x0,$y0" ] || fail "it came back at $x,$y, it was at $x0,$y0"
sleep 0.5
active=$(xprop -root _NET_ACTIVE_WINDOW | awk '{print $NF}')
[ "$((active))" = "$((user_window))" ] || fail "the active window is $active, not the user's window $user_window"
front=$("$wine_run" "$probe" front)
[ "$front" = "kuvito probe window" ] || fail "Windows has \"$front\" in front, not the user's window"

"$wine_run" "$probe" release window
exe_open_menu
exe_click_menu -8
exe_wait_exit
echo "kuvito.exe hid ${hide_ms} ms after the full-screen window was shown and came back ${back_ms} ms after it was gone, where it was, leaving the user's window active"
