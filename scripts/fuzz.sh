#!/usr/bin/env bash
# Builds the fuzz targets with clang-14, libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer in fuzz-build/, then runs each target for SECONDS
# (default 60), one after the other, starting from the seed corpus in fuzz/corpus/.
# Extra libFuzzer flags come from FUZZ_FLAGS (e.g. FUZZ_FLAGS=-runs=10000000).
# New inputs go to fuzz-build/corpus/<target>/, crashes to fuzz-build/artifacts/.
# Exits non-zero when a target reports a crash, a leak, a sanitizer finding or a
# broken invariant.
# Usage: scripts/fuzz.sh [SECONDS] [TARGET...]     (JOBS=n sets the build's -j)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
shift || true
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=(fuzz_skin_words fuzz_skin_parse fuzz_skin_store fuzz_skin_check fuzz_gif fuzz_gif_conversion)
build=$root/fuzz-build

"$root/scripts/deps.sh" clang-14 libclang-rt-14-dev
if [ ! -f "$build/build.ninja" ]; then
  CXX=clang++-14 cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DVELLUMARK_SANITIZE=ON -DVELLUMARK_FUZZ=ON >/dev/null
fi
cmake --build "$build" -j "${JOBS:-$(nproc)}" --target "${targets[@]}"

declare -A corpus=([fuzz_skin_words]=skin_lines [fuzz_skin_parse]=skin_lines [fuzz_skin_store]=skin_lines
                  [fuzz_skin_check]=skin_lines [fuzz_gif]=gif [fuzz_gif_conversion]=rgba)
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
status=0
summary=()
for target in "${targets[@]}"; do
  name=${corpus[$target]}
  work=$build/corpus/$target
  log=$build/$target.log
  mkdir -p "$work" "$build/artifacts"
  dict=()
  [ -f "$root/fuzz/$name.dict" ] && dict=(-dict="$root/fuzz/$name.dict")
  echo "== $target for ${seconds}s (log: $log)"
  set +e
  "$build/bin/$target" -max_total_time="$seconds" -timeout=60 -print_final_stats=1 ${FUZZ_FLAGS:-} \
    "${dict[@]}" -artifact_prefix="$build/artifacts/$target-" \
    "$work" "$root/fuzz/corpus/$name" >"$log" 2>&1
  rc=$?
  set -e
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
  cov=$(grep -o 'cov: [0-9]*' "$log" | tail -n 1 || true)
  if [ $rc -eq 0 ]; then
    outcome="no findings"
  else
    outcome="FAILED (exit $rc)"
    status=1
    grep -E 'ERROR|runtime error|invariant broken|Test unit written' "$log" | head -n 20 || true
  fi
  summary+=("$target: ${runs:-?} executions in ${seconds}s, ${cov:-cov: ?}, corpus $(ls "$work" | wc -l) inputs: $outcome")
done
echo "== Fuzzing summary"
printf '%s\n' "${summary[@]}"
exit $status
