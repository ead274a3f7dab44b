#!/usr/bin/env bash
# Runs the same end-to-end smoke on each desktop people use and writes the
# table of what it measured, with a screenshot per desktop, to
# docs/desktops.md (and docs/desktops/*.png):
#
#   tools/desktop-matrix.sh            every desktop, writes docs/desktops.md
#   tools/desktop-matrix.sh --quick    Xfce's panel, two monitors with the
#                                      primary on the right, HiDPI x2; results
#                                      stay under build/ (for .ci/run)
#
# Each desktop runs in a private virtual X display (Xvfb) with its own D-Bus
# session; everything started is stopped by process id. It needs a built
# tree (tools/test.sh or cmake --build build) and the test packages
# (tools/deps.sh test); the whole run installs KWin and Mutter as well
# (tools/deps.sh matrix).
set -euo pipefail
cd "$(dirname "$0")/.."

quick=0
[ "${1:-}" = --quick ] && quick=1
# The build tree to use (tools/test.sh builds into build/).
build=${KUVITO_BUILD_DIR:-build}

if [ "$quick" = 1 ]; then tools/deps.sh test; else tools/deps.sh matrix; fi
cmake --build "$build" --target test_e2e kuvito >/dev/null

if [ "$quick" = 1 ]; then
  out=$build/desktop-matrix-quick
  filter='Desktops/Matrix.DISABLED_Smoke/xfce:Desktops/Matrix.DISABLED_Smoke/primaryright:Desktops/Matrix.DISABLED_Smoke/hidpi2'
else
  out=$build/desktop-matrix
  filter='Desktops/Matrix.DISABLED_Smoke/*'
fi
rm -rf "$out"
mkdir -p "$out"

set +e
KUVITO_MATRIX_OUT="$PWD/$out" "$build"/tests/e2e/test_e2e --gtest_also_run_disabled_tests \
  --gtest_filter="$filter" 2>&1 | tee "$out/run.log" | grep -E '^\[ *(OK|FAILED|RUN) '
rc=${PIPESTATUS[0]}
set -e

table() {
  echo "| desktop | shaped, no taskbar button | tray menu: 設定 opens, 終了 ends | mode 3 on the panel | mode 4 on the front window | drag follows the pointer |"
  echo "|---|---|---|---|---|---|"
  for name in openbox xfce fluxbox icewm i3 primary-left primary-right hidpi2 sway kwin mutter; do
    if [ -f "$out/$name.row" ]; then cat "$out/$name.row"; fi
  done
}

if [ "$quick" = 1 ]; then
  table
  exit "$rc"
fi

mkdir -p docs/desktops
for name in openbox xfce fluxbox icewm i3 primary-left primary-right hidpi2 sway kwin mutter; do
  if [ -f "$out/$name.png" ]; then convert "$out/$name.png" -resize '1024x768>' "docs/desktops/$name.png"; fi
done
# The table and the screenshots go between the page's markers; the text
# around them is written by hand.
generated=$(mktemp)
{
  echo "<!-- matrix begin: written by tools/desktop-matrix.sh -->"
  echo "Run on $(date -u +%Y-%m-%d), $(uname -m), $(nproc) cores,"
  echo "$(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //'), Debian $(cat /etc/debian_version);"
  echo "every desktop on a private Xvfb screen of 1024 × 768 per monitor (sway: its headless output of"
  echo "1024 × 768, X programs on its XWayland). Positions are the X server's pixels."
  echo
  table
  echo
  echo "Screenshots (mode 3, standing on the panel):"
  for name in openbox xfce fluxbox icewm i3 primary-left primary-right hidpi2 sway kwin mutter; do
    if [ -f "docs/desktops/$name.png" ]; then printf '\n%s:\n\n![%s](desktops/%s.png)\n' "$name" "$name" "$name"; fi
  done
  echo "<!-- matrix end -->"
} > "$generated"
python3 - "$generated" <<'PY'
import sys
page = open("docs/desktops.md", encoding="utf-8").read()
new = open(sys.argv[1], encoding="utf-8").read().rstrip("\n")
begin = page.index("<!-- matrix begin")
end = page.index("<!-- matrix end -->") + len("<!-- matrix end -->")
open("docs/desktops.md", "w", encoding="utf-8").write(page[:begin] + new + page[end:])
PY
rm -f "$generated"
echo "updated docs/desktops.md"
exit "$rc"
