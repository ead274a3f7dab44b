#!/usr/bin/env bash
# One kuvito.exe per logon session under Wine: a second start makes no
# window and no notification icon of its own, calls the running character to
# the pointer and ends with exit code 0 within 2 s; once the running one is
# killed outright, the next start runs.
#
#   exe-single.sh KUVITO_EXE WINE_RUN
source "$(dirname "$0")/exe-lib.sh"

# The notification icons in the panel, one a line (see exe_open_menu).
icons() {
  xwininfo -root -tree | awk '/\("explorer.exe" "explorer.exe"\)/ && $0 !~ /1x1\+/ &&
    $0 ~ /[0-9]+x[0-9]+\+0\+0 +\+[0-9]+\+[0-9]+/'
}

# Stepping in place, so that only the call moves the character.
exe_start "$(exe_ini 1 5 0 0)"
exe_wait_window
until_true 50 test -n "$(icons)" || fail "no notification icon in the panel"
windows_before=$(exe_windows)
icons_before=$(icons | wc -l)
px=$((screen_w / 2 + 100))
py=$((screen_h / 2))
xdotool mousemove "$px" "$py"

(cd "$dir" && exec "$wine_run" ./kuvito.exe >"$dir/second.log" 2>&1) &
second=$!
until_true 20 eval '! kill -0 "$second" 2>/dev/null' || fail "the second start still runs after 2 s"
wait "$second"
code=$?
[ "$code" = 0 ] || fail "the second start ended with exit code $code: $(cat "$dir/second.log")"
[ "$(wc -l <"$dir/second.log")" = 1 ] || fail "the second start said: $(cat "$dir/second.log")"

near_pointer() {
  local x y w h
  read -r x y w h < <(exe_geometry)
  [ "$x" -lt "$px" ] && [ $((x + w)) -gt "$px" ] && [ "$y" -gt "$py" ] && [ "$y" -lt $((py + h)) ]
}
until_true 30 near_pointer || fail "the running character did not come to the pointer: $(exe_geometry)"
sleep 0.5
[ "$(exe_windows)" = "$windows_before" ] || fail "the second start left windows"
[ "$(icons | wc -l)" = "$icons_before" ] || fail "a second notification icon appeared"

# A crash: the session's claim goes with the process.
first_program=$program_pid
kill -9 "$program_pid"
wait "$pid"
pid=""
program_pid=""
until_true 50 test -z "$(exe_find_window 走れクヴィトくん)" || fail "the killed program's window stayed"
exe_start
exe_wait_window
[ "$program_pid" != "$first_program" ] || fail "no new program"
exe_open_menu
exe_click_menu -8
exe_wait_exit
echo "kuvito.exe ran once per session: the second start called the first to the pointer and ended with 0, and a start after a kill ran"
