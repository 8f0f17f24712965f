#!/usr/bin/env bash
# Installs what the Windows cross-build and its tests under wine need
# (Debian 12, as root), beside scripts/setup.sh's packages. The x86 tests run
# under the 32-bit wine loader, which comes from the i386 architecture.
set -euo pipefail
dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386
bash "$(dirname "$0")/setup.sh" g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix \
  mingw-w64-tools binutils-mingw-w64-x86-64 binutils-mingw-w64-i686 \
  wine wine64 wine32:i386 xvfb xauth
