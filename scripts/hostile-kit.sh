#!/usr/bin/env bash
# The hostile-file kit: makes skin folders that each hold one hostile file (a named
# pipe, a link to /dev/zero, a folder named 3.gif, an oversize description file, an
# oversize picture file, a 1025x1025 picture, fifteen 1024x1024 pictures, 100 MB of
# line ends), runs `vellumark-skin check` and `render` on each under /usr/bin/time,
# and checks the exit status, the message, the time (2 s) and the peak memory
# (100 MB) of every run. Prints one line per run; exits 1 when any run misses.
# Usage: scripts/hostile-kit.sh [BUILD_DIR] [--no-limits]
#   --no-limits  checks messages and exit codes only (sanitized builds are slower
#                and larger by design)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
limits=1
[ "${2:-}" = "--no-limits" ] && limits=0
exe=$build/bin/vellumark-skin
makegif=$build/bin/make-test-gif
max_seconds=2
max_kb=$((100 * 1024))
[ -x /usr/bin/time ] || "$root/scripts/deps.sh" time

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
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
skin=$(new_skin line-ends-100mb); head -c $((100 * 1024 * 1024)) /dev/zero | tr '\0' '\n' >"$skin/Ruvex.rvk"

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
  "line-ends-100mb|check|1|Ruvex.rvk: Cannot open file \"$work/line-ends-100mb/Ruvex.rvk\". The file is larger than the limit of 1 MiB"
  "line-ends-100mb|render|1|Cannot open file \"$work/line-ends-100mb/Ruvex.rvk\". The file is larger than the limit of 1 MiB."
)

status=0
printf '%-16s %-7s %5s %8s %9s  %s\n' case command exit seconds "peak KB" outcome
for entry in "${cases[@]}"; do
  IFS='|' read -r name command want text <<<"$entry"
  args=("$command" "$work/$name")
  [ "$command" = render ] && args+=(-o "$work/$name.png")
  set +e
  timeout 30 /usr/bin/time -f '%e %M' -o "$work/stats" "$exe" "${args[@]}" >"$work/out" 2>&1
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
exit $status
