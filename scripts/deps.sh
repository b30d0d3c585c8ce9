#!/usr/bin/env bash
# Installs the Debian packages the build needs, and only those that are missing.
# Usage: scripts/deps.sh [extra package...]
set -euo pipefail
# The preview draws with DejaVu Sans from both font packages (italic faces are in -extra);
# the install test checks the desktop entry and AppStream data and traces file access.
want=(g++ cmake ninja-build libgtest-dev qt6-base-dev libgif-dev libimagequant-dev libfontconfig-dev pkg-config fonts-dejavu-core fonts-dejavu-extra
      desktop-file-utils appstream strace "$@")
missing=()
for p in "${want[@]}"; do
  dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
