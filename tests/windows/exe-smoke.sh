#!/usr/bin/env bash
# kuvito.exe under Wine on the test's virtual desktop: it starts, its window
# is shaped like a frame of the character and kept off the taskbar, it moves,
# and 終了 in its tray icon's menu ends it with exit code 0.
#
#   exe-smoke.sh KUVITO_EXE WINE_RUN ART_DIR
source "$(dirname "$0")/exe-lib.sh"
art_dir=$3

# No kuvito.ini yet, so mode 1: the pointer far from where the window starts
# gives it somewhere to go.
exe_start
xdotool mousemove $((screen_w * 3 / 4)) $((screen_h / 2))
exe_wait_window
read -r x0 y0 _ _ < <(exe_geometry)

# The shape's extents are those of one of the character's frames, which lie
# at the form's corner.
shape=""
for _ in $(seq 20); do
  shape=$(exe_shape) && [ -n "$shape" ] && break
  sleep 0.5
done
[ -n "$shape" ] || fail "the window has no shape"
frames=$(for n in 1 2 3 4 5 6; do exe_art_extents $n; done)
grep -qx "$shape" <<<"$frames" || fail "the shape's extents ($shape) are no frame's"

states=$(xprop -id "$window" _NET_WM_STATE)
[[ $states == *_NET_WM_STATE_SKIP_TASKBAR* ]] || fail "the window is not kept off the taskbar: $states"

moved=0
for _ in $(seq 20); do
  sleep 0.5
  read -r x y _ _ < <(exe_geometry)
  if [ "$x" != "$x0" ] || [ "$y" != "$y0" ]; then
    moved=1
    break
  fi
done
[ "$moved" = 1 ] || fail "the window stayed at $x0,$y0 while the pointer was elsewhere"

exe_open_menu
exe_click_menu -8
exe_wait_exit
echo "kuvito.exe started, shaped like a frame, off the taskbar, moved, and ended on 終了"
