#!/usr/bin/env bash
# Records docs/kuvito.gif: a few seconds of each movement mode on a private
# virtual desktop, from screenshots, so a visitor sees the mascot move before
# reading a word.
#
#   tools/record-gif.sh [build-dir]     (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
exe="$PWD/$build/app/kuvito"
[ -x "$exe" ] || { echo "build kuvito first" >&2; exit 1; }
out="$PWD/docs/kuvito.gif"

tools/with-virtual-desktop.sh --size 800x450 -- bash -s "$exe" "$out" <<'INNER'
set -euo pipefail
exe=$1 out=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/k" "$work/shots"
cp "$exe" "$work/k/kuvito"
xsetroot -solid '#3b6ea5'
n=0
shoot() { n=$((n + 1)); import -window root "$work/shots/$(printf %04d $n).png"; }

run_mode() { # mode speed seconds [setup...]
  local mode=$1 speed=$2 frames=$3
  printf '[kuvito]\r\nspeed=%s\r\nidour=6\r\ntemae=1\r\nidou=%s\r\n' "$speed" "$mode" > "$work/k/kuvito.ini"
  "$work/k/kuvito" >/dev/null 2>&1 &
  local pid=$!
  sleep 1
  for ((i = 0; i < frames; i++)); do
    if [ "$mode" = 1 ] || [ "$mode" = 5 ]; then
      xdotool mousemove $((200 + (i * 37) % 400)) $((120 + (i * 23) % 220))
    fi
    shoot
    sleep 0.1
  done
  kill $pid; wait $pid 2>/dev/null || true
}

run_mode 1 1 30
run_mode 2 2 30
run_mode 3 2 30
xmessage -geometry 360x120+220+180 "kuvito walks on the front window" &
msg=$!
sleep 0.5
xdotool search --name xmessage windowactivate --sync >/dev/null 2>&1 || true
run_mode 4 2 30
kill $msg
run_mode 5 3 20
convert -delay 12 -loop 0 "$work"/shots/*.png -resize 75% -colors 64 -layers Optimize "$out"
echo "wrote $out ($(du -h "$out" | cut -f1))"
INNER
