#!/usr/bin/env bash
# Makes the Vestra NuGet package and its symbols package from a Linux build
# (the generated sources, the assembly and LibVestra.so) and the two
# cross-built Windows DLLs:
#   scripts/pack-nuget.sh LINUX-BUILD X64-DLL X86-DLL OUT-DIR
# A missing DLL fails the pack (the project refuses a package without it).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
[ $# -eq 4 ] || { sed -n '2,6p' "$0"; exit 2; }
build="$(realpath "$1")" out="$(realpath -m "$4")"
version="$(sed -nE 's/^project\(LibVestra VERSION ([0-9.]+).*/\1/p' "$root/CMakeLists.txt")"
[ -f "$build/dotnet/env.sh" ] || { echo "$build has no .NET binding (is dotnet installed?)" >&2; exit 1; }
cmake --build "$build" --target LibVestra vestra_dotnet >/dev/null
# The Linux library under the name the runtime probes for "LibVestra".
native="$build/dotnet/native/linux-x64"
mkdir -p "$native" "$out"
cp "$build/lib/LibVestra.so.$version" "$native/LibVestra.so"
strip --strip-unneeded "$native/LibVestra.so"
# shellcheck disable=SC1091  # written by the build
. "$build/dotnet/env.sh"
# The paths go in through the environment (the CLI takes a -p:NAME=PATH of an
# existing path for a second project).
VestraNativeWinX64="$(realpath -m "$2")" VestraNativeWinX86="$(realpath -m "$3")" \
VestraNativeLinuxX64="$native/LibVestra.so" \
  dotnet pack "$root/dotnet/Vestra/Vestra.csproj" -c Release --nologo -v:q -nodeReuse:false \
    -p:Version="$version" -o "$out"
ls -l "$out"/Vestra."$version".*nupkg
