#!/usr/bin/env bash
# Start-up to a shown window, as a process-level measure: on a private Xvfb display,
# times each program from its start until its window is mapped, RUNS times in turns,
# and prints the medians:
#   the editor (window "Vellumark v0.3"), with its asset loading and working-folder check;
#   bench_bare_window, one window with a menu and a label (the baseline);
#   bench_bare_window --no-text, an empty window (no font database is loaded).
# The programs run unchanged: no option or environment variable of their own.
# Usage: bench/startup.sh BUILD_DIR [RUNS]     (BUILD_DIR holds bin/vellumark and the bench programs)
set -euo pipefail
build=$(cd "${1:?build folder}" && pwd)
runs=${2:-21}
bin=$build/bin
for program in vellumark bench_bare_window bench_window_start_time; do
  [ -x "$bin/$program" ] || { echo "missing $bin/$program" >&2; exit 2; }
done

# A display of our own; -noreset keeps the server up between the clients.
# Above the fixed displays that other sessions on this machine use (:90 to :99).
display=:$(( 100 + RANDOM % 400 ))
while [ -e "/tmp/.X11-unix/X${display#:}" ]; do display=:$(( ${display#:} + 1 )); done
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp -noreset >/dev/null 2>&1 &
xvfb=$!
runtime=$(mktemp -d)
trap 'kill "$xvfb" 2>/dev/null; wait "$xvfb" 2>/dev/null; rm -rf "$runtime"' EXIT
# Settings of their own: a canvas window the user left open would be opened at every start.
mkdir "$runtime/config"
export DISPLAY=$display XDG_RUNTIME_DIR=$runtime XDG_CONFIG_HOME=$runtime/config
unset QT_QPA_PLATFORM
for _ in $(seq 50); do
  xdotool getdisplaygeometry >/dev/null 2>&1 && break
  sleep 0.1
done

time_window() { "$bin/bench_window_start_time" "$@"; }
median() { sort -n | awk '{v[NR]=$1} END {print (NR % 2) ? v[(NR+1)/2] : (v[NR/2] + v[NR/2+1]) / 2}'; }

# One warm-up each, so every measured run finds the libraries in the page cache.
time_window "Vellumark v0.3" "$bin/vellumark" >/dev/null
time_window "Bare window" "$bin/bench_bare_window" >/dev/null
editor=() bare=() empty=()
for _ in $(seq "$runs"); do
  editor+=("$(time_window "Vellumark v0.3" "$bin/vellumark")")
  bare+=("$(time_window "Bare window" "$bin/bench_bare_window")")
  empty+=("$(time_window "Bare window" "$bin/bench_bare_window" --no-text)")
done
e=$(printf '%s\n' "${editor[@]}" | median)
b=$(printf '%s\n' "${bare[@]}" | median)
n=$(printf '%s\n' "${empty[@]}" | median)
echo "Start-up to a mapped window, median of $runs runs:"
printf '  %-34s %7.1f ms\n' "editor (Vellumark v0.3)" "$e" "bare window with a menu and a label" "$b" "empty bare window (no fonts)" "$n"
awk -v e="$e" -v b="$b" -v n="$n" 'BEGIN {
  printf "  editor / bare window: %.2f (target <= 1.10: %s)\n", e / b, (e <= 1.1 * b) ? "met" : "MISSED";
  printf "  editor / empty bare window: %.2f\n", e / n }'
