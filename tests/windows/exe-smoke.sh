#!/usr/bin/env bash
# kuvito.exe under Wine on the test's virtual desktop (tools/windows.sh's
# desktop stage), seen only from outside through X, as the Linux end-to-end
# tests see the Linux program: it starts, its window is shaped like a frame
# of the character and kept off the taskbar, it moves, and 終了 in its tray
# icon's menu ends it with exit code 0.
#
#   exe-smoke.sh KUVITO_EXE WINE_RUN
set -uo pipefail
exe=$1
wine_run=$2
if [ -z "${KUVITO_WINE_DISPLAY:-}" ]; then
  echo "exe-smoke.sh: needs the virtual desktop (KUVITO_WINE_DISPLAY)" >&2
  exit 1
fi
export DISPLAY=$KUVITO_WINE_DISPLAY

dir=$(mktemp -d "${TMPDIR:-/tmp}/kuvito-exe.XXXXXX")
pid=""
program_pid=""
cleanup() {
  [ -n "$program_pid" ] && kill "$program_pid" 2>/dev/null
  [ -n "$pid" ] && wait "$pid" 2>/dev/null
  rm -rf "$dir"
}
trap cleanup EXIT
fail() {
  echo "FAILED: $1" >&2
  xwininfo -root -tree >&2
  exit 1
}

# The program in a folder of its own, as unpacked from the zip, with no
# kuvito.ini yet.
cp "$exe" "$dir/kuvito.exe"
(cd "$dir" && exec "$wine_run" ./kuvito.exe) &
pid=$!

# The pointer far from where the window starts, so that mode 1 (the
# default without a kuvito.ini) has somewhere to go.
read -r screen_w screen_h < <(xwininfo -root | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w, h}')
xdotool mousemove $((screen_w * 3 / 4)) $((screen_h / 2))

# The window gets its caption with its layout, before its first frame
# shapes it and it is shown: it counts once it is shown.
window=""
for _ in $(seq 60); do
  window=$(xwininfo -root -tree | awk '/"走れクヴィトくん":/ {print $1; exit}')
  if [ -n "$window" ] && xwininfo -id "$window" | grep -q IsViewable; then
    break
  fi
  sleep 0.5
done
[ -n "$window" ] || fail "no window named 走れクヴィトくん"
xwininfo -id "$window" | grep -q IsViewable || fail "the window 走れクヴィトくん is not shown"
program_pid=$(xprop -id "$window" _NET_WM_PID | awk '{print $3}')

geometry() { xwininfo -id "$window" | awk '/Absolute upper-left X:/ {x=$4} /Absolute upper-left Y:/ {y=$4} /Width:/ {w=$2} /Height:/ {h=$2} END {print x, y, w, h}'; }
read -r x0 y0 width height < <(geometry)

# The shape: Wine makes the window region an X shape. A frame of the
# character lies inside the form and covers less than all of it.
shape=""
for _ in $(seq 20); do
  shape=$(xwininfo -id "$window" -shape | awk '/Window shape extents:/ {print $4}')
  [ -n "$shape" ] && break
  sleep 0.5
done
[ -n "$shape" ] || fail "the window has no shape"
shape_w=${shape%%x*}
rest=${shape#*x}
shape_h=${rest%%+*}
[ "$shape_w" -gt 0 ] && [ "$shape_h" -gt 0 ] || fail "the shape is empty ($shape)"
[ $((shape_w * shape_h)) -lt $((width * height)) ] || fail "the shape $shape covers the whole ${width}x$height window"

states=$(xprop -id "$window" _NET_WM_STATE)
[[ $states == *_NET_WM_STATE_SKIP_TASKBAR* ]] || fail "the window is not kept off the taskbar: $states"

moved=0
for _ in $(seq 20); do
  sleep 0.5
  read -r x y _ _ < <(geometry)
  if [ "$x" != "$x0" ] || [ "$y" != "$y0" ]; then
    moved=1
    break
  fi
done
[ "$moved" = 1 ] || fail "the window stayed at $x0,$y0 while the pointer was elsewhere"

# 終了, the last item of the tray icon's menu. The icon's X window belongs
# to the prefix's explorer.exe, docked in the panel; the menu is the
# program's own new window.
before=$(xwininfo -root -tree | awk '/"kuvito.exe"/ {print $1}' | sort)
icon=$(xwininfo -root -tree | awk '/\("explorer.exe" "explorer.exe"\)/ && $0 !~ /1x1\+/ && $0 ~ /[0-9]+x[0-9]+\+0\+0 +\+[0-9]+\+[0-9]+/ {g=$NF} END {print g}')
[ -n "$icon" ] || fail "no notification icon in the panel"
read -r icon_x icon_y < <(tr '+' ' ' <<<"$icon")
menu=""
for _ in 1 2 3; do
  xdotool mousemove $((icon_x + 8)) $((icon_y + 8)) click 3
  for _ in $(seq 10); do
    sleep 0.3
    for w in $(comm -13 <(echo "$before") <(xwininfo -root -tree | awk '/"kuvito.exe"/ {print $1}' | sort)); do
      if xwininfo -id "$w" | grep -q "IsViewable"; then
        menu=$w
      fi
    done
    [ -n "$menu" ] && break 2
  done
done
[ -n "$menu" ] || fail "the tray icon's menu did not open"
read -r mx my mw mh < <(xwininfo -id "$menu" | awk '/Absolute upper-left X:/ {x=$4} /Absolute upper-left Y:/ {y=$4} /Width:/ {w=$2} /Height:/ {h=$2} END {print x, y, w, h}')
xdotool mousemove $((mx + mw / 2)) $((my + mh - 8))
sleep 0.3
xdotool click 1

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
echo "kuvito.exe started, shaped ($shape in ${width}x$height), off the taskbar, moved, and ended on 終了"
