#!/bin/sh
# Runs a test program as an ordinary user. Root may write into any folder,
# so whatever depends on a folder being read-only can only be seen this way.
# As root, a system user for the tests is created when missing and the
# program is copied where that user can run it.
set -eu
program=$1
shift
if [ "$(id -u)" -ne 0 ]; then
  exec "$program" "$@"
fi
user=kuvito-tests
id -u "$user" >/dev/null 2>&1 ||
  useradd --system --no-create-home --shell /usr/sbin/nologin "$user" 2>/dev/null ||
  id -u "$user" >/dev/null
work=$(mktemp -d -t kuvito-as-user.XXXXXX)
trap 'rm -rf "$work"' EXIT
cp "$program" "$work/"
mkdir "$work/home" "$work/runtime"
chmod 700 "$work/runtime"
chown -R "$user" "$work"
cd "$work"
runuser -u "$user" -- env HOME="$work/home" TMPDIR="$work" XDG_RUNTIME_DIR="$work/runtime" \
  "$work/$(basename "$program")" "$@"
