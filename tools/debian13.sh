#!/usr/bin/env bash
# Runs a command inside a Debian 13 ("trixie") root file system, so that the
# project is built and tested with the current release's compiler, Qt and
# desktops on a Debian 12 machine:
#
#   tools/debian13.sh [--deps PURPOSE...] -- command [args...]
#
# The root is made once with mmdebstrap from Debian's package registry (the
# one this machine's apt uses; nothing else is fetched) and kept in
# $KUVITO_DEBIAN13_ROOT (default /var/tmp/kuvito-debian13/root) for later
# runs; delete that folder to start over. --deps installs inside it what
# tools/deps.sh names for those purposes (deps.sh picks each release's own
# package names and installs only what is missing).
#
# The checkout is bound at the same path inside, so build trees, logs and
# results have the same paths inside and out. The command runs as root from
# the checkout's top folder, in a private mount namespace: /dev, /proc and
# /sys are the machine's, /run and /tmp are fresh, and nothing stays mounted
# when it ends. The root is the namespace's root mount, so that a command
# inside may unshare a mount namespace again (the GNOME Shell session does)
# and still read other processes' programs by their paths.
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
root=${KUVITO_DEBIAN13_ROOT:-/var/tmp/kuvito-debian13/root}
# The release the root is made of when it is made (tools/fresh-ci.sh makes a
# Debian 12 one the same way).
suite=${KUVITO_ROOT_SUITE:-trixie}

deps=()
while [ $# -gt 0 ]; do
  case "$1" in
    --deps)
      shift
      while [ $# -gt 0 ] && [ "$1" != -- ]; do deps+=("$1"); shift; done
      ;;
    --) shift; break ;;
    *) break ;;
  esac
done
[ $# -gt 0 ] || { echo "usage: $0 [--deps PURPOSE...] -- command [args...]" >&2; exit 2; }
[ "$(id -u)" -eq 0 ] || { echo "$0 makes and enters a root file system: run it as root" >&2; exit 1; }

# The registry this machine's apt reads Debian from.
mirror() {
  local uri
  uri=$(sed -n 's/^URIs: *\([^ ]*\).*/\1/p' /etc/apt/sources.list.d/*.sources 2>/dev/null | grep -v security | head -n 1 || true)
  [ -n "$uri" ] || uri=$(awk '$1 == "deb" && $3 !~ /security/ { print $2; exit }' /etc/apt/sources.list 2>/dev/null || true)
  echo "${uri:-http://deb.debian.org/debian}"
}

if [ ! -x "$root/usr/bin/apt-get" ]; then
  command -v mmdebstrap >/dev/null || "$repo/tools/deps.sh" debian13
  echo "Making a Debian $suite root in $root (once; about two minutes)"
  rm -rf "$root.new"
  mkdir -p "$(dirname "$root")"
  mmdebstrap --quiet --variant=apt --components=main --include=ca-certificates \
    "$suite" "$root.new" "deb $(mirror) $suite main"
  rm -rf "$root"
  mv "$root.new" "$root"
fi

# What goes in: the command, the purposes to install first, and the project's
# own variables; the rest of this machine's environment stays out.
keep=(HOME=/root PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin LANG=C.UTF-8
  "TERM=${TERM:-dumb}")
while IFS= read -r name; do keep+=("$name=${!name}"); done < <(compgen -e | grep -E '^(KUVITO_|CI$)' || true)

unshare --mount --propagation private -- bash -euc '
  root=$1 repo=$2 nkeep=$3
  shift 3
  keep=("${@:1:$nkeep}")
  shift "$nkeep"
  ndeps=$1
  shift
  deps=("${@:1:$ndeps}")
  shift "$ndeps"
  mount --bind "$root" "$root"
  mount --rbind /dev "$root/dev"
  mount -t proc proc "$root/proc"
  mount --rbind /sys "$root/sys"
  mount -t tmpfs -o mode=1777 tmpfs "$root/tmp"
  mount -t tmpfs -o mode=755 tmpfs "$root/run"
  mkdir -p "$root$repo"
  mount --bind "$repo" "$root$repo"
  cp /etc/resolv.conf "$root/etc/resolv.conf" 2>/dev/null || true
  # The root becomes this namespace'"'"'s own root (not a chroot): a process
  # that makes a mount namespace of its own inside (the GNOME session)
  # still sees the others'"'"' programs at their paths in /proc/PID/exe.
  mkdir -p "$root/.oldroot"
  # The new root may have no umount of its own yet (a fresh apt variant):
  # this machine'"'"'s lets the old root go.
  umount=/.oldroot$(command -v umount)
  cd "$root"
  pivot_root . .oldroot
  "$umount" -l /.oldroot
  if [ "$ndeps" -gt 0 ]; then
    env -i "${keep[@]}" "$repo/tools/deps.sh" "${deps[@]}"
  fi
  exec env -i "${keep[@]}" bash -c "cd \"\$0\" && exec \"\$@\"" "$repo" "$@"
' bash "$root" "$repo" "${#keep[@]}" "${keep[@]}" "${#deps[@]}" "${deps[@]}" "$@"
