#!/usr/bin/env bash
# Runs the same end-to-end checks on each desktop people use and writes the
# table of what they measured, with a screenshot per desktop, to
# docs/desktops.md (and docs/desktops/*.png):
#
#   tools/desktop-matrix.sh            every desktop, writes docs/desktops.md
#   tools/desktop-matrix.sh --quick    the quick subset; results stay under
#                                      build/ (for .ci/run)
#   tools/desktop-matrix.sh NAME...    those desktops again, beside the last
#                                      whole run's results under build/
#   tools/desktop-matrix.sh --table    docs/desktops.md from the results under
#                                      build/ as they are (after NAME... runs)
#   tools/desktop-matrix.sh --package --quick | NAME...
#                                      the same, with the build's Debian
#                                      package installed (apt-get install) on
#                                      this machine and in the Debian 13 root
#                                      for the run and removed after it: the
#                                      installed program runs, with the
#                                      helpers the package carries
#   KUVITO_MATRIX_CELLS=top,fullscreen tools/desktop-matrix.sh NAME...
#                                      only those cells (for looking into
#                                      one; the row says "not run" elsewhere)
#
# The desktops, their order and the quick subset are the blocks of
# tests/e2e/desktops.conf. Each desktop runs in a private virtual display
# with its own D-Bus session; everything started is stopped by process id.
# It needs a built tree (tools/test.sh or cmake --build build) and the test
# packages (tools/deps.sh test; the whole run adds the Wayland compositors:
# tools/deps.sh gnome, matrix).
set -euo pipefail
cd "$(dirname "$0")/.."

list=tests/e2e/desktops.conf
# The build tree to use (tools/test.sh builds into build/).
build=${KUVITO_BUILD_DIR:-build}
all=$(sed -n 's/^\[\([a-z0-9]*\)\]$/\1/p' "$list")

mode=all
names=$all
package=0
if [ "${1:-}" = --package ]; then
  package=1
  shift
  [ $# -gt 0 ] || { echo "--package wants --quick or desktops' names" >&2; exit 2; }
  # The package is removed after the run: one installed by the user stays
  # theirs.
  if dpkg-query -W -f='${Status}' kuvito 2>/dev/null | grep -q 'ok installed'; then
    echo "--package installs and removes the package kuvito, which is installed here: remove it first" >&2
    exit 2
  fi
fi
if [ "${1:-}" = --table ]; then
  mode=table
elif [ "${1:-}" = --quick ]; then
  mode=quick
  names=$(awk '/^\[/ { name = substr($0, 2, length($0) - 2) } /^quick *= *yes *$/ { print name }' "$list")
elif [ $# -gt 0 ]; then
  mode=some
  names="$*"
  for name in $names; do
    grep -qx "$name" <<< "$all" || { echo "no desktop \"$name\" in $list" >&2; exit 2; }
  done
fi

out=$build/desktop-matrix
[ "$mode" = quick ] && out=$build/desktop-matrix-quick
rc=0
if [ "$mode" != table ]; then
  # A key of a desktop's block in the list, or nothing.
  key_of() {
    awk -v want="[$1]" -v key="$2" '/^\[/ { in_block = ($0 == want) }
      in_block && $1 == key && $2 == "=" { print $3 }' "$list"
  }
  # The compositors (deps.sh names a purpose after each of those sessions)
  # of the named desktops of one Debian release.
  sessions_of() {
    local release=$1 name
    shift
    for name in "$@"; do
      [ "$(key_of "$name" release)" = "$release" ] || [ "$release" = 12 -a -z "$(key_of "$name" release)" ] || continue
      key_of "$name" session
    done | grep -xE 'gnome|kwin|mutter' | sort -u || true
  }
  # The test packages, and the compositor of each Wayland desktop asked for.
  if [ "$mode" = all ]; then
    tools/deps.sh matrix
  else
    tools/deps.sh test $(sessions_of 12 $names)
  fi
  cmake --build "$build" --target test_e2e kuvito >/dev/null
  deb=
  if [ "$package" = 1 ]; then
    cmake --build "$build" >/dev/null
    rm -rf "$build/matrix-package"
    cpack --config "$build/CPackConfig.cmake" -B "$build/matrix-package" >/dev/null
    deb=$(ls "$PWD/$build"/matrix-package/kuvito_*.deb)
    echo "[ package  ] $(basename "$deb")"
  fi
  # A run of some desktops replaces only their results.
  if [ "$mode" = some ]; then
    for name in $names; do rm -f "$out/$name.row" "$out/$name.png"; done
  else
    rm -rf "$out"
  fi
  mkdir -p "$out"
  # Runs the named desktops: Debian 12's here, Debian 13's inside
  # tools/debian13.sh's root with the same build (a program built on
  # Debian 12 runs on 13; the package test shows the same for the .deb).
  run() {
    local new=() old=() name rc=0
    for name in "$@"; do
      if [ "$(key_of "$name" release)" = 13 ]; then new+=("$name"); else old+=("$name"); fi
    done
    local test=(env KUVITO_MATRIX_OUT="$PWD/$out" "$build"/tests/e2e/test_e2e --gtest_also_run_disabled_tests)
    if [ -n "$deb" ]; then
      # Installed as a user installs it, for this run only.
      test=(bash -c 'deb=$1; shift
        apt-get install -y -qq --no-install-recommends -o DPkg::Lock::Timeout=600 "$deb" >/dev/null 2>&1 || { echo "apt-get install $deb failed" >&2; exit 1; }
        KUVITO_E2E_INSTALLED=/usr/bin/kuvito "$@"; rc=$?
        apt-get purge -y -qq kuvito >/dev/null 2>&1; exit $rc' package "$deb" "${test[@]}")
    fi
    if [ ${#old[@]} -gt 0 ]; then
      "${test[@]}" --gtest_filter="$(filter "${old[@]}")" 2>&1 | tee -a "$out/run-$mode.log" |
        grep -E '^\[ *(OK|FAILED|RUN|cell) '
      [ "${PIPESTATUS[0]}" = 0 ] || rc=1
    fi
    if [ ${#new[@]} -gt 0 ]; then
      # shellcheck disable=SC2046
      tools/debian13.sh --deps test $(sessions_of 13 "${new[@]}") -- \
        "${test[@]}" --gtest_filter="$(filter "${new[@]}")" 2>&1 | tee -a "$out/run-$mode.log" |
        grep -E '^\[ *(OK|FAILED|RUN|cell) '
      [ "${PIPESTATUS[0]}" = 0 ] || rc=1
    fi
    return "$rc"
  }
  filter() {
    local name
    for name in "$@"; do printf 'Desktops/Matrix.DISABLED_Smoke/%s:' "$name"; done | sed 's/:$//'
  }
  : > "$out/run-$mode.log"
  set +e
  # shellcheck disable=SC2086
  run $names
  rc=$?
  # The quick subset gates every landing. A desktop that failed runs once
  # more, and its second run is its verdict: on a loaded machine a window
  # manager's timing now and then fails a cell that passes on the next run.
  # Both runs stay in the log, the first one's failure included.
  if [ "$mode" = quick ] && [ "$rc" != 0 ]; then
    again=$(grep -oE '^\[ +FAILED +\] Desktops/Matrix\.DISABLED_Smoke/[a-z0-9]+' "$out/run-$mode.log" |
      sed 's#.*/##' | sort -u)
    if [ -n "$again" ]; then
      echo "[ again    ] $(echo $again): failed once; run once more, and that run decides"
      # shellcheck disable=SC2086
      run $again
      rc=$?
    fi
  fi
  # The whole run also builds and tests the project with Debian 13's own
  # compiler and Qt, and its package with Debian 13's lintian.
  if [ "$mode" = all ]; then
    echo "[ debian13 ] tools/test-debian13.sh"
    tools/test-debian13.sh > "$out/debian13.log" 2>&1 || rc=1
    { head -n 1 "$out/debian13.log"; tail -n 1 "$out/debian13.log"; } | paste -sd ':' |
      sed 's/:/: built with every warning an error; unit and package tests: /' > "$out/debian13.line"
    cat "$out/debian13.line"
  fi
  set -e
fi

table() {
  [ -f "$out/header.row" ] && cat "$out/header.row"
  for name in $names; do
    if [ -f "$out/$name.row" ]; then cat "$out/$name.row"; fi
  done
}

if [ "$mode" = quick ] || [ "$mode" = some ]; then
  table
  exit "$rc"
fi
names=$all

mkdir -p docs/desktops
for name in $names; do
  if [ -f "$out/$name.png" ]; then convert "$out/$name.png" -resize '1024x768>' "docs/desktops/$name.png"; fi
done
# The table and the screenshots go between the page's markers; the text
# around them is written by hand.
generated=$(mktemp)
{
  echo "<!-- matrix begin: written by tools/desktop-matrix.sh -->"
  echo "Run on $(date -u +%Y-%m-%d), $(uname -m), $(nproc) cores,"
  echo "$(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //'), Debian $(cat /etc/debian_version);"
  echo "every desktop on a private screen of 1024 × 768 logical pixels per monitor (a Wayland"
  echo "compositor's headless output, X programs on its XWayland; a monitor of scale 2 has twice the"
  echo "pixels). Positions are the X server's pixels. \"cannot pass\" cells say why (tests/e2e/desktops.conf)."
  echo
  table
  if [ -f "$out/debian13.line" ]; then
    echo
    echo "Built on $(cat "$out/debian13.line") (tools/test-debian13.sh)."
  fi
  echo
  echo "Screenshots (mode 3, standing on the panel):"
  for name in $names; do
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
