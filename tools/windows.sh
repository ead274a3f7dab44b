#!/usr/bin/env bash
# Builds the Windows side with mingw-w64 and runs its tests under Wine, in
# one command on a fresh Debian 12 machine:
#
#   tools/windows.sh
#
# It installs what it needs (tools/deps.sh windows), builds build-windows/
# (kuvito.exe, its zip, and the tests of the Windows side), then runs every
# test program through Wine in a fresh prefix that is removed afterwards: no display (Wine can show no dialog), no
# network where the machine lets it cut that off, no debug output. The tests
# of the Win32 desktop that need a display run after them on a private
# virtual desktop (Xvfb, a window manager and a tray), in a prefix of their
# own. Set
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

wine=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver64
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY WAYLAND_DISPLAY
prefixes=()
log=$(mktemp)
cleanup() {
  for p in "${prefixes[@]}"; do
    WINEPREFIX=$p "$wineserver" -k 2>/dev/null
    rm -rf "$p"
  done
  rm -f "$log"
}
trap cleanup EXIT

# No network for the tests where this machine allows a namespace without one.
isolate=()
if unshare --net true 2>/dev/null; then
  isolate=(unshare --net)
fi

# Makes a fresh prefix for one stage and sets WINEPREFIX to it. The prefix is
# made once, before the tests start side by side. Its server, and with it the
# prefix's own background programs, stay up for the whole stage: a test
# program that had to start them would hand them its output, and its run
# would last as long as theirs. A program that crashes ends without Wine's
# crash dialog, which would wait for a click where there is a display.
new_prefix() {
  WINEPREFIX=$(mktemp -d "${TMPDIR:-/tmp}/kuvito-wine.XXXXXX")
  export WINEPREFIX
  prefixes+=("$WINEPREFIX")
  "$wineserver" -p
  "${isolate[@]}" "$wine" wineboot --init >/dev/null 2>&1 || return 1
  "$wine" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
  # Windows links its UI font to a Japanese one for the characters it lacks;
  # a fresh prefix links none, and the menus and message boxes would show
  # the program's Japanese as boxes. IPAPGothic comes from Debian's fonts.
  "$wine" reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink' /v Tahoma \
    /t REG_MULTI_SZ /d 'ipagp.ttf,IPAPGothic' /f >/dev/null 2>&1
}

passed=0
failed=0
rc=0
# Runs one ctest stage and adds its counts.
count_stage() {
  "$@" 2>&1 | tee "$log"
  local stage_rc=${PIPESTATUS[0]} line stage_failed=0 total=0
  line=$(grep -E "tests passed, [0-9]+ tests failed out of [0-9]+" "$log" | tail -n 1 || true)
  if [ -n "$line" ]; then
    stage_failed=$(sed -E 's/.*, ([0-9]+) tests failed out of ([0-9]+).*/\1/' <<<"$line")
    total=$(sed -E 's/.*, ([0-9]+) tests failed out of ([0-9]+).*/\2/' <<<"$line")
  fi
  [ "$stage_rc" = 0 ] || [ "$stage_failed" -gt 0 ] || stage_failed=1
  passed=$((passed + total - (total > 0 ? stage_failed : 0)))
  failed=$((failed + stage_failed))
  [ "$stage_rc" = 0 ] || rc=1
}

echo "== Windows tests (Wine) =="
# A test that fails runs once more and the second run decides, as the Linux
# desktop tests do: under load Wine now and then delivers a message or the
# focus late. The first failure stays in the output, and a test that fails
# every time still fails the stage.
# Wine gets no display here: these tests need none, and no program can open
# a dialog that waits for an answer.
if new_prefix; then
  count_stage "${isolate[@]}" ctest --test-dir build-windows -L '^windows$' --output-on-failure --repeat until-pass:2 -j"$jobs"
else
  echo "!! Wine could not set up its prefix" >&2
  failed=$((failed + 1))
  rc=1
fi

echo "== Windows desktop tests (Wine on a private virtual desktop) =="
# What Windows reports about windows, the pointer, menus and the notification
# area needs a display: Xvfb with a window manager and a tray
# (tools/with-virtual-desktop.sh), and a prefix made on that display, since
# Wine's desktop process picks its display driver once, when it starts.
# tools/wine-run.sh passes the display on when KUVITO_WINE_DISPLAY names it.
desktop_stage() {
  export KUVITO_WINE_DISPLAY=$DISPLAY
  new_prefix || { echo "!! Wine could not set up its prefix on the virtual desktop" >&2; return 1; }
  "${isolate[@]}" ctest --test-dir build-windows -L '^windows-desktop$' --output-on-failure --repeat until-pass:2
  local stage_rc=$?
  "$wineserver" -k 2>/dev/null
  rm -rf "$WINEPREFIX"
  return $stage_rc
}
export -f desktop_stage new_prefix
export wine wineserver
if ctest --test-dir build-windows -N -L '^windows-desktop$' | grep -q "Total Tests: [1-9]"; then
  count_stage tools/with-virtual-desktop.sh -- bash -c 'isolate=('"${isolate[*]}"'); prefixes=(); desktop_stage'
fi
echo "$passed passed, $failed failed"
exit "$rc"
