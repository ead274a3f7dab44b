#!/usr/bin/env bash
# Footprint of kuvito next to oneko, a classic X11 desktop pet that also moves
# a shaped window on a timer, in one private virtual desktop:
#   - CPU per movement tick, of the pet and of the X server (an idle baseline
#     of the X server subtracted), at 50 ms chasing a moving pointer and at
#     300 ms (kuvito wandering over the screen, mode 2);
#   - peak and steady resident memory;
#   - time from launch to the first frame on screen (median of several runs).
# CPU comes from /proc/PID/schedstat (nanoseconds on the CPU), memory from
# /proc/PID/status.
#
#   bench/footprint/footprint.sh [build-dir]     (default: build)
set -euo pipefail
cd "$(dirname "$0")/../.."
build=${1:-build}
exe="$PWD/$build/app/kuvito"
firstframe="$PWD/$build/bench/footprint/firstframe"
[ -x "$exe" ] || { echo "build kuvito first (tools/run.sh or cmake --build $build)" >&2; exit 1; }
oneko=$(command -v oneko || echo /usr/games/oneko)
[ -x "$oneko" ] || { echo "oneko is not installed (apt-get install oneko)" >&2; exit 1; }
seconds=${KUVITO_BENCH_SECONDS:-20}

exec tools/with-virtual-desktop.sh -- bash -s "$exe" "$oneko" "$seconds" "$firstframe" <<'INNER'
set -euo pipefail
exe=$1 oneko=$2 seconds=$3 firstframe=$4
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
xvfb=$(pgrep -n -x Xvfb)

oncpu() { awk '{print $1}' "/proc/$1/schedstat"; }
mem() { awk -v k="$2:" '$1==k {print $2}' "/proc/$1/status"; }
# Memory that is the program's own, not the shared pages of its libraries.
own() { awk -v k="$2:" '$1==k {print $2}' "/proc/$1/smaps_rollup"; }

# Moves the pointer round a circle, one step every 100 ms, until killed.
mover() {
  local i=0
  while true; do
    local a=$((i % 36))
    local x=$((512 + 300 * $(awk -v a=$a 'BEGIN{printf "%d", cos(a*3.14159/18)*1000}') / 1000))
    local y=$((384 + 200 * $(awk -v a=$a 'BEGIN{printf "%d", sin(a*3.14159/18)*1000}') / 1000))
    xdotool mousemove $x $y
    i=$((i + 1))
    sleep 0.1
  done
}

# Runs one program for the measuring time; prints
# "cpu_ns_program cpu_ns_xserver peak_kib steady_kib".
measure() {
  local pid
  "$@" >/dev/null 2>&1 &
  pid=$!
  sleep 2
  local p0 x0; p0=$(oncpu $pid); x0=$(oncpu $xvfb)
  sleep "$seconds"
  local p1 x1; p1=$(oncpu $pid); x1=$(oncpu $xvfb)
  local peak steady pss priv; peak=$(mem $pid VmHWM); steady=$(mem $pid VmRSS)
  pss=$(own $pid Pss); priv=$(own $pid Private_Dirty)
  kill $pid; wait $pid 2>/dev/null || true
  echo "$((p1 - p0)) $((x1 - x0)) $peak $steady $pss $priv"
}

x0=$(oncpu $xvfb); sleep "$seconds"; x1=$(oncpu $xvfb)
idle=$((x1 - x0))

mover & moverpid=$!

mkdir -p "$work/k"; cp "$exe" "$work/k/kuvito"
printf '[kuvito]\r\nspeed=0\r\nidour=5\r\ntemae=1\r\nidou=1\r\n' > "$work/k/kuvito.ini"
read -r k50 kx50 kpeak ksteady kpss kpriv < <(measure "$work/k/kuvito")
read -r o50 ox50 opeak osteady opss opriv < <(measure "$oneko" -time 50000)
kill $moverpid; wait $moverpid 2>/dev/null || true
printf '[kuvito]\r\nspeed=5\r\nidour=5\r\ntemae=1\r\nidou=2\r\n' > "$work/k/kuvito.ini"
read -r k300 kx300 _ _ _ _ < <(measure "$work/k/kuvito")
read -r o300 ox300 _ _ _ _ < <(measure "$oneko" -time 300000)

# Launch to first frame, median of five runs each.
median() { sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }
kfirst=na; ofirst=na
if [ -x "$firstframe" ]; then
  kfirst=$(for _ in 1 2 3 4 5; do "$firstframe" "$work/k/kuvito"; done | median)
  ofirst=$(for _ in 1 2 3 4 5; do "$firstframe" "$oneko"; done | median)
fi

ticks50=$((seconds * 1000 / 50)); ticks300=$((seconds * 1000 / 300))
per() { awk -v a="$1" -v b="$2" -v n="$3" 'BEGIN{v=(a+b)/n/1000; if (v<0) v=0; printf "%.1f", v}'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN{ if (b+0==0) print "-"; else printf "%.2f", a/b }'; }
idle50=$(awk -v i=$idle 'BEGIN{printf "%d", i}')
k50t=$(per $k50 $((kx50 - idle)) $ticks50); o50t=$(per $o50 $((ox50 - idle)) $ticks50)
k300t=$(per $k300 $((kx300 - idle)) $ticks300); o300t=$(per $o300 $((ox300 - idle)) $ticks300)

echo "kuvito footprint, $(date -u +%Y-%m-%d), $(uname -m), $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //')"
echo "X server idle baseline: $(awk -v i=$idle -v s=$seconds 'BEGIN{printf "%.2f", i/1e6/s}') ms CPU per second"
printf '%-44s %12s %12s %8s\n' "measure" "kuvito" "oneko" "ratio"
printf '%-44s %12s %12s %8s\n' "CPU per tick, 50 ms chasing (program+X, us)" "$k50t" "$o50t" "$(ratio $k50t $o50t)"
printf '%-44s %12s %12s %8s\n' "  program alone (us)" "$(per $k50 0 $ticks50)" "$(per $o50 0 $ticks50)" "$(ratio $k50 $o50)"
printf '%-44s %12s %12s %8s\n' "CPU per tick, 300 ms (program+X, us)" "$k300t" "$o300t" "$(ratio $k300t $o300t)"
printf '%-44s %12s %12s %8s\n' "peak resident memory (KiB)" "$kpeak" "$opeak" "$(ratio $kpeak $opeak)"
printf '%-44s %12s %12s %8s\n' "steady resident memory (KiB)" "$ksteady" "$osteady" "$(ratio $ksteady $osteady)"
printf '%-44s %12s %12s %8s\n' "  proportional share (PSS, KiB)" "$kpss" "$opss" "$(ratio $kpss $opss)"
printf '%-44s %12s %12s %8s\n' "  private dirty memory (KiB)" "$kpriv" "$opriv" "$(ratio $kpriv $opriv)"
printf '%-44s %12s %12s %8s\n' "launch to first frame, median of 5 (ms)" "$kfirst" "$ofirst" "$(ratio $kfirst $ofirst)"
INNER
