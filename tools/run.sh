#!/usr/bin/env bash
# Sets up, builds and starts the mascot. On a machine with a display it runs
# there; on a headless machine it runs in a private virtual desktop for a few
# seconds, moving the pointer about, and saves screenshots so you can see it.
set -euo pipefail
cd "$(dirname "$0")/.."

tools/deps.sh run
# Only the program: the tests and benchmarks need tools that running does not.
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKUVITO_TESTS=OFF -DKUVITO_BENCH=OFF >/dev/null
cmake --build build --target kuvito -j"$(nproc)"
exe="$PWD/build/app/kuvito"

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  echo "Starting kuvito on $DISPLAY. It lives in your notification area: right-click its icon for the menu."
  exec "$exe"
fi

tools/deps.sh desktop
shots="$PWD/build/screenshots"
rm -rf "$shots"
mkdir -p "$shots"
echo "No display here: running kuvito in a private virtual desktop for a few seconds."
tools/with-virtual-desktop.sh -- bash -c '
  "$1" >"$2/kuvito.log" 2>&1 &
  pid=$!
  sleep 1.5
  i=0
  for p in "200 300" "700 200" "900 500" "400 600" "120 120" "600 400"; do
    xdotool mousemove $p
    for _ in 1 2 3; do
      sleep 0.5
      i=$((i + 1))
      import -window root "$2/$(printf "shot-%02d" $i).png"
    done
  done
  kill $pid 2>/dev/null || true
  wait $pid 2>/dev/null || true
' _ "$exe" "$shots"
convert -delay 50 -loop 0 "$shots"/shot-*.png -resize 50% "$shots/kuvito.gif" 2>/dev/null || true
echo "Screenshots are in $shots (shot-01.png ... and kuvito.gif)."
