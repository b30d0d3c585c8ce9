#!/usr/bin/env bash
# Start-up to a shown window, as a process-level measure: on private Xvfb displays,
# times each program from its start until its window is mapped, RUNS times in turns on
# each of DISPLAYS displays started afresh, and prints the medians of all the starts:
#   the editor (window "Vellumark v0.3"), with its asset loading and working-folder check;
#   bench_bare_window, one window with a menu and a label (the baseline);
#   bench_bare_window --no-text, an empty window (no font database is loaded).
# The programs run unchanged: no option or environment variable of their own.
# One display's medians move from run to run by more than the editor's own work does
# (where the scheduler puts the server beside the programs' threads), so several are pooled.
# Usage: bench/startup.sh BUILD_DIR [RUNS] [DISPLAYS]   (BUILD_DIR holds bin/vellumark and the bench programs)
set -euo pipefail
build=$(cd "${1:?build folder}" && pwd)
runs=${2:-21}
displays=${3:-3}
bin=$build/bin
for program in vellumark bench_bare_window bench_window_start_time; do
  [ -x "$bin/$program" ] || { echo "missing $bin/$program" >&2; exit 2; }
done

time_window() { "$bin/bench_window_start_time" "$@"; }
median() { sort -n | awk '{v[NR]=$1} END {print (NR % 2) ? v[(NR+1)/2] : (v[NR/2] + v[NR/2+1]) / 2}'; }

runtime=$(mktemp -d)
xvfb=""
trap '[ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null; wait 2>/dev/null; rm -rf "$runtime"' EXIT
# Settings of their own: a canvas window the user left open would be opened at every start.
mkdir "$runtime/config"
export XDG_RUNTIME_DIR=$runtime XDG_CONFIG_HOME=$runtime/config
unset QT_QPA_PLATFORM
editor=() bare=() empty=()
for _ in $(seq "$displays"); do
  # A display of our own; -noreset keeps the server up between the clients.
  # Above the fixed displays that other sessions on this machine use (:90 to :99).
  display=:$(( 100 + RANDOM % 400 ))
  while [ -e "/tmp/.X11-unix/X${display#:}" ]; do display=:$(( ${display#:} + 1 )); done
  Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp -noreset >/dev/null 2>&1 &
  xvfb=$!
  export DISPLAY=$display
  for _ in $(seq 50); do
    xdotool getdisplaygeometry >/dev/null 2>&1 && break
    sleep 0.1
  done
  # One warm-up each, so every measured run finds the libraries in the page cache.
  time_window "Vellumark v0.3" "$bin/vellumark" >/dev/null
  time_window "Bare window" "$bin/bench_bare_window" >/dev/null
  for _ in $(seq "$runs"); do
    editor+=("$(time_window "Vellumark v0.3" "$bin/vellumark")")
    bare+=("$(time_window "Bare window" "$bin/bench_bare_window")")
    empty+=("$(time_window "Bare window" "$bin/bench_bare_window" --no-text)")
  done
  kill "$xvfb"
  wait "$xvfb" 2>/dev/null || true
  xvfb=""
done
e=$(printf '%s\n' "${editor[@]}" | median)
b=$(printf '%s\n' "${bare[@]}" | median)
n=$(printf '%s\n' "${empty[@]}" | median)
echo "Start-up to a mapped window, median of $runs runs on each of $displays displays:"
printf '  %-34s %7.1f ms\n' "editor (Vellumark v0.3)" "$e" "bare window with a menu and a label" "$b" "empty bare window (no fonts)" "$n"
awk -v e="$e" -v b="$b" -v n="$n" 'BEGIN {
  printf "  editor / bare window: %.2f (target <= 1.10: %s)\n", e / b, (e <= 1.1 * b) ? "met" : "MISSED";
  printf "  editor / empty bare window: %.2f\n", e / n }'
