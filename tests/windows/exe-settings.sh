#!/usr/bin/env bash
# kuvito.ini under Wine, seen from outside through X as the Linux end-to-end
# tests see the Linux program, with a helper inside Windows for what X cannot
# show (the error box's text, a file held open).
#   written: 設定, 常に手前に表示 unticked and Enter write kuvito.ini beside
#     the program with the Linux program's bytes, and the window leaves the
#     front at once.
#   read-only, held, folder: a kuvito.ini that cannot be written (read-only;
#     held open without sharing by another program, so it cannot be read
#     either; a folder of that name) gives the error box with the file's full
#     path, the dialog stays open, nothing in the folder changes, and the
#     program goes on.
#   per-user: an ordinary user starts the program from a folder only root may
#     write, as one installed for everyone; the same choices go to the user's
#     %APPDATA%\kuvito\kuvito.ini, nothing into the program's folder, and the
#     next start reads them back.
#
#   exe-settings.sh KUVITO_EXE WINE_RUN EXE_PROBE written|read-only|held|folder|per-user
source "$(dirname "$0")/exe-lib.sh"
probe=$(realpath "$3")
scenario=$4

# A folder name beyond ASCII, so that the path goes through the wide calls
# and into the error box whole.
top=$dir
dir="$top/走れ くん"
mkdir "$dir"
wine=${wine:-/usr/lib/wine/wine64}
wineserver=${wineserver:-/usr/lib/wine/wineserver64}
# The user's Wine server ends first, and with it everything of the user's
# prefix, the program too, which cleanup would otherwise wait for if it never
# showed its window.
trap '[ ${#run_as[@]} -gt 0 ] && "${run_as[@]}" "$wineserver" -k
  cleanup; [ "$scenario" = held ] && "$wine_run" "$probe" release; rm -rf "$top"' EXIT
ini=$dir/kuvito.ini
case $scenario in
  written) ;;
  read-only)
    # Wine reports the read-only attribute for a file nobody may write, and
    # sets it so; the program checks the attribute, so running as root (as
    # Wine does here) hides nothing.
    exe_ini 2 1 5 5 >"$dir/kuvito.ini" && chmod a-w "$dir/kuvito.ini" ;;
  held)
    # Root reads a file whatever its permissions, so the file is made
    # unreadable the way Windows programs meet it: another one holds it.
    exe_ini 2 1 5 5 >"$dir/kuvito.ini"
    (cd "$dir" && exec "$wine_run" "$probe" hold kuvito.ini) >"$top/held" 2>&1 &
    for _ in $(seq 40); do grep -qx held "$top/held" && break; sleep 0.25; done
    grep -qx held "$top/held" || fail "the helper could not hold kuvito.ini" ;;
  folder) mkdir "$dir/kuvito.ini" ;;
  per-user)
    # Wine runs as root here, and root may write every folder: the program
    # would never leave its own. So an ordinary user runs it, in a Wine
    # prefix of the user's own (Wine refuses one it does not own), made on
    # this display as the desktop stage makes its own. The program's folder
    # stays root's and mode 755, as under Program Files.
    user=kuvito-tests
    id -u "$user" >/dev/null 2>&1 || useradd --system --no-create-home --shell /usr/sbin/nologin "$user" ||
      fail "cannot create the user $user"
    chmod 755 "$top"
    mkdir "$top/home" "$top/wine" && chown "$user:" "$top/home" "$top/wine"
    # Xvfb lets in local clients, unless the desktop is ever given an
    # authority file; then the user needs the server's leave.
    xhost "+SI:localuser:$user" >/dev/null
    run_as=(setpriv --reuid="$user" --regid="$user" --init-groups env -u XDG_RUNTIME_DIR -u XDG_CONFIG_HOME
      -u XDG_CACHE_HOME -u XDG_DATA_HOME HOME="$top/home" USER="$user" LOGNAME="$user" WINEPREFIX="$top/wine"
      WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=")
    # The server and the prefix's background programs, started here with
    # their output nowhere, stay up between the two starts, so that they
    # never hold a started program's output; a minute after the last
    # program, should this script be killed outright, they end by themselves.
    "${run_as[@]}" "$wineserver" -p60 || fail "the user's Wine server did not start"
    "${run_as[@]}" "$wine" wineboot --init >/dev/null 2>&1 || fail "Wine could not make the user's prefix"
    "${run_as[@]}" "$wine" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f \
      >/dev/null 2>&1
    ini=$top/wine/drive_c/users/$user/AppData/Roaming/kuvito/kuvito.ini ;;
  *) fail "unknown scenario $scenario" ;;
esac
snapshot() { (cd "$dir" && find . -printf '%p %y %m %s\n' | sort && cat kuvito.ini 2>/dev/null); }

above() { xprop -id "$window" _NET_WM_STATE | grep -q _NET_WM_STATE_ABOVE; }
focused() { [ "$(xdotool getwindowfocus)" = $(($1)) ]; }
# The error box has the program's title, as the mascot window has; it is the
# wider one.
error_box() {
  local w
  for w in $(exe_windows); do
    xwininfo -id "$w" | grep -q IsViewable && xprop -id "$w" WM_NAME | grep -q '"走れクヴィトくん"' &&
      [ "$(exe_geometry "$w" | cut -d' ' -f3)" -gt 150 ] && box=$w && return 0
  done
  return 1
}

exe_start
before=$(snapshot)
exe_wait_window
# temae=2 in a file it can read takes the window out of the front; where it
# cannot read, the defaults put it there.
if [ "$scenario" = read-only ]; then
  sleep 1
  above && fail "the read-only kuvito.ini was not read: the window is in front"
else
  until_true 100 above || fail "the window is not in front as the defaults want"
fi

exe_open_menu
exe_click_menu 10
dialog=""
until_true 100 eval 'dialog=$(exe_find_window 走れクヴィトくんの設定)' || fail "設定 opened no dialog"

if [ "$scenario" = written ] || [ "$scenario" = per-user ]; then
  read -r cx cy _ _ < <(exe_geometry "$dialog")
  xdotool mousemove $((cx + 24)) $((cy + 143)) click 1
  until_true 100 focused "$dialog" || fail "the dialog has not the focus"
  xdotool key Return
  until_true 100 eval '! exe_find_window 走れクヴィトくんの設定 >/dev/null' || fail "Enter did not close the dialog"
  cmp <(exe_ini 2 1 5 5) "$ini" || fail "kuvito.ini: $(od -c "$ini")"
  beside=$'kuvito.exe\nkuvito.ini'
  [ "$scenario" = per-user ] && beside=kuvito.exe
  [ "$(ls -A "$dir")" = "$beside" ] || fail "left beside the program: $(ls -A "$dir")"
  until_true 100 eval '! above' || fail "the window is still in front"
  [ "$(exe_find_window 走れクヴィトくん)" = "$window" ] || fail "the window was made anew"
  if [ "$scenario" = per-user ]; then
    exe_open_menu
    exe_click_menu -8
    exe_wait_exit
    exe_start
    exe_wait_window
    sleep 1
    above && fail "the user's kuvito.ini was not read again: the window is in front"
    echo "kuvito.exe kept the user's settings in %APPDATA% and read them back"
    exit 0
  fi
  echo "kuvito.exe wrote kuvito.ini as on Linux and left the front"
  exit 0
fi

until_true 100 focused "$dialog" || fail "the dialog has not the focus"
xdotool key Return
box=""
until_true 100 error_box || fail "OK showed no error box"
path="Z:$(realpath "$dir")\\kuvito.ini"
texts=$("$wine_run" "$probe" texts 走れクヴィトくん)
grep -qxF "${path//\//\\} に書き込めません." <<<"$texts" || fail "the error box says: $texts"
until_true 100 focused "$box" || fail "the error box has not the focus"
xdotool key Return
until_true 100 eval '! xwininfo -id "$box" 2>/dev/null | grep -q IsViewable' || fail "the error box stayed"
[ "$(exe_find_window 走れクヴィトくんの設定)" = "$dialog" ] || fail "the dialog did not stay open"
[ "$(snapshot)" = "$before" ] || fail "the folder changed: $(snapshot)"
# The program goes on: the dialog still cancels, and 終了 ends it.
xdotool key Escape
until_true 100 eval '! exe_find_window 走れクヴィトくんの設定 >/dev/null' || fail "Esc did not close the dialog"
exe_open_menu
exe_click_menu -8
exe_wait_exit
echo "kuvito.exe showed the error for a $scenario kuvito.ini and went on"
