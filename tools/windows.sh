#!/usr/bin/env bash
# Builds the Windows side with mingw-w64 and runs its tests under Wine, in
# one command on a fresh Debian 12 machine:
#
#   tools/windows.sh
#
# It installs what it needs (tools/deps.sh windows), builds build-windows/
# (the toolkit-free libraries, the program's resources and their tests; there
# is no kuvito.exe yet), then runs every test program through Wine in a fresh
# prefix that is removed afterwards: no display (Wine can show no dialog), no
# network where the machine lets it cut that off, no debug output. Set
# KUVITO_WERROR=1 to make every compiler warning an error (CI does). Like
# tools/test.sh it ends with the line "N passed, M failed".
set -uo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc)
werror=-DKUVITO_WERROR=${KUVITO_WERROR:-0}

tools/deps.sh windows || exit 1

fail() {
  echo "!! $1" >&2
  echo "0 passed, 1 failed"
  exit 1
}

echo "== Windows build (mingw-w64) =="
cmake -S . -B build-windows -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo "$werror" >/dev/null || fail "Windows configuration failed"
cmake --build build-windows -j"$jobs" || fail "Windows build failed"

echo "== Windows tests (Wine) =="
wine=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver64
prefix=$(mktemp -d "${TMPDIR:-/tmp}/kuvito-wine.XXXXXX")
log=$(mktemp)
export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY WAYLAND_DISPLAY
cleanup() {
  "$wineserver" -k 2>/dev/null
  rm -rf "$prefix" "$log"
}
trap cleanup EXIT

# No network for the tests where this machine allows a namespace without one.
isolate=()
if unshare --net true 2>/dev/null; then
  isolate=(unshare --net)
fi

# The prefix is made once, before the tests start side by side. Its server,
# and with it the prefix's own background programs, stay up for the whole
# run: a test program that had to start them would hand them its output,
# and its run would last as long as theirs.
"$wineserver" -p
"${isolate[@]}" "$wine" wineboot --init >/dev/null 2>&1 || fail "Wine could not set up its prefix"

"${isolate[@]}" ctest --test-dir build-windows -L windows --output-on-failure -j"$jobs" 2>&1 | tee "$log"
rc=${PIPESTATUS[0]}
line=$(grep -E "tests passed, [0-9]+ tests failed out of [0-9]+" "$log" | tail -n 1 || true)
passed=0
failed=0
if [ -n "$line" ]; then
  failed=$(sed -E 's/.*, ([0-9]+) tests failed out of ([0-9]+).*/\1/' <<<"$line")
  total=$(sed -E 's/.*, ([0-9]+) tests failed out of ([0-9]+).*/\2/' <<<"$line")
  passed=$((total - failed))
fi
[ "$rc" = 0 ] || [ "$failed" -gt 0 ] || failed=1
echo "$passed passed, $failed failed"
exit "$rc"
