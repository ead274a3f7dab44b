#!/usr/bin/env bash
# CPU per movement tick on GNOME Shell (Wayland, headless, Debian 12's 43):
# kuvito chasing the pointer at 50 ms with its GNOME Shell extension
# reporting, and what XWayland and gnome-shell spend on its account (their
# CPU with the same pointer moving and no kuvito subtracted), so that the
# three together stand next to bench/footprint/footprint.sh's X11 figures
# (kuvito + the X server). The pointer moves round a circle, one step every
# 100 ms, from a timer inside the shell (a virtual pointer; the shell runs
# in unsafe mode for that). Rounds take turns: the shell alone, then with
# kuvito; every figure is the median over the rounds (smallest-largest).
#
#   bench/footprint/gnome.sh [build-dir]       (default: build; run as root:
#       GNOME Shell runs only as an ordinary user, here kuvito-bench, in a
#       mount namespace that hides systemd's login manager)
#   KUVITO_BENCH_ROUNDS (default 3), KUVITO_BENCH_SECONDS per run (default 15)
set -euo pipefail
cd "$(dirname "$0")/../.."
build=${1:-build}
case $build in /*) ;; *) build="$PWD/$build" ;; esac
exe="$build/app/kuvito"
# The build tree's form of the extension, named by its UUID (KUVITO_APP_ID).
extension=$(ls -d "$build"/gnome-shell/43/*@* 2>/dev/null | head -n 1)
uuid=$(basename "${extension:-none}")
for f in "$exe" "$extension/extension.js"; do
  [ -e "$f" ] || { echo "$f is missing: build first (cmake --build $build --target kuvito)" >&2; exit 1; }
done
command -v gnome-shell >/dev/null || { echo "gnome-shell is not installed" >&2; exit 1; }
[ "$(id -u)" = 0 ] || { echo "run as root (see the comment at the top)" >&2; exit 1; }
seconds=${KUVITO_BENCH_SECONDS:-15}
rounds=${KUVITO_BENCH_ROUNDS:-3}
user=kuvito-bench
id "$user" >/dev/null 2>&1 || useradd -m "$user"
home=$(getent passwd "$user" | cut -d: -f6)

work=$(mktemp -d -t kuvito-gnome-bench.XXXXXX)
trap 'rm -rf "$work"' EXIT
chmod 755 "$work"
mkdir -p "$work/k50" "$home/.local/share/gnome-shell/extensions"
rm -rf "$home/.local/share/gnome-shell/extensions/$uuid"
cp -r "$extension" "$home/.local/share/gnome-shell/extensions/"
cp "$exe" "$work/k50/kuvito"
printf '[kuvito]\r\nspeed=0\r\nidour=5\r\ntemae=1\r\nidou=1\r\n' > "$work/k50/kuvito.ini"
chown -R "$user:" "$work" "$home/.local"

cat > "$work/session.sh" <<'SESSION'
set -euo pipefail
work=$1 seconds=$2 rounds=$3 uuid=$4
# kuvito enables only the extension the package installed; a copy in the
# user's folder is enabled as the user would.
gsettings set org.gnome.shell enabled-extensions "['$uuid']"
oncpu() { cat /proc/$1/task/*/schedstat 2>/dev/null | awk '{s += $1} END {printf "%.0f", s}'; }
gnome-shell --headless --wayland --virtual-monitor 1024x768 --unsafe-mode > "$work/shell.log" 2>&1 &
shell=$!
for _ in $(seq 100); do grep -q "public X11 display" "$work/shell.log" && break; sleep 0.2; done
export DISPLAY=$(grep -o "public X11 display :[0-9]*" "$work/shell.log" | grep -o ":[0-9]*")
sleep 5
export XAUTHORITY=$(ls "$XDG_RUNTIME_DIR"/.mutter-Xwaylandauth.* | head -n 1)
xwayland=$(pgrep -P "$shell" Xwayland | head -n 1)
eval_js() {
  gdbus call --session --dest org.gnome.Shell --object-path /org/gnome/Shell --method org.gnome.Shell.Eval "$1" >/dev/null
}
eval_js 'const {Clutter, GLib} = imports.gi;
  const vp = Clutter.get_default_backend().get_default_seat().create_virtual_device(Clutter.InputDeviceType.POINTER_DEVICE);
  let a = 0;
  global.kuvitoBenchMover = GLib.timeout_add(GLib.PRIORITY_DEFAULT, 100, () => {
    a = (a + 1) % 36;
    vp.notify_absolute_motion(global.get_current_time() * 1000,
      512 + 300 * Math.cos(a * Math.PI / 18), 384 + 200 * Math.sin(a * Math.PI / 18));
    return GLib.SOURCE_CONTINUE;
  });'
# The shell keeps busy for a while after it starts (its first minute's
# figures run half as high again): let it settle first.
sleep 20
for ((round = 1; round <= rounds; round++)); do
  s0=$(oncpu $shell); x0=$(oncpu $xwayland); sleep "$seconds"
  echo "base shell $(($(oncpu $shell) - s0))"; echo "base xwayland $(($(oncpu $xwayland) - x0))"
  QT_QPA_PLATFORM=xcb "$work/k50/kuvito" >/dev/null 2>&1 &
  pet=$!
  sleep 3
  p0=$(oncpu $pet); s0=$(oncpu $shell); x0=$(oncpu $xwayland); sleep "$seconds"
  echo "pet kuvito $(($(oncpu $pet) - p0))"; echo "pet shell $(($(oncpu $shell) - s0))"
  echo "pet xwayland $(($(oncpu $xwayland) - x0))"
  kill $pet; wait $pet 2>/dev/null || true
  echo "end round"
  sleep 1
done
kill $shell 2>/dev/null; wait $shell 2>/dev/null || true
SESSION

cat > "$work/user.sh" <<'USER'
set -euo pipefail
export XDG_RUNTIME_DIR=$1/run HOME=$4
mkdir -m 700 "$XDG_RUNTIME_DIR"
export XDG_SESSION_TYPE=wayland
dbus-run-session -- bash "$1/session.sh" "$1" "$2" "$3" "$5" > "$1/raw"
USER

unshare -m sh -c 'mount -t tmpfs none /run/systemd && mkdir -p /run/dbus && mount -t tmpfs none /run/dbus &&
  bus=$(dbus-daemon --system --fork --print-pid) && runuser -u "$1" -- bash "$2/user.sh" "$2" "$3" "$4" "$5" "$6"
  status=$?; kill $bus; exit $status' sh "$user" "$work" "$seconds" "$rounds" "$home" "$uuid"

# Per tick (50 ms), in µs, each round's shell-alone figures subtracted.
awk -v s="$seconds" '
  $1 == "base" { base[$2] = $3; next }
  $1 == "pet" { pet[$2] = $3; next }
  $1 == "end" {
    ticks = s * 1000 / 50
    k = pet["kuvito"] / ticks / 1000
    x = (pet["xwayland"] - base["xwayland"]) / ticks / 1000
    g = (pet["shell"] - base["shell"]) / ticks / 1000
    printf "%.1f %.1f %.1f %.1f %.2f %.2f\n", k, x, g, k + x + g, base["shell"] / s / 1e6, base["xwayland"] / s / 1e6
  }' "$work/raw" > "$work/rows"
spread() {
  cut -d' ' -f"$1" "$work/rows" | sort -g | awk '{a[NR] = $1}
    END { m = (NR % 2) ? a[(NR + 1) / 2] : (a[NR / 2] + a[NR / 2 + 1]) / 2
          printf "%.1f (%.1f-%.1f)", m, a[1], a[NR] }'
}
echo "kuvito on GNOME Shell $(gnome-shell --version | grep -o '[0-9.]*$'), $(date -u '+%Y-%m-%d %H:%M UTC'), $(uname -m), $(nproc) cores," \
  "$(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //'); load average $(cut -d' ' -f1-3 /proc/loadavg)"
echo "$rounds rounds of $seconds s; the shell alone with the pointer moving: $(spread 5) ms CPU per second, XWayland $(spread 6)"
echo
echo "| 50 ms chasing, CPU per tick (µs) | kuvito | XWayland | gnome-shell | together |"
echo "|---|---:|---:|---:|---:|"
echo "| GNOME Shell 43, extension reporting | $(spread 1) | $(spread 2) | $(spread 3) | $(spread 4) |"
