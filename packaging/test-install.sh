#!/usr/bin/env bash
# Installs a build into a temporary prefix, makes the prefix read-only and runs
# the installed programs from their bin/ links as an unprivileged user (nobody,
# when run as root, who could write anywhere): vellumark-skin renders the example
# skin installed beside it and finds no problem in it, and the editor starts
# offscreen and keeps running. Nothing may be written inside the prefix.
#
# Usage: [CMAKE=cmake] packaging/test-install.sh BUILD_DIR REFERENCE_SKIN_EXE VERSION
#   REFERENCE_SKIN_EXE  the build folder's vellumark-skin; the installed one must
#                       render the same PNG, so it found the same assets
#   VERSION             the project's version; the AppStream release must match
set -euo pipefail
umask 022

[ $# -eq 3 ] || { echo "usage: $0 BUILD_DIR REFERENCE_SKIN_EXE VERSION" >&2; exit 2; }
build=$1
reference_exe=$2
version=$3
root=$(cd "$(dirname "$0")/.." && pwd)
app_id=org.vellumark.vellumark

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

editor_pid=""
# As root the programs run as nobody, who must reach the folder: /tmp then.
base=${TMPDIR:-/tmp}
[ "$(id -u)" -ne 0 ] || base=/tmp
work=$(realpath "$(mktemp -d "$base/vellumark-install.XXXXXX")")
cleanup() {
  if [ -n "$editor_pid" ] && kill -0 "$editor_pid" 2>/dev/null; then
    kill -KILL "$editor_pid" 2>/dev/null || true
  fi
  chmod -R u+w "$work" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
chmod 755 "$work"

# ---- Install and layout ------------------------------------------------------
prefix=$work/prefix
"${CMAKE:-cmake}" --install "$build" --prefix "$prefix" >"$work/install.log" || { cat "$work/install.log" >&2; fail "cmake --install"; }

app=$prefix/lib/vellumark
for exe in vellumark vellumark-skin; do
  if [ ! -x "$app/$exe" ] || [ -L "$app/$exe" ]; then fail "lib/vellumark/$exe is not an executable file"; fi
  # Relative, so the links stay right in a package or a moved prefix.
  [ "$(readlink "$prefix/bin/$exe")" = "../lib/vellumark/$exe" ] \
    || fail "bin/$exe should link to ../lib/vellumark/$exe, is: $(readlink "$prefix/bin/$exe" || echo 'no link')"
done
for asset in LangRuvex.txt statusline.gif; do
  cmp -s "$root/assets/Files/$asset" "$app/Files/$asset" || fail "lib/vellumark/Files/$asset missing or different"
done
diff -r "$root/examples/skins/harbour" "$app/Files/Starter" >&2 || fail "lib/vellumark/Files/Starter is not the starter skin"
[ ! -e "$prefix/bin/Files" ] || fail "bin/Files installed: the assets belong beside the real executables"
examples=$prefix/share/vellumark/examples/skins
diff -r "$root/examples/skins" "$examples" >&2 || fail "share/vellumark/examples/skins is not examples/skins"
for file in share/applications/vellumark.desktop \
            share/icons/hicolor/scalable/apps/vellumark.svg \
            share/icons/hicolor/64x64/apps/vellumark.png \
            share/metainfo/$app_id.metainfo.xml share/doc/vellumark/copyright; do
  [ -s "$prefix/$file" ] || fail "$file not installed"
done
# PNG signature, then the IHDR chunk's width and height (big-endian).
[ "$(od -An -tx1 -N24 "$prefix/share/icons/hicolor/64x64/apps/vellumark.png" | tr -d ' \n')" \
  = "89504e470d0a1a0a0000000d494844520000004000000040" ] || fail "the 64x64 icon is not a 64x64 PNG"

# The menu entry starts a program that is installed, and shows an icon that is.
desktop=$prefix/share/applications/vellumark.desktop
exec_name=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$desktop")
icon_name=$(sed -n 's/^Icon=//p' "$desktop")
[ -L "$prefix/bin/$exec_name" ] || fail "the desktop entry's Exec=$exec_name is not in bin/"
[ -f "$prefix/share/icons/hicolor/scalable/apps/$icon_name.svg" ] || fail "the desktop entry's Icon=$icon_name is not installed"
grep -q "<launchable type=\"desktop-id\">vellumark.desktop</launchable>" "$prefix/share/metainfo/$app_id.metainfo.xml" \
  || fail "the AppStream data does not name vellumark.desktop"
grep -q "<release version=\"$version\"" "$prefix/share/metainfo/$app_id.metainfo.xml" \
  || fail "the AppStream data has no release $version: add it to packaging/$app_id.metainfo.xml"

if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$desktop" || fail "desktop-file-validate"
else
  echo "note: desktop-file-validate not found (desktop-file-utils); the desktop entry is not validated"
fi
if command -v appstreamcli >/dev/null; then
  appstreamcli validate --no-net --pedantic "$prefix/share/metainfo/$app_id.metainfo.xml" >"$work/appstream.log" 2>&1 \
    || { cat "$work/appstream.log" >&2; fail "appstreamcli validate"; }
else
  echo "note: appstreamcli not found (appstream); the AppStream data is not validated"
fi

# ---- Read-only prefix, unprivileged user ---------------------------------------
# The installed example skin, as README's examples use it.
skin=$examples/harbour
home=$work/home
runtime=$work/runtime
out=$work/out
mkdir -p "$home" "$runtime" "$out"
chmod 700 "$runtime"
chmod -R a-w "$prefix"

as_user=()
if [ "$(id -u)" -eq 0 ]; then
  user=nobody
  group=$(id -gn "$user")
  chown "$user:$group" "$home" "$runtime" "$out"
  as_user=(setpriv --reuid="$user" --regid="$group" --clear-groups --)
fi
# A clean session: no variable of the caller's (XDG_DATA_HOME, QT_*) leaks in.
session=(env -i PATH=/usr/bin:/bin HOME="$home" XDG_RUNTIME_DIR="$runtime" LANG=C.UTF-8 QT_QPA_PLATFORM=offscreen)

snapshot() { find "$prefix" -printf '%y %m %s %T@ %p\n' | LC_ALL=C sort; }
snapshot >"$work/before"

# vellumark-skin from its link renders what the build folder's copy renders.
"${as_user[@]}" "${session[@]}" "$prefix/bin/vellumark-skin" render "$skin" -o "$out/harbour.png" \
  || fail "the installed vellumark-skin render failed"
QT_QPA_PLATFORM=offscreen "$reference_exe" render "$skin" -o "$work/reference.png" >/dev/null 2>&1 \
  || fail "the reference render with $reference_exe failed"
cmp -s "$out/harbour.png" "$work/reference.png" \
  || fail "the installed vellumark-skin rendered another picture than the build folder's (its assets?)"
"${as_user[@]}" "${session[@]}" "$prefix/bin/vellumark-skin" check "$skin" \
  || fail "the installed vellumark-skin check found problems in the installed example skin"

# The editor from its link starts and keeps running. Under strace (when there is
# one) the trace also shows whether it read its assets from the program folder;
# a missing asset would only show in an error box.
trace=""
launcher=()
if command -v strace >/dev/null && strace -qq -o /dev/null true 2>/dev/null; then
  trace=$work/editor.trace
  launcher=(strace -f -qq -e "trace=open,openat" -o "$trace")
fi
# The shell notes its process id, which the editor keeps through the execs; a
# tracer that is ended would leave its tracee running.
# shellcheck disable=SC2016 # $$ and $@ belong to the inner shell
"${launcher[@]}" sh -c 'echo $$ >"$0"; exec "$@"' "$work/editor.pid" \
  "${as_user[@]}" "${session[@]}" "$prefix/bin/vellumark" >"$work/editor.log" 2>&1 &
launched=$!
sleep 3
editor_pid=$(cat "$work/editor.pid" 2>/dev/null || true)
if [ -z "$editor_pid" ] || ! kill -0 "$editor_pid" 2>/dev/null; then
  editor_pid=""
  wait "$launched" && status=0 || status=$?
  cat "$work/editor.log" >&2
  fail "the installed editor ended within 3 s (status $status)"
fi
[ "$(readlink "/proc/$editor_pid/exe")" = "$app/vellumark" ] \
  || fail "process $editor_pid is not the installed editor: $(readlink "/proc/$editor_pid/exe")"
kill -TERM "$editor_pid"
wait "$launched" 2>/dev/null || true
editor_pid=""

if [ -n "$trace" ]; then
  for asset in statusline.gif LangRuvex.txt; do
    grep -qE "open(at)?\(.*\"$app/Files/$asset\", O_RDONLY.*= [0-9]+$" "$trace" \
      || fail "the installed editor did not read $app/Files/$asset"
  done
else
  echo "note: no working strace; the editor's reading of its assets is not checked"
fi

snapshot >"$work/after"
diff -u "$work/before" "$work/after" >&2 || fail "something was written inside the read-only prefix"

echo "install test passed: $prefix"
