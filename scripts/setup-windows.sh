#!/usr/bin/env bash
# Installs what the Windows cross-build and its tests under wine need
# (Debian 12, as root), beside scripts/setup.sh's packages. The x86 tests run
# under the 32-bit wine loader, which comes from the i386 architecture.
set -euo pipefail
bash "$(dirname "$0")/setup.sh"
pkgs=(g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix mingw-w64-tools
      binutils-mingw-w64-x86-64 binutils-mingw-w64-i686
      wine wine64 wine32:i386 xvfb xauth googletest nlohmann-json3-dev libcli11-dev)
missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
