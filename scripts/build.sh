#!/usr/bin/env bash
# Configures (once) and builds the project in one build folder.
# Usage: scripts/build.sh [BUILD_DIR] [extra cmake options...]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
shift || true
if [ ! -f "$build/build.ninja" ]; then
  cmake -S "$root" -B "$build" -G Ninja "$@" >/dev/null
fi
cmake --build "$build" -j "$(nproc)"
