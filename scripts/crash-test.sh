#!/usr/bin/env bash
# The crash test: starts workspace-writer (Open, Autosave, Save as and Replace
# picture in a loop between two skins), kills it with SIGKILL at a random moment,
# and checks after every kill that
#   - the next start takes the working folder at once (no "in use" error, well
#     within a second), however the last one ended;
#   - after it, the working copy and the Save-as folder each hold one whole skin:
#     every file from the same version (skin A, skin B, or either with the other's
#     3.gif, which the writer's Replace picture puts in), never a mix of versions
#     or a truncated file;
#   - no temporary file, commit record or note of the program remains in either.
# Then it kills the writer once right after each rename of an Open and a Save as
# (a preloaded rename that counts, tests/crash/KillAfterRename.cpp) and checks the
# same after each; then does that again with both folders moved elsewhere after the
# kill, the Save-as folder opened and saved into from where it now is; then runs two
# programs with working folders of their own on one folder, one saving into it 100
# times while the other keeps opening it.
# Usage: scripts/crash-test.sh [BUILD_DIR] [KILLS]     (default 300 random kills)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
kills=${2:-300}
writer=$build/bin/workspace-writer
preload=$build/bin/libkill-after-rename.so
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
is_temporary() {
  [[ $1 =~ ^\..+\.vellumark-[A-Za-z0-9]{6}$ || $1 =~ ^\.[0-9]+\.gif\.previous$ || $1 =~ ^\.vellumark-(commit|saving) ]]
}

# Which skin's version each file of folder is (A, B, ? for neither, - for none), in
# file order.
versions() {
  local folder=$1 name out=
  for name in Ruvex.rvk $(seq -f '%g.gif' 0 14); do
    if [ ! -e "$folder/$name" ]; then out+=-
    elif cmp -s "$folder/$name" "$work/a/$name"; then out+=A
    elif cmp -s "$folder/$name" "$work/b/$name"; then out+=B
    else out+='?'
    fi
  done
  echo "$out"
}

# folder holds one whole skin (or none yet): A or B, either with the other's 3.gif; no temporary
# file unless allowed (counted in stray_count).
check_folder() {
  local folder=$1 allow_temporaries=$2 name failures=0 v
  v=$(versions "$folder")
  case $v in
    AAAAAAAAAAAAAAAA | BBBBBBBBBBBBBBBB | AAAABAAAAAAAAAAA | BBBBABBBBBBBBBBB) ;;
    ----------------) ;; # nothing written there yet
    *) echo "  $folder is not one whole skin: $v (Ruvex.rvk, then 0.gif to 14.gif)"; failures=1 ;;
  esac
  for name in $(ls -A "$folder"); do
    if is_temporary "$name"; then
      stray_count=$((stray_count + 1))
      [ "$allow_temporaries" = 1 ] || { echo "  left behind: $folder/$name"; failures=1; }
    fi
  done
  return $failures
}

# Counts the program's temporary files in folder (before a next start).
count_strays() {
  local name
  for name in $(ls -A "$1" 2>/dev/null); do
    if is_temporary "$name"; then stray_count=$((stray_count + 1)); fi
  done
}

status=0
stray_count=0
working_strays=0
dest_strays=0
slowest=0

# The next start after a kill: takes the working folder at once and leaves it and
# the Save-as folder each one whole skin, with nothing of the program's left.
next_start() {
  local what=$1 working_folder=$2 dest_folder=$3 t0 ms out exe
  exe=$(dirname "$working_folder")
  t0=$(date +%s%N)
  if ! out=$(timeout 10 "$writer" take "$exe" 2>&1); then
    echo "$what: the next start did not take the working folder: $out"
    status=1
  fi
  ms=$((($(date +%s%N) - t0) / 1000000))
  [ $ms -gt $slowest ] && slowest=$ms
  if [ $ms -gt 1000 ]; then
    echo "$what: the next start took $ms ms"
    status=1
  fi
  check_folder "$working_folder" 0 || { echo "$what: working copy after the next start"; status=1; }
  if [ -e "$dest_folder/Ruvex.rvk" ] || [ -n "$(ls -A "$dest_folder")" ]; then
    check_folder "$dest_folder" 0 || { echo "$what: Save-as folder after the next start"; status=1; }
  fi
}

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
  before=$stray_count
  count_strays "$working"
  working_strays=$((working_strays + stray_count - before))
  before=$stray_count
  count_strays "$work/dest"
  dest_strays=$((dest_strays + stray_count - before))
  next_start "kill $i" "$working" "$work/dest"
done
random_seconds=$(($(date +%s) - start))

# One kill right after each rename of an Open (skin B over A) and a Save as.
mkdir -p "$work/exe2" "$work/dest2"
export ASAN_OPTIONS=${ASAN_OPTIONS:+$ASAN_OPTIONS:}verify_asan_link_order=0
# Runs the writer's cycle into EXE and DEST, killed right after its Nth rename; sets rc
# (137 when killed there, 0 when it has fewer renames) and out.
kill_after_rename() {
  set +e
  out=$(LD_PRELOAD=$preload VELLUMARK_KILL_AFTER_RENAME=$1 "$writer" cycle "$2" "$work/a" "$work/b" "$3" 2>&1)
  rc=$?
  set -e
}
renames=0
for n in $(seq 1 200); do
  kill_after_rename "$n" "$work/exe2" "$work/dest2"
  [ $rc = 0 ] && break
  if [ $rc != 137 ]; then echo "rename $n: the writer failed ($rc): $out"; status=1; break; fi
  renames=$n
  next_start "after rename $n" "$work/exe2/Temp" "$work/dest2"
done
# The same kills, then the program's folder and the Save-as folder moved before the
# next start, which runs from the moved program folder; then the moved Save-as folder
# is opened (which finishes its interrupted Save as there) and saved into.
moved_renames=0
for n in $(seq 1 200); do
  rm -rf "$work/exe5" "$work/dest5" "$work/moved"
  mkdir -p "$work/exe5" "$work/dest5" "$work/moved"
  kill_after_rename "$n" "$work/exe5" "$work/dest5"
  [ $rc = 0 ] && break
  if [ $rc != 137 ]; then echo "moved, rename $n: the writer failed ($rc): $out"; status=1; break; fi
  moved_renames=$n
  mv "$work/exe5" "$work/moved/exe"
  mv "$work/dest5" "$work/moved/dest"
  mkdir "$work/moved/none" # the start cannot know where the Save-as folder went
  next_start "moved after rename $n" "$work/moved/exe/Temp" "$work/moved/none"
  # Its Open finishes it: the working copy it opens and the folder saved again are whole.
  if ! out=$("$writer" reopen "$work/moved/exe" "$work/moved/dest" 2>&1); then
    echo "moved after rename $n: the Open of or the Save as into the moved folder failed: $out"; status=1
  fi
  check_folder "$work/moved/exe/Temp" 0 || { echo "moved after rename $n: the working copy opened from it"; status=1; }
  check_folder "$work/moved/dest" 0 || { echo "moved after rename $n: the moved Save-as folder"; status=1; }
done

# Two programs on one folder: one saves into it while the other opens it.
mkdir -p "$work/exe3" "$work/exe4" "$work/shared"
"$writer" saves "$work/exe3" "$work/a" "$work/b" "$work/shared" 1 >/dev/null
"$writer" saves "$work/exe3" "$work/a" "$work/b" "$work/shared" 100 2>"$work/saver.err" &
writer_pid=$!
opens=0
while kill -0 "$writer_pid" 2>/dev/null; do
  if ! out=$("$writer" open "$work/exe4" "$work/shared" 2>&1); then
    echo "two programs: an Open failed: $out"; status=1
  fi
  opens=$((opens + 1))
  check_folder "$work/exe4/Temp" 0 || { echo "two programs: the opener's working copy after Open $opens"; status=1; }
done
saver_rc=0
wait "$writer_pid" || saver_rc=$?
writer_pid=
if [ $saver_rc != 0 ] || [ -s "$work/saver.err" ]; then
  echo "two programs: the Save as failed ($saver_rc): $(cat "$work/saver.err")"; status=1
fi
check_folder "$work/shared" 0 || { echo "two programs: the shared folder"; status=1; }

# A file-size limit is one more failed write for the writer, as for the programs: it
# ends with the system's reason, not killed by SIGXFSZ, and the next start finds one skin.
mkdir -p "$work/exe6" "$work/dest6"
set +e
out=$( (ulimit -f 1; "$writer" cycle "$work/exe6" "$work/b" "$work/a" "$work/dest6") 2>&1)
rc=$?
set -e
if [ $rc != 1 ] || [[ $out != *"File too large"* ]]; then
  echo "under ulimit -f the writer ended with $rc, not with its message: $out"; status=1
fi
next_start "under ulimit -f" "$work/exe6/Temp" "$work/dest6"

if [ "$renames" -lt 32 ]; then
  echo "only $renames kills after a rename: the preloaded rename did not count (an Open and a Save as have 32)"
  status=1
fi
echo "crash test: $kills random kills in $random_seconds s, then one after each of the $renames renames" \
     "of an Open and a Save as; slowest next start ${slowest} ms; temporary files found before the next start:" \
     "$working_strays in the working folder, $dest_strays in the Save-as folder, none after it;" \
     "$moved_renames kills with both folders moved after them; 100 Save as into a folder while another" \
     "program opened it $opens times;" \
     "$([ $status = 0 ] && echo 'every folder one whole skin' || echo FAILED)"
exit $status
