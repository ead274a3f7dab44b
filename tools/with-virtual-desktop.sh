#!/usr/bin/env bash
# Runs a command inside a private virtual desktop: Xvfb on a display number it
# picks itself, openbox as the window manager, tint2 as the panel with its
# notification area, and a D-Bus session of its own. HOME and the XDG folders
# point into a temporary directory so nothing of the user's is read or written.
# Everything started here is stopped by process id when the command ends.
#
#   tools/with-virtual-desktop.sh [--size 1024x768] [--no-panel] [--keep DIR] -- command [args...]
#
# The command sees DISPLAY, KUVITO_VD_DIR (the temporary directory) and
# KUVITO_VD_PANEL_PID (empty with --no-panel). With --keep DIR the temporary
# directory (the X server's, window manager's and panel's logs, and the
# private home) is copied to DIR when the command ends, also when it fails.
set -euo pipefail

size=1024x768
panel=1
keep=""
while [ $# -gt 0 ]; do
  case "$1" in
    --size) size=$2; shift 2 ;;
    --no-panel) panel=0; shift ;;
    --keep) keep=$2; shift 2 ;;
    --) shift; break ;;
    *) break ;;
  esac
done
[ $# -gt 0 ] || { echo "usage: $0 [--size WxH] [--no-panel] [--keep DIR] -- command [args...]" >&2; exit 2; }

vd=$(mktemp -d -t kuvito-vd.XXXXXX)
pids=()
cleanup() {
  local rc=$?
  for ((i=${#pids[@]}-1; i>=0; i--)); do kill "${pids[i]}" 2>/dev/null || true; done
  sleep 0.2
  for pid in "${pids[@]}"; do kill -9 "$pid" 2>/dev/null || true; done
  if [ -n "$keep" ]; then
    mkdir -p "$keep" && cp -r "$vd"/. "$keep"/ 2>/dev/null || echo "could not keep $vd in $keep" >&2
  fi
  rm -rf "$vd"
  exit $rc
}
trap cleanup EXIT INT TERM

export HOME="$vd/home" XDG_CONFIG_HOME="$vd/config" XDG_CACHE_HOME="$vd/cache" \
       XDG_DATA_HOME="$vd/data" XDG_RUNTIME_DIR="$vd/runtime"
mkdir -p "$HOME" "$XDG_CONFIG_HOME" "$XDG_CACHE_HOME" "$XDG_DATA_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
unset WAYLAND_DISPLAY SESSION_MANAGER
export QT_QPA_PLATFORM=xcb

# Xvfb writes the display number it chose to the descriptor we hand it.
exec 3> "$vd/display"
Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp -noreset >"$vd/xvfb.log" 2>&1 &
pids+=($!)
exec 3>&-
for _ in $(seq 100); do
  [ -s "$vd/display" ] && break
  sleep 0.05
done
[ -s "$vd/display" ] || { echo "Xvfb did not start:" >&2; cat "$vd/xvfb.log" >&2; exit 1; }
export DISPLAY=":$(tr -dc 0-9 < "$vd/display")"

# A session bus of our own, so Qt neither finds the user's nor starts one that
# outlives the run.
eval "$(dbus-launch --sh-syntax)"
pids+=("$DBUS_SESSION_BUS_PID")

openbox --sm-disable >"$vd/openbox.log" 2>&1 &
pids+=($!)
for _ in $(seq 100); do
  xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
  sleep 0.05
done

export KUVITO_VD_PANEL_PID=""
if [ "$panel" = 1 ]; then
  tint2 >"$vd/tint2.log" 2>&1 &
  KUVITO_VD_PANEL_PID=$!
  pids+=("$KUVITO_VD_PANEL_PID")
  # The panel is ready once its window exists and it has reserved its strut.
  for _ in $(seq 200); do
    if xdotool search --classname tint2 >/dev/null 2>&1 &&
       ! xprop -root _NET_WORKAREA 2>/dev/null | grep -q "= 0, 0, ${size%x*}, ${size#*x}"; then
      break
    fi
    sleep 0.05
  done
  sleep 0.3
fi
export KUVITO_VD_DIR="$vd"

set +e
"$@"
rc=$?
set -e
exit $rc
