#!/usr/bin/env bash
# Footprint of kuvito next to oneko (a classic X11 desktop pet that also moves
# a shaped window on a timer) and next to two floors that show the same six
# frames the least costly way (floor_xlib: plain Xlib; floor_qt: the same
# inside a Qt Widgets event loop), all in one private virtual desktop with the
# pointer moving:
#   - CPU per movement tick of the program (every thread) and of the X server
#     (its cost with the pointer moving and no pet running subtracted), at
#     50 ms chasing the pointer and at 300 ms (kuvito wandering);
#   - context switches per tick, summed over the program's threads;
#   - resident, peak, proportional (PSS) and private dirty memory;
#   - time from launch to the first frame on screen.
# The programs take turns within each round and the X server's baseline is
# measured again in every round, because CPU time on a shared machine drifts.
# Every figure is the median over the rounds, with the smallest and largest
# in brackets. CPU comes from /proc/PID/task/*/schedstat, context switches
# from /proc/PID/task/*/status, memory from /proc/PID/status and smaps_rollup.
#
#   bench/footprint/footprint.sh [build-dir]     (default: build)
#   KUVITO_BENCH_ROUNDS (default 5), KUVITO_BENCH_SECONDS per run (default 15)
set -euo pipefail
cd "$(dirname "$0")/../.."
build=${1:-build}
case $build in /*) ;; *) build="$PWD/$build" ;; esac
exe="$build/app/kuvito"
benchdir="$build/bench/footprint"
for f in "$exe" "$benchdir/firstframe" "$benchdir/floor_xlib" "$benchdir/floor_qt"; do
  [ -x "$f" ] || { echo "$f is missing: build first (cmake --build $build)" >&2; exit 1; }
done
oneko=$(command -v oneko || echo /usr/games/oneko)
[ -x "$oneko" ] || { echo "oneko is not installed (apt-get install oneko)" >&2; exit 1; }
seconds=${KUVITO_BENCH_SECONDS:-15}
rounds=${KUVITO_BENCH_ROUNDS:-5}

exec tools/with-virtual-desktop.sh -- bash -s "$exe" "$oneko" "$benchdir" "$seconds" "$rounds" <<'INNER'
set -euo pipefail
exe=$1 oneko=$2 benchdir=$3 seconds=$4 rounds=$5
work=$(mktemp -d)
moverpid=
trap '[ -n "$moverpid" ] && kill $moverpid 2>/dev/null; rm -rf "$work"' EXIT
# This desktop's own X server: a child of the desktop script, like this shell
# (other programs on the machine may run X servers of their own).
xvfb=$(pgrep -P "$PPID" -x Xvfb | head -n 1)
[ -n "$xvfb" ] || { echo "cannot find this virtual desktop's X server" >&2; exit 1; }
results="$work/results"
: > "$results"

# Nanoseconds on the CPU, all threads of a process together. printf "%.0f":
# mawk's "%d" stops at 2^31, about two seconds of the X server's time.
oncpu() { cat /proc/$1/task/*/schedstat 2>/dev/null | awk '{s += $1} END {printf "%.0f", s}'; }
# Context switches, voluntary and not, all threads together.
switches() {
  cat /proc/$1/task/*/status 2>/dev/null |
    awk '$1=="voluntary_ctxt_switches:" || $1=="nonvoluntary_ctxt_switches:" {s += $2} END {printf "%.0f\n", s}'
}
field() { awk -v k="$2:" '$1==k {print $2}' "$1"; }

# Moves the pointer round a circle, one step every 100 ms, until killed.
positions=$(awk 'BEGIN{for (a = 0; a < 36; a++) printf "%d,%d ", 512 + 300*cos(a*3.14159/18), 384 + 200*sin(a*3.14159/18)}')
mover() {
  while true; do
    for p in $positions; do
      xdotool mousemove "${p%,*}" "${p#*,}"
      sleep 0.1
    done
  done
}

# Runs one program for the measuring time and records, for the scenario and
# program name given, its CPU, the X server's CPU, its context switches and
# its memory.
measure() {
  local scenario=$1 name=$2; shift 2
  local pid
  "$@" >/dev/null 2>&1 &
  pid=$!
  sleep 2
  local p0 x0 c0; p0=$(oncpu $pid); x0=$(oncpu $xvfb); c0=$(switches $pid)
  sleep "$seconds"
  local p1 x1 c1; p1=$(oncpu $pid); x1=$(oncpu $xvfb); c1=$(switches $pid)
  {
    echo "$scenario $name cpu $((p1 - p0))"
    echo "$scenario $name xcpu $((x1 - x0))"
    echo "$scenario $name switches $((c1 - c0))"
    echo "$scenario $name rss $(field /proc/$pid/status VmRSS)"
    echo "$scenario $name hwm $(field /proc/$pid/status VmHWM)"
    echo "$scenario $name pss $(field /proc/$pid/smaps_rollup Pss)"
    echo "$scenario $name priv $(field /proc/$pid/smaps_rollup Private_Dirty)"
  } >> "$results.$round"
  kill $pid; wait $pid 2>/dev/null || true
}

baseline() {
  sleep 2
  local x0 x1; x0=$(oncpu $xvfb); sleep "$seconds"; x1=$(oncpu $xvfb)
  echo "base none xcpu $((x1 - x0))" >> "$results.$round"
}

mkdir -p "$work/k50" "$work/k300"
cp "$exe" "$work/k50/kuvito"; cp "$exe" "$work/k300/kuvito"
printf '[kuvito]\r\nspeed=0\r\nidour=5\r\ntemae=1\r\nidou=1\r\n' > "$work/k50/kuvito.ini"
printf '[kuvito]\r\nspeed=5\r\nidour=5\r\ntemae=1\r\nidou=2\r\n' > "$work/k300/kuvito.ini"

runs=(
  "baseline"
  "measure 50 kuvito $work/k50/kuvito"
  "measure 50 oneko $oneko -time 50000"
  "measure 50 floor_xlib $benchdir/floor_xlib 50"
  "measure 50 floor_qt $benchdir/floor_qt 50"
  "measure 300 kuvito $work/k300/kuvito"
  "measure 300 oneko $oneko -time 300000"
  "measure 300 floor_xlib $benchdir/floor_xlib 300"
  "measure 300 floor_qt $benchdir/floor_qt 300"
)

mover & moverpid=$!
loads=()
for ((round = 1; round <= rounds; round++)); do
  : > "$results.$round"
  loads+=("$(cut -d' ' -f1-3 /proc/loadavg)")
  # Each round starts one place further along the list, so that no program
  # always runs right after the same other one.
  for ((i = 0; i < ${#runs[@]}; i++)); do
    ${runs[$(((i + round - 1) % ${#runs[@]}))]}
  done
  # Per tick, with this round's X server baseline subtracted.
  awk -v s="$seconds" -v r="$round" '
    $1 == "base" { base = $4; next }
    { v[$1" "$2" "$3] = $4 }
    END {
      for (k in v) {
        split(k, a, " "); ticks = s * 1000 / a[1]
        if (a[3] == "cpu") print a[1], a[2], "cpu", v[k] / ticks / 1000
        else if (a[3] == "xcpu") print a[1], a[2], "xcpu", (v[k] - base) / ticks / 1000
        else if (a[3] == "switches") print a[1], a[2], "switches", v[k] / ticks
        else print a[1], a[2], a[3], v[k]
      }
      print "base none xms", base / s / 1e6
    }' "$results.$round" >> "$results"
done
kill $moverpid; wait $moverpid 2>/dev/null || true
moverpid=

# Launch to first frame, five runs each, taking turns.
for _ in 1 2 3 4 5; do
  echo "first kuvito ms $(cd "$work/k300" && "$benchdir/firstframe" ./kuvito)" >> "$results"
  echo "first oneko ms $("$benchdir/firstframe" "$oneko")" >> "$results"
  echo "first floor_xlib ms $("$benchdir/firstframe" "$benchdir/floor_xlib")" >> "$results"
  echo "first floor_qt ms $("$benchdir/firstframe" "$benchdir/floor_qt")" >> "$results"
done

# "median (min-max)" of every scenario/program/measure.
spread() {
  awk -v k="$1 $2 $3" -v fmt="${4:-%.0f}" '$1" "$2" "$3 == k {print $4}' "$results" | sort -g |
    awk -v fmt="${4:-%.0f}" '{a[NR] = $1}
      END {
        if (NR == 0) { print "-"; exit }
        m = (NR % 2) ? a[(NR + 1) / 2] : (a[NR / 2] + a[NR / 2 + 1]) / 2
        printf fmt " (" fmt "-" fmt ")\n", m, a[1], a[NR]
      }'
}
median() { spread "$@" | cut -d' ' -f1; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN{ if (b + 0 <= 0) print "-"; else printf "%.2f", a / b }'; }
row() { # label scenario measure [format]
  local k o f q fmt=${4:-%.0f}
  set -- "$1" "$2" "$3" "$fmt"
  k=$(median "$2" kuvito "$3" "$4"); o=$(median "$2" oneko "$3" "$4")
  f=$(median "$2" floor_xlib "$3" "$4"); q=$(median "$2" floor_qt "$3" "$4")
  printf '| %s | %s | %s | %s | %s | %s | %s | %s |\n' "$1" "$(spread "$2" kuvito "$3" "$4")" \
    "$(spread "$2" oneko "$3" "$4")" "$(spread "$2" floor_xlib "$3" "$4")" "$(spread "$2" floor_qt "$3" "$4")" \
    "$(ratio "$k" "$o")" "$(ratio "$k" "$f")" "$(ratio "$k" "$q")"
}

echo "kuvito footprint, $(date -u '+%Y-%m-%d %H:%M UTC'), $(uname -m), $(nproc) cores," \
  "$(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //'), Xvfb + openbox + tint2"
echo "$rounds rounds of $seconds s per program; load average at each round's start: ${loads[*]}"
echo "X server with the pointer moving and no pet: $(spread base none xms %.2f) ms CPU per second"
echo
echo "| measure | kuvito | oneko | floor (Xlib) | floor (Qt loop) | kuvito/oneko | kuvito/floor | kuvito/floor-Qt |"
echo "|---|---:|---:|---:|---:|---:|---:|---:|"
row "50 ms chasing: program CPU per tick, all threads (µs)" 50 cpu
row "… X server CPU per tick, baseline subtracted (µs)" 50 xcpu
row "… context switches per tick, all threads" 50 switches %.1f
row "300 ms (kuvito wandering): program CPU per tick (µs)" 300 cpu
row "… X server CPU per tick, baseline subtracted (µs)" 300 xcpu
row "… context switches per tick, all threads" 300 switches %.1f
row "resident memory (KiB)" 50 rss
row "… peak resident (KiB)" 50 hwm
row "… proportional share, PSS (KiB)" 50 pss
row "… private dirty (KiB)" 50 priv
row "launch to first frame on screen, 5 runs (ms)" first ms %.1f
INNER
