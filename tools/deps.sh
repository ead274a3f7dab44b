#!/usr/bin/env bash
# Installs the Debian packages kuvito needs to build, run and test, when any
# is missing. As root it runs apt-get itself; otherwise it prints the exact
# command to run and stops, so a user is never surprised by a sudo prompt.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev libgl-dev libx11-dev libxext-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-14-dev
  xvfb openbox tint2 xdotool x11-utils x11-xserver-utils wmctrl
  imagemagick fonts-ipafont-gothic fontconfig dbus-x11 procps oneko
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

if [ "$(id -u)" -ne 0 ]; then
  echo "kuvito needs these Debian packages. Install them, then run this again:" >&2
  echo "  sudo apt-get update && sudo apt-get install -y ${missing[*]}" >&2
  exit 1
fi

echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}"
