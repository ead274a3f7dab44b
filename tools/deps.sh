#!/usr/bin/env bash
# Installs the Debian packages kuvito needs, by purpose, when any is missing:
#
#   tools/deps.sh run        build and run the mascot (the default)
#   tools/deps.sh desktop    also a private virtual desktop (a machine without a display)
#   tools/deps.sh package    also build the Debian package
#   tools/deps.sh test       everything the test suite and the benchmarks use
#   tools/deps.sh gnome      GNOME Shell and its notification area, for the
#                            desktop matrix's GNOME row
#   tools/deps.sh kwin       KWin on Wayland, for the matrix's KWin row
#   tools/deps.sh mutter     Mutter, for the matrix's Mutter row
#   tools/deps.sh matrix     also the Wayland compositors only the whole
#                            desktop matrix starts (tools/desktop-matrix.sh)
#   tools/deps.sh windows    the Windows cross-build and Wine to test it
#                            (tools/windows.sh); no Qt
#   tools/deps.sh debian13   what makes the Debian 13 root (tools/debian13.sh)
#
# As root it runs apt-get itself; otherwise it prints the exact command to run
# and stops, so a user is never surprised by a sudo prompt.
set -euo pipefail

run=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev libgl-dev libx11-dev libxext-dev
  fonts-ipafont-gothic fontconfig x11-utils
)
desktop=(xvfb openbox tint2 xdotool x11-xserver-utils dbus-x11 imagemagick)
package=(dpkg-dev file)
# The sanitizers' and libFuzzer's runtime comes in a package named after
# clang's major version, which differs between Debian releases (14 on
# Debian 12, 19 on Debian 13): the release's own clang decides.
clang_runtime() {
  local major=""
  if command -v clang >/dev/null; then
    major=$(clang --version | sed -n 's/.*clang version \([0-9]*\).*/\1/p' | head -n 1)
  fi
  if [ -z "$major" ]; then
    [ "$(id -u)" -ne 0 ] || [ -n "$(apt-cache depends clang 2>/dev/null)" ] || apt-get update -qq
    major=$(apt-cache depends clang 2>/dev/null | sed -n 's/.*Depends: clang-\([0-9][0-9]*\)$/\1/p' | head -n 1)
  fi
  echo "libclang-rt-${major:-14}-dev"
}

test=(
  libgtest-dev libgmock-dev libbenchmark-dev
  clang "$(clang_runtime)" clang-format
  wmctrl procps oneko xauth
  lintian appstream desktop-file-utils man-db
  # Other desktops the desktop tests and tools/desktop-matrix.sh run the mascot on
  xfwm4 xfce4-panel fluxbox icewm i3-wm libglib2.0-bin
  # sway with XWayland, its screenshots, a native Wayland
  # window (zenity) and what the test's virtual pointer is built from
  # (KWin's fake-input protocol among them)
  sway xwayland grim zenity libwayland-dev libwayland-bin plasma-wayland-protocols python3
  # The GNOME Shell extension's reporter, run outside the shell
  gjs
)
# GNOME Shell (with the AppIndicator extension as its notification area),
# KWin and Mutter bring most of their desktops with them; only the desktop
# matrix runs them, so the test set-up does not install them. CI's quick
# subset runs GNOME Shell.
gnome=(gnome-shell gnome-shell-extension-appindicator)
kwin=(kwin-wayland)
mutter=(mutter)
matrix=("${kwin[@]}" "${mutter[@]}" "${gnome[@]}")
# mingw-w64 (POSIX threads) with its resource compiler, GoogleTest's sources
# to build for Windows, and 64-bit Wine with the Japanese font its dialogs
# take from fontconfig; locales for the Japanese locale the kuvito.exe
# scenarios run Wine in.
windows=(cmake ninja-build g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 googletest wine64
  fonts-ipafont-gothic fontconfig locales)

debian13=(mmdebstrap)

packages=()
for purpose in "${@:-run}"; do
  case "$purpose" in
    run) packages+=("${run[@]}") ;;
    desktop) packages+=("${run[@]}" "${desktop[@]}") ;;
    package) packages+=("${run[@]}" "${package[@]}") ;;
    test) packages+=("${run[@]}" "${desktop[@]}" "${package[@]}" "${test[@]}") ;;
    gnome) packages+=("${gnome[@]}") ;;
    kwin) packages+=("${kwin[@]}") ;;
    mutter) packages+=("${mutter[@]}") ;;
    matrix) packages+=("${run[@]}" "${desktop[@]}" "${package[@]}" "${test[@]}" "${matrix[@]}") ;;
    windows) packages+=("${windows[@]}") ;;
    debian13) packages+=("${debian13[@]}") ;;
    *) echo "usage: $0 [run|desktop|package|test|gnome|kwin|mutter|matrix|windows|debian13]..." >&2; exit 2 ;;
  esac
done

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
# Each missing package once, in the order first named.
mapfile -t missing < <(printf '%s\n' "${missing[@]}" | awk 'NF && !seen[$0]++')

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

if [ "$(id -u)" -ne 0 ]; then
  echo "kuvito needs these Debian packages. Install them, then run this again:" >&2
  echo "  sudo apt-get update && sudo apt-get install -y --no-install-recommends ${missing[*]}" >&2
  exit 1
fi

echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq -o DPkg::Lock::Timeout=600 --no-install-recommends "${missing[@]}"
