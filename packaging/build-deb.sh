#!/usr/bin/env bash
# Builds the Debian package vellumark_<version>_<arch>.deb with CPack in a Release
# build folder, then checks it: its files, its dependencies, its desktop entry and
# AppStream data, and that apt can resolve it on this system.
# Usage: packaging/build-deb.sh [BUILD_DIR]    (default: build-deb)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build-deb}

# dpkg-shlibdeps (dpkg-dev) gives the libraries' packages; the others check.
"$root/scripts/deps.sh" dpkg-dev desktop-file-utils appstream

if [ ! -f "$build/build.ninja" ]; then
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
fi
cmake --build "$build" -j "$(nproc)"
rm -f "$build"/vellumark_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
debs=("$build"/vellumark_*.deb)
if [ ${#debs[@]} -ne 1 ] || [ ! -f "${debs[0]}" ]; then echo "cpack made no single vellumark_*.deb" >&2; exit 1; fi
deb=${debs[0]}

fail() {
  echo "FAIL: $deb: $*" >&2
  exit 1
}

version=$(dpkg-deb -f "$deb" Version)
arch=$(dpkg-deb -f "$deb" Architecture)
[ "$(basename "$deb")" = "vellumark_${version}_${arch}.deb" ] || fail "unexpected file name"

# Every library the executables link is named, and the preview's font files.
depends=$(dpkg-deb -f "$deb" Depends)
for package in libqt6core6 libqt6gui6 libqt6widgets6 libgif7 libstdc++6 libc6 fonts-dejavu-core fonts-dejavu-extra; do
  [[ ", $depends," =~ ,\ "$package"(t64)?[\ ,] ]] || fail "Depends lacks $package: $depends"
done

contents=$(dpkg-deb -c "$deb")
for path in ./usr/lib/vellumark/vellumark ./usr/lib/vellumark/vellumark-skin \
            ./usr/lib/vellumark/Files/LangRuvex.txt ./usr/lib/vellumark/Files/statusline.gif \
            ./usr/share/applications/vellumark.desktop \
            ./usr/share/icons/hicolor/scalable/apps/vellumark.svg \
            ./usr/share/icons/hicolor/64x64/apps/vellumark.png \
            ./usr/share/metainfo/org.vellumark.vellumark.metainfo.xml \
            ./usr/share/vellumark/examples/skins/harbour/Ruvex.rvk \
            ./usr/share/vellumark/examples/skins/harbour/14.gif; do
  grep -q " $path\$" <<<"$contents" || fail "does not hold $path"
done
for exe in vellumark vellumark-skin; do
  grep -q " ./usr/bin/$exe -> ../lib/vellumark/$exe\$" <<<"$contents" || fail "does not link /usr/bin/$exe"
done

unpacked=$(mktemp -d)
trap 'rm -rf "$unpacked"' EXIT
dpkg-deb -x "$deb" "$unpacked"
desktop-file-validate "$unpacked/usr/share/applications/vellumark.desktop"
appstreamcli validate --no-net --pedantic "$unpacked/usr/share/metainfo/org.vellumark.vellumark.metainfo.xml" >/dev/null

# The dependencies resolve against this system's package lists.
apt-get install --simulate --no-install-recommends "$deb" >"$unpacked/apt.log" 2>&1 \
  || { cat "$unpacked/apt.log" >&2; fail "apt-get cannot resolve it"; }

echo "$deb"
dpkg-deb -f "$deb" Package Version Architecture Depends Installed-Size
