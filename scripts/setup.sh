#!/usr/bin/env bash
# Installs what building, testing and the demo need (Debian 12, as root),
# and any further packages named as arguments.
set -euo pipefail
pkgs=(build-essential cmake ninja-build pkg-config
      libusb-dev libssl-dev nlohmann-json3-dev libcli11-dev
      googletest libgtest-dev libgmock-dev libbenchmark-dev
      ffmpeg tzdata clang-14 libclang-rt-14-dev clang-tidy-14 cppcheck
      libudev-dev umockdev libumockdev-dev
      python3 python3-pytest dpkg-dev file
      mono-mcs mono-runtime openjdk-17-jdk-headless libjna-java "$@")
missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
# The .NET binding and its tests need the .NET SDK 10 (dotnet), which is no
# Debian package: the machines carry it. Without it the build skips .NET.
if ! command -v dotnet >/dev/null; then
  echo "setup.sh: no dotnet (.NET SDK 10) on PATH: the .NET binding will not be built or tested" >&2
fi
