#!/usr/bin/env bash
# kuvito.exe speaks English where Windows' language is not Japanese (Wine
# takes it from the locale): the window's caption, the settings dialog and
# the about box, opened from the tray menu. Both dialogs are photographed
# into OUT_DIR, to be looked at for captions that do not fit.
#
#   exe-language.sh KUVITO_EXE WINE_RUN OUT_DIR
source "$(dirname "$0")/exe-lib.sh"
out=$3
mkdir -p "$out"
exe_locale=en_US.UTF-8
exe_title="Run, Kuvito!"

# opens_dialog MENU_Y TITLE NAME KEY: the menu item at MENU_Y opens a window
# of that title, photographed as NAME.png and closed again with KEY.
opens_dialog() {
  local dialog="" title=$2
  exe_open_menu
  exe_click_menu "$1"
  until_true 100 eval 'dialog=$(exe_find_window "$title")' || fail "the menu opened no window named $title"
  sleep 0.5 # drawn
  import -window "$dialog" "$out/$3.png" || fail "no picture of $title"
  xdotool windowactivate "$dialog" key "$4" 2>/dev/null
  until_true 50 eval '! exe_find_window "$title" >/dev/null' || fail "$4 did not close $title"
}

exe_start
exe_wait_window
opens_dialog 10 "Run, Kuvito! Settings" settings-dialog-en-wine Escape
opens_dialog 26 About about-dialog-en-wine Return
echo "kuvito.exe spoke English in $exe_locale; pictures in $out"
