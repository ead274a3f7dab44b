#!/usr/bin/env bash
# ログイン時に起動 in kuvito.exe's tray menu, seen in the registry from
# outside: ticked, the user's Run key holds the value "kuvito" with the
# program's quoted path; unticked, the value is gone; deleted by hand, the
# next choice of the item ticks it again instead of trying to remove it.
#
#   exe-autostart.sh KUVITO_EXE WINE_RUN
source "$(dirname "$0")/exe-lib.sh"
run_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'

# The value's data, empty when there is none.
run_value() {
  "$wine_run" reg query "$run_key" /v kuvito 2>/dev/null | tr -d '\r' |
    sed -n 's/^ *kuvito *REG_SZ *//p'
}

# Chooses the fourth item, ログイン時に起動, with the mouse: Wine's menu
# rows are 16 pixels high, the first one's middle 10 from the top.
choose_item() {
  exe_open_menu
  exe_click_menu 58
}

"$wine_run" reg delete "$run_key" /v kuvito /f >/dev/null 2>&1
exe_start "$(exe_ini 2 5 5 5)"
exe_wait_window
expected="\"Z:${dir//\//\\}\\kuvito.exe\""

choose_item
until_true 50 test -n "$(run_value)" || fail "ticking wrote no Run value"
[ "$(run_value)" = "$expected" ] || fail "the Run value is $(run_value), not $expected"

choose_item
until_true 50 test -z "$(run_value)" || fail "unticking left the Run value $(run_value)"

choose_item
until_true 50 test -n "$(run_value)" || fail "ticking again wrote no Run value"
"$wine_run" reg delete "$run_key" /v kuvito /f >/dev/null 2>&1
choose_item
until_true 50 test -n "$(run_value)" || fail "after the value was deleted by hand the item did not tick it again"

exe_open_menu
exe_click_menu -8
exe_wait_exit
"$wine_run" reg delete "$run_key" /v kuvito /f >/dev/null 2>&1
echo "ログイン時に起動 wrote $expected into the Run key, removed it, and ticked it again after it was deleted by hand"
