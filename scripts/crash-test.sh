#!/usr/bin/env bash
# The crash test: starts workspace-writer (Open, Autosave, Save as and Replace
# picture in a loop between two skins), kills it with SIGKILL at a random moment,
# and checks after every kill that
#   - every file of the working copy and of the Save-as folder is whole: skin A's or
#     skin B's version of it, never a mix or a truncated file;
#   - the next start takes the working folder at once (no "in use" error, well
#     within a second), however the last one ended;
#   - no temporary file of the program remains in the working folder after it.
# Temporary files left in the Save-as folder (only a kill between naming one and
# renaming it can leave one) are counted and shown.
# Usage: scripts/crash-test.sh [BUILD_DIR] [KILLS]     (default 300 kills)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
kills=${2:-300}
writer=$build/bin/workspace-writer
makegif=$build/bin/make-test-gif

work=$(mktemp -d)
writer_pid=
cleanup() {
  [ -n "$writer_pid" ] && kill -9 "$writer_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

# Skin A: the example skin. Skin B: larger pictures (so that kills often land in
# the middle of a write) and other positions.
mkdir -p "$work/a" "$work/b" "$work/exe" "$work/dest"
cp "$root/examples/skins/harbour/"* "$work/a/"
for n in $(seq 0 14); do "$makegif" $((120 + n)) 90 "$work/b/$n.gif"; done
sed 's/^Play = .*\r$/Play = 1 2 20\r/' "$work/a/Ruvex.rvk" >"$work/b/Ruvex.rvk"
cmp -s "$work/a/Ruvex.rvk" "$work/b/Ruvex.rvk" && { echo "skins A and B must differ"; exit 1; }

working=$work/exe/Temp
is_temporary() { [[ $1 =~ ^\..+\.vellumark-[A-Za-z0-9]{6}$ || $1 =~ ^\.[0-9]+\.gif\.previous$ ]]; }

# Every skin file of folder is A's or B's version; none of the program's
# temporary files is there unless allowed.
check_folder() {
  local folder=$1 allow_temporaries=$2 name failures=0
  for name in Ruvex.rvk $(seq -f '%g.gif' 0 14); do
    [ -e "$folder/$name" ] || continue
    if ! cmp -s "$folder/$name" "$work/a/$name" && ! cmp -s "$folder/$name" "$work/b/$name"; then
      echo "  $folder/$name is neither skin's version ($(stat -c %s "$folder/$name") bytes)"
      failures=1
    fi
  done
  for name in $(ls -A "$folder"); do
    if is_temporary "$name"; then
      stray_count=$((stray_count + 1))
      [ "$allow_temporaries" = 1 ] || { echo "  temporary file left: $folder/$name"; failures=1; }
    fi
  done
  return $failures
}

status=0
stray_count=0
dest_strays=0
slowest=0
start=$(date +%s)
for i in $(seq 1 "$kills"); do
  "$writer" run "$work/exe" "$work/a" "$work/b" "$work/dest" 2>"$work/writer.err" &
  writer_pid=$!
  # 5 to 300 ms: from the start-up through many rounds of writes.
  sleep "0.$(printf '%03d' $((RANDOM % 296 + 5)))"
  kill -9 "$writer_pid" 2>/dev/null || true
  wait "$writer_pid" 2>/dev/null || true
  writer_pid=
  if [ -s "$work/writer.err" ]; then
    echo "kill $i: the writer failed: $(cat "$work/writer.err")"
    status=1
  fi
  [ -d "$working" ] || continue
  check_folder "$working" 1 || { echo "kill $i: working copy broken"; status=1; }
  before=$stray_count
  check_folder "$work/dest" 1 || { echo "kill $i: Save-as folder broken"; status=1; }
  dest_strays=$((dest_strays + stray_count - before))
  rm -f "$work/dest"/.*.vellumark-* 2>/dev/null || true

  # The next start: takes the folder at once and clears the temporary files.
  t0=$(date +%s%N)
  if ! out=$(timeout 10 "$writer" take "$work/exe" "$work/a" 2>&1); then
    echo "kill $i: the next start did not take the working folder: $out"
    status=1
  fi
  ms=$((($(date +%s%N) - t0) / 1000000))
  [ $ms -gt $slowest ] && slowest=$ms
  if [ $ms -gt 1000 ]; then
    echo "kill $i: the next start took $ms ms"
    status=1
  fi
  check_folder "$working" 0 || { echo "kill $i: after the next start"; status=1; }
done
echo "crash test: $kills kills in $(($(date +%s) - start)) s; slowest next start ${slowest} ms;" \
     "temporary files found in the working folder before the next start: $((stray_count - dest_strays))," \
     "in the Save-as folder: $dest_strays; $([ $status = 0 ] && echo 'every file whole' || echo FAILED)"
exit $status
