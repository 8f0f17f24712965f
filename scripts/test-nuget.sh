#!/usr/bin/env bash
# The NuGet package as a user gets it: packed from a Linux build and the
# Windows stage's DLLs, its layout and nuspec checked, then examples/csharp
# restored from it (a local folder source, a package cache of its own),
# built with dotnet build and run against the virtual recorders on
# linux-x64 with the library taken from the package's runtimes/ folder; and
# a .NET Framework host built for each platform choice, to see the DLL its
# targets copy beside it.
#   scripts/test-nuget.sh [LINUX-BUILD] [WINDOWS-BUILD-PREFIX]   (default: build build-win)
# Everything it writes stays in LINUX-BUILD/nuget.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$(realpath "${1:-$root/build}")" prefix="$(realpath -m "${2:-$root/build-win}")"
version="$(sed -nE 's/^project\(LibVestra VERSION ([0-9.]+).*/\1/p' "$root/CMakeLists.txt")"
feed="$build/nuget/feed" work="$build/nuget/example"
rm -rf "$build/nuget"
bash "$root/scripts/pack-nuget.sh" "$build" "${prefix}64/bin/LibVestra.dll" "${prefix}32/bin/LibVestra.dll" "$feed"
python3 "$root/tests/dotnet/check_package.py" "$feed/Vestra.$version.nupkg" "$version"

mkdir -p "$work"
cp "$root"/examples/csharp/*.cs "$root"/examples/csharp/*.csproj "$work/"
cat > "$work/NuGet.config" <<XML
<?xml version="1.0" encoding="utf-8"?>
<configuration>
  <packageSources>
    <clear />
    <add key="fresh" value="$feed" />
    <add key="nuget.org" value="https://api.nuget.org/v3/index.json" />
  </packageSources>
</configuration>
XML
# shellcheck disable=SC1091  # written by the build
. "$build/dotnet/env.sh"
export NUGET_PACKAGES="$work/packages" HOME="$work/home" DOTNET_CLI_HOME="$work/home"
unset VestraArtifacts
dotnet build "$work/Station.csproj" -c Release --nologo -v:q -nodeReuse:false -p:VestraVersion="$version"
bin="$work/bin/Release/net10.0"
[ -f "$bin/runtimes/linux-x64/native/LibVestra.so" ] || { echo "FAIL: no LibVestra.so from the package" >&2; exit 1; }

# The virtual bus alone on the library path: LibVestra must come from the package.
failures=0
run() {  # run EXPECTED-REGEX ARGS...: the example's output must match
  local expected="$1" output
  shift
  if output="$(LD_LIBRARY_PATH="$build/sim" VSIM_SCENARIO="$root/examples/station.json" timeout 120 "$bin/Station" "$@" 2>&1)" &&
     grep -Ezq "$expected" <<<"$output"; then
    echo "ok: Station $*"
  else
    echo "FAIL: Station $*"$'\n'"$output"
    failures=$((failures + 1))
  fi
}
run '3400001 serial A1B2C3 u-disk 1.*3400002 serial D4E5F6 u-disk 0' list
run 'name: Front desk unit.name: Unit 12' name VX007 888888 "Unit 12"
run 'list changed: 2 recorder.*list changed: 3 recorder.*list changed: 2 recorder' watch 3
run 'decrypted' decrypt "$root/samples/sample-encrypted.avi" "$work/plain.avi" demo1234
cmp -s "$root/samples/sample-encrypted.avi" "$work/plain.avi" && { echo "FAIL: decrypt left the recording as it was"; failures=$((failures + 1)); }

# A .NET Framework host (reference assemblies from the registry): the DLL the
# package's targets copy beside it, per platform choice.
fx="$build/nuget/framework-host"
mkdir -p "$fx"
cp "$work/NuGet.config" "$fx/"
cat > "$fx/Host.csproj" <<XML
<Project Sdk="Microsoft.NET.Sdk">
  <PropertyGroup><OutputType>Exe</OutputType><TargetFramework>net462</TargetFramework></PropertyGroup>
  <ItemGroup><PackageReference Include="Vestra" Version="$version" /></ItemGroup>
</Project>
XML
echo 'class Host { static void Main() { System.Console.WriteLine(Vestra.Operations.All.Count); } }' > "$fx/Host.cs"
for case in "PlatformTarget=x64:win-x64" "PlatformTarget=x86:win-x86" "Prefer32Bit=true:win-x86" \
            "Prefer32Bit=false:win-x64"; do
  property="${case%%:*}" expected="${case##*:}"
  rm -rf "$fx/bin" "$fx/obj"
  got="$(dotnet build "$fx/Host.csproj" --nologo -v:q -nodeReuse:false -p:"$property" >/dev/null &&
         python3 "$root/tests/dotnet/check_package.py" --rid "$fx/bin/Debug/net462/LibVestra.dll")" || got="no DLL"
  if [ "$got" = "$expected" ]; then echo "ok: .NET Framework host, $property: $got"
  else echo "FAIL: .NET Framework host, $property: $got, not $expected"; failures=$((failures + 1)); fi
done
echo "$(( 9 - failures )) passed, $failures failed"
[ "$failures" -eq 0 ]
