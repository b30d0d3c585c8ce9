#!/usr/bin/env bash
# Installs the .deb with apt-get into a fresh Debian 12 root (debootstrap, minbase),
# as on a new machine: apt must fetch every dependency the package names. Then, as
# user nobody inside that root, renders the example skin the package installs with
# /usr/bin/vellumark-skin and starts /usr/bin/vellumark offscreen for three seconds;
# finally removes the package again. Needs root and Debian's package servers; takes a few minutes.
# Usage: packaging/test-deb-chroot.sh DEB [ROOT]
#   ROOT  the folder for the Debian root; made with debootstrap when it holds none,
#         kept afterwards (default: a temporary folder, removed at the end)
set -euo pipefail
if [ $# -lt 1 ] || [ $# -gt 2 ]; then echo "usage: $0 DEB [ROOT]" >&2; exit 2; fi
[ "$(id -u)" -eq 0 ] || { echo "$0: needs root (debootstrap, chroot)" >&2; exit 2; }
deb=$(realpath "$1")
repo=$(cd "$(dirname "$0")/.." && pwd)
"$repo/scripts/deps.sh" debootstrap

keep=false
if [ $# -eq 2 ]; then
  root=$(realpath -m "$2")
  keep=true
else
  root=$(mktemp -d "${TMPDIR:-/tmp}/vellumark-root.XXXXXX")
  chmod 755 "$root" # it becomes "/" for apt's and the programs' users
fi
cleanup() {
  if mountpoint -q "$root/proc"; then umount "$root/proc"; fi
  if ! $keep; then rm -rf "$root"; fi
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

if [ ! -f "$root/etc/debian_version" ]; then
  debootstrap --variant=minbase bookworm "$root" http://deb.debian.org/debian >"$root.debootstrap.log" 2>&1 \
    || { tail -20 "$root.debootstrap.log" >&2; fail "debootstrap"; }
  rm -f "$root.debootstrap.log"
fi
cp /etc/resolv.conf "$root/etc/resolv.conf"
# The programs find their folder through /proc/self/exe, as on any running system.
mountpoint -q "$root/proc" || mount -t proc proc "$root/proc"
in_root() { chroot "$root" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin LANG=C.UTF-8 "$@"; }

in_root dpkg -s vellumark >/dev/null 2>&1 && in_root apt-get purge -y -qq vellumark >/dev/null
cp "$deb" "$root/tmp/"
in_root apt-get update -qq
DEBIAN_FRONTEND=noninteractive in_root apt-get install -y -qq --no-install-recommends "/tmp/$(basename "$deb")" \
  >"$root/tmp/install.log" 2>&1 || { cat "$root/tmp/install.log" >&2; fail "apt-get install"; }
# shellcheck disable=SC2016 # dpkg-query's own ${field} syntax
echo "installed into $root: $(in_root dpkg-query -W -f '${Package} ${Version} ${Status}' vellumark)"

work=/tmp/vellumark-check
rm -rf "${root:?}$work"
mkdir -p "$root$work/home" "$root$work/out"
chown nobody:nogroup "$root$work/home" "$root$work/out"
as_nobody() {
  chroot --userspec=nobody:nogroup "$root" env -i PATH=/usr/bin:/bin HOME="$work/home" LANG=C.UTF-8 \
    QT_QPA_PLATFORM=offscreen "$@"
}

# The example skin the package installs, as README's examples use it.
as_nobody vellumark-skin render /usr/share/vellumark/examples/skins/harbour -o "$work/out/harbour.png" \
  || fail "vellumark-skin render"
[ "$(od -An -tx1 -j16 -N8 "$root$work/out/harbour.png" | tr -d ' \n')" = "000000b0000000dc" ] \
  || fail "the render is not a 176x220 PNG"
echo "vellumark-skin render: 176x220 PNG"

# A simple command, not the function: chroot and env exec, so $! is the editor.
chroot --userspec=nobody:nogroup "$root" env -i PATH=/usr/bin:/bin HOME="$work/home" LANG=C.UTF-8 \
  QT_QPA_PLATFORM=offscreen vellumark >"$root$work/editor.log" 2>&1 &
editor=$!
sleep 3
kill -0 "$editor" 2>/dev/null || { cat "$root$work/editor.log" >&2; fail "the editor ended within 3 s"; }
[ "$(readlink "/proc/$editor/exe")" = "$root/usr/lib/vellumark/vellumark" ] \
  || { kill -KILL "$editor"; fail "process $editor is not the installed editor"; }
kill -TERM "$editor"
wait "$editor" 2>/dev/null || true
echo "vellumark: still running after 3 s, ended"

in_root apt-get purge -y -qq vellumark >"$root/tmp/purge.log" 2>&1 || { cat "$root/tmp/purge.log" >&2; fail "apt-get purge"; }
if [ -e "$root/usr/lib/vellumark" ] || [ -L "$root/usr/bin/vellumark" ]; then fail "files left after apt-get purge"; fi
echo "removed again: fresh Debian 12 root check passed"
