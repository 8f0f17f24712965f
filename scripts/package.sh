#!/usr/bin/env bash
# Builds the Debian packages libvestra0, libvestra-dev and libvestra-sim:
#   scripts/package.sh [build-dir]        (default: build-package)
# The .deb files land in the build folder.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build-package}"
bash "$root/scripts/setup.sh"
# python3-vestra goes where Debian's python3 packages go (the system
# scheme), whichever interpreter comes first on PATH.
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
  -DVESTRA_TESTS=OFF -DVESTRA_BENCH=OFF -DVESTRA_PYTHON_SITE=lib/python3/dist-packages >/dev/null
cmake --build "$build" -j"$(nproc)"
rm -f "$build"/*.deb
(cd "$build" && cpack -G DEB >/dev/null)
ls "$build"/*.deb
