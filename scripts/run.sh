#!/usr/bin/env bash
# Installs what is missing, builds, and starts the editor (with any arguments, such
# as a skin folder to open).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
# The editor is a window: without a display Qt would only abort with advice that
# does not apply. Say what is needed before spending time on the build.
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "scripts/run.sh: the editor needs a graphical session (no DISPLAY or WAYLAND_DISPLAY is set)." >&2
  echo "Start it from a desktop, or without one: xvfb-run scripts/run.sh" >&2
  exit 1
fi
"$root/scripts/deps.sh"
"$root/scripts/build.sh" "$root/build"
exec "$root/build/bin/vellumark" "$@"
