#!/usr/bin/env bash
# Builds the Windows release folder in one command:
#   scripts/release-windows.sh [out-dir]        (default: release/LibVestra-<version>-windows)
# x64/ and x86/ each hold LibVestra.dll, its import libraries (LibVestra.lib,
# LibVestra.dll.a), LibVestra.def and vxctl.exe; include/ holds LibVestra.h.
# libusb0.dll is not in it: it comes from libusb-win32 on the target machine.
# Beside the zip: the NuGet package Vestra.<version>.nupkg (and .snupkg) with
# the same DLLs, made from a Linux build of the .NET binding.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
bash "$root/scripts/setup-windows.sh"
version="$(sed -nE 's/^project\(LibVestra VERSION ([0-9.]+).*/\1/p' "$root/CMakeLists.txt")"
out="${1:-$root/release/LibVestra-$version-windows}"
rm -rf "$out"
mkdir -p "$out/include"
cp "$root/include/LibVestra.h" "$out/include/"
for pair in x86_64:x64 i686:x86; do
  arch="${pair%%:*}" dir="${pair##*:}"
  build="$root/build-release-$dir"
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" -DVESTRA_WIN_ARCH=$arch \
    -DVESTRA_TESTS=OFF -DVESTRA_BENCH=OFF >/dev/null
  cmake --build "$build" -j"$(nproc)" --target LibVestra vxctl
  mkdir -p "$out/$dir"
  cp "$build/bin/LibVestra.dll" "$build/bin/vxctl.exe" "$build/lib/LibVestra.def" \
     "$build/lib/LibVestra.lib" "$out/$dir/"
  cp "$build/src/LibVestra.dll.a" "$out/$dir/"
  "${arch}-w64-mingw32-strip" --strip-unneeded "$out/$dir/LibVestra.dll" "$out/$dir/vxctl.exe"
done
cp "$root/README.md" "$out/"
(cd "$out" && find . -type f | sort | xargs ls -l | awk '{print $5, $9}')
echo "release: $out"

# The same folder as one zip, made by CPack.
zipwork="$(mktemp -d)"
VESTRA_RELEASE_DIR="$out" VESTRA_VERSION="$version" \
  cpack --config "$root/cmake/windows-zip.cpack.cmake" -B "$zipwork" >/dev/null
mv "$zipwork/$(basename "$out").zip" "$(dirname "$out")/"
rm -rf "$zipwork"
echo "zip: $(dirname "$out")/$(basename "$out").zip"

# The NuGet package with the same (stripped) DLLs, beside the zip.
linux="$root/build-release-linux"
cmake -S "$root" -B "$linux" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVESTRA_TESTS=OFF -DVESTRA_BENCH=OFF >/dev/null
bash "$root/scripts/pack-nuget.sh" "$linux" "$out/x64/LibVestra.dll" "$out/x86/LibVestra.dll" "$(dirname "$out")"
