#!/usr/bin/env bash
# pack_refused.sh ROOT BUILD: dotnet pack on a build without the cross-built
# Windows DLLs must fail, say which DLL is missing, and leave no package.
# Catches a package shipped without its Windows libraries.
set -uo pipefail
root="$1" build="$2" out="$2/dotnet/pack-refused"
rm -rf "$out"
# shellcheck disable=SC1091  # written by the build
. "$build/dotnet/env.sh"
# Outputs of its own, beside the build's generated sources: the pack does
# not touch what the other tests run.
export VestraArtifacts="$out/artifacts" VestraGenerated="$build/dotnet/gen"
output="$(dotnet pack "$root/dotnet/Vestra/Vestra.csproj" -c Release --nologo -v:q -nodeReuse:false -o "$out/feed" 2>&1)"
status=$?
packages="$(find "$out" -name '*.nupkg' 2>/dev/null)"
rm -rf "$out"
if [ $status -ne 0 ] && grep -q "No win-x64 LibVestra.dll" <<<"$output" && [ -z "$packages" ]; then
  echo "refused as it should"
else
  echo "pack exited $status, packages: [$packages]"$'\n'"$output"
fi
