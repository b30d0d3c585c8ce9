#!/usr/bin/env bash
# Builds the whole project with AddressSanitizer and UndefinedBehaviorSanitizer in
# build-asan/ and runs every test headless. Every sanitizer report, also one from a
# child process a test starts, is written to build-asan/sanitizer-reports/ and
# fails the run.
# Usage: scripts/test-sanitized.sh        (JOBS=n sets the build's -j)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build-asan
reports=$build/sanitizer-reports

"$root/scripts/deps.sh" libbenchmark-dev libxcb1-dev
# The benchmarks are built and run once too, briefly. Test discovery runs the test
# programs at test time, under the options below, not while building.
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELLUMARK_SANITIZE=ON \
  -DVELLUMARK_BENCH=ON -DCMAKE_GTEST_DISCOVER_TESTS_DISCOVERY_MODE=PRE_TEST >/dev/null
cmake --build "$build" -j "${JOBS:-$(nproc)}"

rm -rf "$reports"
mkdir -p "$reports"
# Leaks are checked too; Qt offscreen and fontconfig need no suppressions here.
export ASAN_OPTIONS="log_path=$reports/asan:detect_leaks=1:strict_string_checks=1:detect_stack_use_after_return=1"
export UBSAN_OPTIONS="log_path=$reports/ubsan:print_stacktrace=1:halt_on_error=1"
export QT_QPA_PLATFORM=offscreen
cd "$build"
set +e
status=0
for program in bench_skin bench_preview; do
  "bin/$program" --benchmark_min_time=0.001 >"$build/$program.log" 2>&1 || { cat "$build/$program.log"; status=1; }
done
ctest --output-on-failure -j "$(nproc)" >"$build/ctest.log" 2>&1 || status=1
set -e
if compgen -G "$reports/*" >/dev/null; then
  echo "Sanitizer reports:"
  cat "$reports"/*
  status=1
fi
# CTest's own output last, so the run ends with its summary.
cat "$build/ctest.log"
exit $status
