#!/usr/bin/env bash
# Runs .ci/run as CI does on a brand-new machine: from a clean clone of this
# checkout's committed HEAD, inside a fresh Debian 12 root file system that has
# nothing but apt, so that a package this machine got by hand cannot hide a
# gap in what the scripts install.
#
#   tools/fresh-ci.sh [DIR]
#
# DIR (default /var/tmp/kuvito-fresh-ci) is emptied first and keeps the root,
# the clone and ci.log afterwards; remove it when done (it grows to about
# 9 GB). It prints the time .ci/run took and ends with its exit code.
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
dir=${1:-/var/tmp/kuvito-fresh-ci}
[ "$(id -u)" -eq 0 ] || { echo "$0 makes and enters a root file system: run it as root" >&2; exit 1; }

rm -rf "$dir"
mkdir -p "$dir"
git clone --quiet --no-hardlinks "$repo" "$dir/kuvito"
start=$(date +%s)
set +e
# The inner run makes its own Debian 13 root inside this one, so the
# variables that point here do not go in.
KUVITO_DEBIAN13_ROOT=$dir/root KUVITO_ROOT_SUITE=bookworm "$dir/kuvito/tools/debian13.sh" -- \
  env -u KUVITO_DEBIAN13_ROOT -u KUVITO_ROOT_SUITE .ci/run 2>&1 | tee "$dir/ci.log"
rc=${PIPESTATUS[0]}
set -e
echo "fresh-ci: .ci/run took $(($(date +%s) - start)) s in a fresh Debian 12 root and ended with $rc"
exit "$rc"
