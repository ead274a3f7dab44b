#!/usr/bin/env bash
# kuvito.exe's movement under Wine on the test's virtual desktop, one
# scenario a run, checked as the Linux end-to-end tests check the Linux
# program: chase (mode 1 reaches the pointer and stands there), wander (mode
# 2 stays on the screen), taskbar (mode 3 stands on the work area's bottom,
# which is what Windows reports of the panel under Wine), window (mode 4
# walks on the front window's top edge and wanders without one), step (mode
# 5 stays and faces the pointer), drag (the window follows the pointer's
# travel and the frames change again after the drop).
#
#   exe-modes.sh KUVITO_EXE WINE_RUN ART_DIR SCENARIO EXE_PROBE
source "$(dirname "$0")/exe-lib.sh"
art_dir=$3
scenario=$4
probe=$(realpath "$5")

# The figure's left and right edges and its feet on the screen, then the
# window's corner, which is the form's.
figure() {
  local x y sw sh sx sy
  read -r x y _ _ < <(exe_geometry)
  read -r sw sh sx sy < <(exe_shape)
  echo $((x + sx)) $((x + sx + sw)) $((y + sy + sh)) "$x" "$y"
}
# Wanders: the figure stays on the screen and goes to more than five places.
wanders() {
  local -A places
  local left right feet x y
  for _ in $(seq 60); do
    read -r left right feet x y < <(figure)
    [ "$left" -ge 0 ] && [ "$right" -le "$screen_w" ] && [ "$feet" -le "$screen_h" ] && [ "$y" -ge 0 ] ||
      fail "the figure left the screen: $left..$right, feet at $feet"
    places[$x,$y]=1
    sleep 0.05
  done
  [ "${#places[@]}" -gt 5 ] || fail "it hardly moved: ${!places[*]}"
}

case $scenario in
chase)
  xdotool mousemove 500 400
  exe_start "$(exe_ini 1 1 0 0)"
  exe_wait_window
  there() { read -r x y _ _ < <(exe_geometry) && [ "$x,$y" = 500,400 ]; }
  until_true 100 there || fail "it stopped at $x,$y, the pointer is at 500,400"
  # On the pointer it stands, alternating its two idle frames; the last
  # step's frame may show until the next tick.
  idle=$(printf '%s\n' "$(exe_art_extents 1)" "$(exe_art_extents 2)" | sort)
  idle_shown() { grep -qxF "$(exe_shape)" <<<"$idle"; }
  until_true 10 idle_shown || fail "no idle frame on the pointer: $(exe_shape)"
  seen=$(exe_shapes_seen 20)
  [ "$seen" = "$idle" ] ||
    fail "not the idle frames: $seen"
  ;;
wander)
  exe_start "$(exe_ini 1 2 0 0)"
  exe_wait_window
  wanders
  ;;
taskbar)
  exe_start "$(exe_ini 1 3 0 0)"
  exe_wait_window
  read -r _ area_y _ area_h < <(xprop -root _NET_WORKAREA | tr -d , | awk '{print $3, $4, $5, $6}')
  on_panel() { read -r _ _ feet _ < <(figure) && [ "$feet" = $((area_y + area_h)) ]; }
  until_true 50 on_panel || fail "the feet are at $feet, the work area ends at $((area_y + area_h))"
  for _ in $(seq 20); do
    on_panel || fail "the feet left the panel's top: $feet"
    sleep 0.05
  done
  ;;
window)
  exe_start "$(exe_ini 1 4 0 0)"
  exe_wait_window
  # Started after the program, the probe's window is the front window as
  # Windows sees it (Wine makes the notification icon's window the front one
  # when the icon comes). Undecorated, its window rectangle is its X window.
  "$wine_run" reg add 'HKCU\Software\Wine\AppDefaults\exe-probe.exe\X11 Driver' /v Decorated /d N /f >/dev/null
  trap 'cleanup; "$wine_run" "$probe" release window' EXIT
  (exec "$wine_run" "$probe" window >"$dir/window.log" 2>&1) &
  until_true 300 grep -q shown "$dir/window.log" || fail "the probe's window did not come"
  front=""
  # The tree is read while Wine makes and ends windows of its own: a walk
  # that meets one gone ends in an error, and only what it found counts.
  find_front() {
    front=$(xwininfo -root -tree 2>/dev/null | awk '/"kuvito probe window":/ {w = $1} END {print w}')
    [ -n "$front" ]
  }
  until_true 50 find_front || fail "no X window for the probe's window"
  xdotool windowmove "$front" 300 300 windowsize "$front" 400 150
  moved() { read -r nx ny nw _ < <(exe_geometry "$front") && [ "$nx,$ny,$nw" = 300,300,400 ]; }
  until_true 20 moved || fail "the window stayed at $nx,$ny"
  on_window() {
    read -r left right feet _ < <(figure)
    [ "$feet" = "$ny" ] && [ "$left" -ge "$nx" ] && [ "$right" -le $((nx + nw)) ]
  }
  until_true 50 on_window || fail "not on the window's top edge: $left..$right, feet at $feet"
  for _ in $(seq 30); do
    on_window || fail "left the window's top edge: $left..$right, feet at $feet"
    sleep 0.05
  done
  "$wine_run" "$probe" release window || fail "the probe's window could not be closed"
  wanders
  ;;
step | drag)
  xdotool mousemove $((screen_w - 100)) $((screen_h / 2))
  exe_start "$(exe_ini 1 5 0 0)"
  exe_wait_window
  right=$(exe_art_extents 6)
  left=$(exe_art_extents 4)
  # Frames 5 and 6 face right, 3 and 4 left; 3 and 5 have the same extents.
  shows() {
    local seen
    seen=$(exe_shapes_seen 20)
    grep -qx "$1" <<<"$seen" && ! grep -qx "$2" <<<"$seen"
  }
  until_true 20 shows "$right" "$left" || fail "not facing right"
  read -r x0 y0 _ _ < <(exe_geometry)
  if [ "$scenario" = step ]; then
    xdotool mousemove 0 $((screen_h / 2))
    until_true 20 shows "$left" "$right" || fail "not facing left"
    read -r x y _ _ < <(exe_geometry)
    [ "$x,$y" = "$x0,$y0" ] || fail "it moved from $x0,$y0 to $x,$y"
  else
    # Grabbed by the belly, where every frame has figure pixels.
    gx=$((x0 + 26)) gy=$((y0 + 65))
    xdotool mousemove $gx $gy mousedown 1
    sleep 0.2
    for i in $(seq 10); do
      xdotool mousemove $((gx + 30 * i)) $((gy + 20 * i))
      sleep 0.04
    done
    xdotool mouseup 1
    dropped() { read -r x y _ _ < <(exe_geometry) && [ "$x,$y" = "$((x0 + 300)),$((y0 + 200))" ]; }
    until_true 50 dropped || fail "dropped at $x,$y, grabbed at $x0,$y0"
    [ "$(exe_shapes_seen 20 | wc -l)" -gt 1 ] || fail "the frames no longer change after the drop"
  fi
  ;;
*) fail "no scenario $scenario" ;;
esac
exe_open_menu
exe_click_menu -8
exe_wait_exit
echo "kuvito.exe: $scenario as on Linux"
