# What kuvito.exe's end-to-end scripts share, sourced by them. They see the
# program only from outside through X on the test's virtual desktop
# (tools/windows.sh's desktop stage), as the Linux end-to-end tests see the
# Linux program. Each function sets plain variables or prints numbers, and
# fail ends the script with the window tree for the log.
#
#   source exe-lib.sh KUVITO_EXE WINE_RUN
set -uo pipefail
exe=$1
wine_run=$2
if [ -z "${KUVITO_WINE_DISPLAY:-}" ]; then
  echo "${0##*/}: needs the virtual desktop (KUVITO_WINE_DISPLAY)" >&2
  exit 1
fi
export DISPLAY=$KUVITO_WINE_DISPLAY
read -r screen_w screen_h < <(xwininfo -root | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w, h}')

dir=$(mktemp -d "${TMPDIR:-/tmp}/kuvito-exe.XXXXXX")
# The scenarios read the Japanese captions: kuvito.exe speaks the language
# Windows shows its own menus in, which Wine takes from the locale (C is
# English). Wine needs the locale itself, not only its name, or it cannot
# open a program in a folder with a Japanese name; it is made here (LOCPATH)
# so that the machine needs no Japanese locale of its own.
locales=$(mktemp -d "${TMPDIR:-/tmp}/kuvito-locale.XXXXXX")
localedef -i ja_JP -f UTF-8 "$locales/ja_JP.UTF-8" 2>/dev/null
localedef -i en_US -f UTF-8 "$locales/en_US.UTF-8" 2>/dev/null
chmod -R a+rX "$locales"
pid=""
program_pid=""
run_as=() # what starts the program as another user; empty: as this one
window=""
others=() # processes of other programs a script started
cleanup() {
  [ -n "$program_pid" ] && kill "$program_pid" 2>/dev/null
  for p in "${others[@]}"; do kill "$p" 2>/dev/null; done
  [ -n "$pid" ] && wait "$pid" 2>/dev/null
  rm -rf "$dir" "$locales"
}
trap cleanup EXIT
fail() {
  echo "FAILED: $1" >&2
  xwininfo -root -tree >&2
  exit 1
}

# until_true TRIES COMMAND...: runs the command every 0.1 s until it succeeds.
until_true() {
  local n=$1
  shift
  for _ in $(seq "$n"); do
    "$@" && return 0
    sleep 0.1
  done
  return 1
}

# exe_start [INI_TEXT]: the program in a folder of its own ($dir), as unpacked
# from the zip, with that kuvito.ini beside it or none, in the locale
# exe_locale names.
exe_locale=ja_JP.UTF-8
exe_start() {
  cp "$exe" "$dir/kuvito.exe"
  [ $# -gt 0 ] && printf '%s' "$1" >"$dir/kuvito.ini"
  (cd "$dir" && exec "${run_as[@]}" env LOCPATH="$locales" LANG="$exe_locale" LC_ALL="$exe_locale" "$wine_run" \
    ./kuvito.exe) &
  pid=$!
}

# kuvito.ini's text as the settings dialog writes it: exe_ini TEMAE IDOU SPEED IDOUR.
exe_ini() { printf '[kuvito]\r\nspeed=%s\r\nidour=%s\r\ntemae=%s\r\nidou=%s\r\n' "$3" "$4" "$1" "$2"; }

# X windows of the program (Wine names them after the exe), one a line.
exe_windows() { xwininfo -root -tree | awk '/"kuvito.exe"/ {print $1}' | sort; }

# exe_find_window TITLE: a shown window of that name, or nothing.
exe_find_window() {
  local w
  w=$(xwininfo -root -tree | awk -v t="\"$1\":" 'index($0, t) {print $1; exit}')
  [ -n "$w" ] && xwininfo -id "$w" | grep -q IsViewable && echo "$w"
}

# exe_wait_window: sets window and program_pid, for the window named
# exe_title (the Japanese caption unless a script says otherwise). It gets its caption
# with its layout, before its first frame shapes it and it is shown: it counts
# once it is shown.
exe_title=走れクヴィトくん
exe_wait_window() {
  for _ in $(seq 60); do
    window=$(exe_find_window "$exe_title") && break
    sleep 0.5
  done
  [ -n "$window" ] || fail "no shown window named $exe_title"
  program_pid=$(xprop -id "$window" _NET_WM_PID | awk '{print $3}')
}

# exe_geometry [WINDOW]: prints x y width height on the screen.
exe_geometry() {
  xwininfo -id "${1:-$window}" | awk '/Absolute upper-left X:/ {x=$4} /Absolute upper-left Y:/ {y=$4}
    /Width:/ {w=$2} /Height:/ {h=$2} END {print x, y, w, h}'
}

# exe_shape: prints the X shape's extents (Wine makes the window region a
# shape) as width height x y, relative to the window; nothing while unshaped.
exe_shape() {
  xwininfo -id "$window" -shape | awk '/Window shape extents:/ {print $4}' | tr 'x+' '  '
}

# exe_art_extents N: the extents of the figure in frame N of the artwork in
# $art_dir, in exe_shape's form, for telling from outside which frame the
# window shows.
exe_art_extents() {
  local bmp=$art_dir/Rgn$1.bmp w h
  read -r w h < <(od -An -j18 -N8 -tu4 "$bmp")
  od -An -v -tu1 -j54 "$bmp" | awk -v w="$w" -v h="$h" '{for (i = 1; i <= NF; i++) b[n++] = $i}
    END {s = int((w * 3 + 3) / 4) * 4; x0 = w; y0 = h; x1 = y1 = -1
      for (y = 0; y < h; y++) for (x = 0; x < w; x++) {
        o = (h - 1 - y) * s + x * 3
        if (b[o] == b[0] && b[o + 1] == b[1] && b[o + 2] == b[2]) continue
        if (x < x0) x0 = x; if (x > x1) x1 = x; if (y < y0) y0 = y; if (y > y1) y1 = y }
      print x1 - x0 + 1, y1 - y0 + 1, x0, y0}'
}

# exe_shapes_seen N: the shapes the window shows in N looks 0.05 s apart, one
# a line. Looks with no pause all fit in one frame of the fastest timer (50 ms)
# on an idle machine, and would see one frame where the program shows two.
exe_shapes_seen() { for _ in $(seq "$1"); do exe_shape && sleep 0.05; done | sort -u; }

# exe_open_menu: opens the tray icon's menu with a right click and sets menu
# to its X window. The icon's window belongs to the prefix's explorer.exe,
# docked in the panel; the menu is a new window of the program.
exe_open_menu() {
  local before icon icon_x icon_y w
  before=$(exe_windows)
  icon=$(xwininfo -root -tree | awk '/\("explorer.exe" "explorer.exe"\)/ && $0 !~ /1x1\+/ &&
    $0 ~ /[0-9]+x[0-9]+\+0\+0 +\+[0-9]+\+[0-9]+/ {g=$NF} END {print g}')
  [ -n "$icon" ] || fail "no notification icon in the panel"
  read -r icon_x icon_y < <(tr '+' ' ' <<<"$icon")
  menu=""
  for _ in 1 2 3; do
    xdotool mousemove $((icon_x + 8)) $((icon_y + 8)) click 3
    for _ in $(seq 10); do
      sleep 0.3
      for w in $(comm -13 <(echo "$before") <(exe_windows)); do
        xwininfo -id "$w" | grep -q IsViewable && menu=$w
      done
      [ -n "$menu" ] && return 0
    done
  done
  fail "the tray icon's menu did not open"
}

# exe_click_menu Y: clicks the open menu at Y pixels from its top, or from its
# bottom if Y is negative (-8 is the last item, 終了).
exe_click_menu() {
  local mx my mw mh y=$1
  read -r mx my mw mh < <(exe_geometry "$menu")
  [ "$y" -lt 0 ] && y=$((mh + y))
  xdotool mousemove $((mx + mw / 2)) $((my + y))
  sleep 0.3
  xdotool click 1
}

# exe_wait_exit: waits for the program to end after it was asked to and
# fails unless it ended with exit code 0.
exe_wait_exit() {
  local code
  for _ in $(seq 40); do
    kill -0 "$program_pid" 2>/dev/null || break
    sleep 0.25
  done
  kill -0 "$program_pid" 2>/dev/null && fail "the program is still running after 終了"
  wait "$pid"
  code=$?
  pid=""
  program_pid=""
  [ "$code" = 0 ] || fail "the program ended with exit code $code"
}
