#!/usr/bin/env bash
# The hostile-file kit: makes skin folders that each hold one hostile file (a named
# pipe, a link to /dev/zero, a folder named 3.gif, an oversize description file, an
# oversize picture file, a 1025x1025 picture, fifteen 1024x1024 pictures, 100 MB of
# line ends; within the limits: a line of nearly 1 MiB, 1 MiB of short junk lines,
# 1 MiB of "z" lines, a NUL byte, fifteen 1024x1024 pictures of one colour (1.8 KB
# each), an empty description file and one that begins with a NUL; a folder that
# cannot be searched, a loop of links as SKIN_DIR and as 3.gif), runs `vellumark-skin
# check`, `render` and `sheet` and the editor's Open (through the editing session:
# session-open; and in the main window, with All states and the canvas: editor-open)
# on them under /usr/bin/time, and checks the
# exit status, the message, the time (2 s) and the peak memory (100 MB) of every
# run. Then writes render's PNG onto a link, a link to /dev/full, a named pipe, a
# link that leads nowhere and (as root) a link another user made in a shared folder.
# Prints one line per run; exits 1 when any run misses.
# Usage: scripts/hostile-kit.sh [BUILD_DIR] [--no-limits]
#   --no-limits  checks messages and exit codes only (sanitized builds are slower
#                and larger by design)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
limits=1
[ "${2:-}" = "--no-limits" ] && limits=0
exe=$build/bin/vellumark-skin
session_open=$build/bin/session-open
editor_open=$build/bin/editor-open
makegif=$build/bin/make-test-gif
max_seconds=2
max_kb=$((100 * 1024))
[ -x /usr/bin/time ] || "$root/scripts/deps.sh" time

work=$(mktemp -d)
trap 'chmod -R u+rwx "$work"; rm -rf "$work"' EXIT
chmod 755 "$work" # the unprivileged run below reads it
base=$root/examples/skins/harbour

new_skin() {
  mkdir -p "$work/$1"
  cp "$base"/* "$work/$1/"
  echo "$work/$1"
}

skin=$(new_skin fifo);            rm "$skin/3.gif"; mkfifo "$skin/3.gif"
skin=$(new_skin dev-zero);        rm "$skin/3.gif"; ln -s /dev/zero "$skin/3.gif"
skin=$(new_skin folder-3gif);     rm "$skin/3.gif"; mkdir "$skin/3.gif"
skin=$(new_skin big-description); { cat "$base/Ruvex.rvk"; head -c $((1024 * 1024)) /dev/zero | tr '\0' ';'; } >"$skin/Ruvex.rvk"
skin=$(new_skin big-picture);     truncate -s $((16 * 1024 * 1024 + 1)) "$skin/3.gif"
skin=$(new_skin picture-1025);    "$makegif" 1025 1025 "$skin/3.gif"
skin=$(new_skin fifteen-1024);    "$makegif" 1024 1024 "$skin/0.gif"
for n in $(seq 1 14); do cp "$skin/0.gif" "$skin/$n.gif"; done
skin=$(new_skin one-colour-1024); "$makegif" --one-colour 1024 1024 "$skin/0.gif"
for n in $(seq 1 14); do cp "$skin/0.gif" "$skin/$n.gif"; done
skin=$(new_skin empty-rvk); : >"$skin/Ruvex.rvk"
skin=$(new_skin nul-first);       { printf '\0'; cat "$base/Ruvex.rvk"; } >"$skin/Ruvex.rvk"
skin=$(new_skin line-ends-100mb); head -c $((100 * 1024 * 1024)) /dev/zero | tr '\0' '\n' >"$skin/Ruvex.rvk"
# Within the 1 MiB limit: Artist's X as one word of sevens filling the file; short
# junk lines; "z" lines; a NUL byte in the middle of the file.
mib=$((1024 * 1024))
base_size=$(stat -c %s "$base/Ruvex.rvk")
skin=$(new_skin long-line)
{ sed '/^Artist /d' "$base/Ruvex.rvk"; printf 'Artist = '; head -c $((mib - base_size - 100)) /dev/zero | tr '\0' 7
  printf ' 2 20 0xFFFFFFFF 0 8 255\r\n'; } >"$skin/Ruvex.rvk"
skin=$(new_skin junk-lines);      { cat "$base/Ruvex.rvk"; (yes '#!' || true) | head -c $((mib - base_size)); } >"$skin/Ruvex.rvk"
skin=$(new_skin z-lines);         { cat "$base/Ruvex.rvk"; (yes z || true) | head -c $((mib - base_size)); } >"$skin/Ruvex.rvk"
skin=$(new_skin nul);             { cat "$base/Ruvex.rvk"; printf '\0; kept out of the lines\r\n'; } >"$skin/Ruvex.rvk"
nul_line=$(($(wc -l <"$base/Ruvex.rvk") + 1))
skin=$(new_skin no-search);       chmod 600 "$skin"
ln -s "$work/loop-b" "$work/loop-a"; ln -s "$work/loop-a" "$work/loop-b"
skin=$(new_skin loop-3gif);       rm "$skin/3.gif"; ln -s 3.gif "$skin/3.gif"
sevens=$(printf '7%.0s' $(seq 80))…

# name | command | expected exit | text the output must hold
cases=(
  "fifo|check|1|3.gif: Cannot open file \"$work/fifo/3.gif\". It is a named pipe, not a regular file"
  "fifo|render|1|Cannot open file \"$work/fifo/3.gif\". It is a named pipe, not a regular file."
  "dev-zero|check|1|3.gif: Cannot open file \"$work/dev-zero/3.gif\". It is a device, not a regular file"
  "dev-zero|render|1|Cannot open file \"$work/dev-zero/3.gif\". It is a device, not a regular file."
  "folder-3gif|check|1|3.gif: Cannot open file \"$work/folder-3gif/3.gif\". Is a directory"
  "folder-3gif|render|1|Cannot open file \"$work/folder-3gif/3.gif\". Is a directory."
  "big-description|check|1|Ruvex.rvk: Cannot open file \"$work/big-description/Ruvex.rvk\". The file is larger than the limit of 1 MiB"
  "big-description|render|1|Cannot open file \"$work/big-description/Ruvex.rvk\". The file is larger than the limit of 1 MiB."
  "big-picture|check|1|3.gif: Cannot open file \"$work/big-picture/3.gif\". The file is larger than the limit of 16 MiB"
  "big-picture|render|1|Cannot open file \"$work/big-picture/3.gif\". The file is larger than the limit of 16 MiB."
  "picture-1025|check|1|3.gif: cannot be decoded: The picture is larger than 1024x1024 pixels"
  "picture-1025|render|1|Cannot read picture \"$work/picture-1025/3.gif\". The picture is larger than 1024x1024 pixels."
  "fifteen-1024|check|1|.gif lies partly outside the 176x220 screen"
  "fifteen-1024|render|0|"
  "one-colour-1024|check|1|.gif lies partly outside the 176x220 screen"
  "one-colour-1024|render|0|"
  "one-colour-1024|sheet|0|"
  "one-colour-1024|open|0|.gif lies partly outside the 176x220 screen"
  "one-colour-1024|editor|0|"
  "empty-rvk|check|1|Ruvex.rvk: the file is empty"
  "empty-rvk|open|1|error: Ruvex.rvk: the file is empty. List index out of bounds (-1)"
  "nul-first|open|1|error: Ruvex.rvk:1: a NUL byte ends the text at its first byte. List index out of bounds (-1)"
  "line-ends-100mb|check|1|Ruvex.rvk: Cannot open file \"$work/line-ends-100mb/Ruvex.rvk\". The file is larger than the limit of 1 MiB"
  "line-ends-100mb|render|1|Cannot open file \"$work/line-ends-100mb/Ruvex.rvk\". The file is larger than the limit of 1 MiB."
  "long-line|check|1|\"Artist\": x \"$sevens\" is not a number"
  "long-line|render|1|'$sevens' is not a valid integer value."
  "long-line|sheet|1|'$sevens' is not a valid integer value."
  "long-line|open|1|\"Artist\": '$sevens' is not a valid integer value."
  "junk-lines|check|1|: not recognised: neither an element line"
  "junk-lines|render|0|"
  "junk-lines|sheet|0|"
  "junk-lines|open|0|: not recognised: neither an element line"
  "z-lines|check|1|: not recognised: neither an element line"
  "z-lines|render|0|"
  "z-lines|sheet|0|"
  "z-lines|open|0|: not recognised: neither an element line"
  "nul|check|1|Ruvex.rvk:$nul_line: a NUL byte ends the text here; the 25 bytes after it are ignored and will not be written back"
  "nul|open|0|Ruvex.rvk:$nul_line: a NUL byte ends the text here; the 25 bytes after it are ignored and will not be written back"
  "no-search|check|1|Cannot open file \"$work/no-search/Ruvex.rvk\". Permission denied"
  "no-search|open|1|error: Cannot open file \"$work/no-search/Ruvex.rvk\". Permission denied."
  "loop-a|check|1|Cannot open \"$work/loop-a\". Too many levels of symbolic links"
  "loop-3gif|check|1|3.gif: Cannot open file \"$work/loop-3gif/3.gif\". Too many levels of symbolic links"
  "loop-3gif|render|1|Cannot open file \"$work/loop-3gif/3.gif\". Too many levels of symbolic links."
  "loop-3gif|sheet|1|Cannot open file \"$work/loop-3gif/3.gif\". Too many levels of symbolic links."
  "loop-3gif|open|1|Cannot open file \"$work/loop-3gif/3.gif\". Too many levels of symbolic links."
  "loop-a|editor|1|error: Cannot open file \"$work/loop-a\". Too many levels of symbolic links."
)

status=0
printf '%-16s %-7s %5s %8s %9s  %s\n' case command exit seconds "peak KB" outcome
for entry in "${cases[@]}"; do
  IFS='|' read -r name command want text <<<"$entry"
  program=("$exe" "$command" "$work/$name")
  [ "$command" = open ] && program=("$session_open" "$work/$name")
  [ "$command" = editor ] && program=("$editor_open" "$work/$name")
  [ "$command" = render ] || [ "$command" = sheet ] && program+=(-o "$work/$name.png")
  # Root may search any folder: the unreadable one is tried as an ordinary user.
  if [ "$name" = no-search ] && [ "$(id -u)" = 0 ]; then
    program=(setpriv --reuid=nobody --regid=nogroup --clear-groups -- "${program[@]}")
  fi
  set +e
  timeout 30 /usr/bin/time -f '%e %M' -o "$work/stats" "${program[@]}" >"$work/out" 2>&1
  got=$?
  set -e
  read -r seconds kb < <(tail -n 1 "$work/stats") || { seconds=?; kb=?; }
  problems=()
  [ "$got" = "$want" ] || problems+=("exit $got, expected $want")
  if [ -n "$text" ] && ! grep -qF -- "$text" "$work/out"; then
    problems+=("output lacks: $text")
  fi
  if [ "$limits" = 1 ]; then
    awk -v s="$seconds" -v m="$max_seconds" 'BEGIN { exit !(s + 0 <= m) }' || problems+=("took ${seconds}s")
    [ "${kb:-0}" -lt "$max_kb" ] 2>/dev/null || problems+=("peak ${kb} KB")
  fi
  outcome=ok
  if [ ${#problems[@]} -gt 0 ]; then
    outcome="FAILED: ${problems[*]}"
    status=1
    sed 's/^/    | /' "$work/out" | head -n 5
  fi
  printf '%-16s %-7s %5s %8s %9s  %s\n' "$name" "$command" "$got" "$seconds" "$kb" "$outcome"
done

# PNGs written onto what is not a plain file: through a link to the file it names
# (the link stays a link); a link to a device and a named pipe are refused.
output_case() {
  local what=$1 want=$2 text=$3 target=$4 got
  set +e
  "$exe" render "$base" -o "$target" >"$work/out" 2>&1
  got=$?
  set -e
  if [ "$got" != "$want" ] || { [ -n "$text" ] && ! grep -qF -- "$text" "$work/out"; }; then
    echo "output onto $what: exit $got, expected $want with \"$text\": FAILED"; sed 's/^/    | /' "$work/out"; status=1
  else
    echo "output onto $what: ok"
  fi
}
touch "$work/real.png"; ln -s real.png "$work/link.png"
output_case "a link to a file" 0 "" "$work/link.png"
[ -L "$work/link.png" ] && [ -s "$work/real.png" ] || { echo "  the link was replaced or its file not written: FAILED"; status=1; }
ln -s /dev/full "$work/full.png"
output_case "a link to /dev/full" 1 "It is a device, not a regular file" "$work/full.png"
[ -L "$work/full.png" ] || { echo "  the link to /dev/full was replaced: FAILED"; status=1; }
mkfifo "$work/pipe.png"
output_case "a named pipe" 1 "It is a named pipe, not a regular file" "$work/pipe.png"
[ -p "$work/pipe.png" ] || { echo "  the named pipe was replaced: FAILED"; status=1; }
ln -s "$work/nothing.png" "$work/nowhere.png"
output_case "a link that leads nowhere" 1 "which does not exist" "$work/nowhere.png"
[ ! -e "$work/nothing.png" ] || { echo "  the file the link names was created: FAILED"; status=1; }
if [ "$(id -u)" = 0 ]; then
  mkdir -m 1777 "$work/shared"; echo "notes" >"$work/notes.txt"
  ln -s "$work/notes.txt" "$work/shared/preview.png"; chown -h nobody "$work/shared/preview.png"
  output_case "another user's link in a shared folder" 1 "made by another user: it is not followed" "$work/shared/preview.png"
  [ "$(cat "$work/notes.txt")" = notes ] || { echo "  the file the link names was replaced: FAILED"; status=1; }
fi
exit $status
