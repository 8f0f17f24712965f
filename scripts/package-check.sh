#!/usr/bin/env bash
# The packages as a user meets them (Debian 12, as root): builds the .debs,
# checks what each holds, installs them, checks the installed layout, the
# loader, pkg-config and find_package, builds the examples against the
# installed files only and runs them on virtual recorders, then removes and
# purges the packages and checks that nothing of theirs is left on disk.
#   scripts/package-check.sh [build-dir]      (default: build-package)
set -uo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$(realpath -m "${1:-$root/build-package}")"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cd "$work"  # the hosts run here: a script host's log goes to its working folder
packages=(python3-vestra libvestra-sim libvestra-dev libvestra0)
version="$(sed -nE 's/^project\(LibVestra VERSION ([0-9.]+).*/\1/p' "$root/CMakeLists.txt")"
multiarch="$(dpkg-architecture -qDEB_HOST_MULTIARCH)"
libdir="/usr/lib/$multiarch"
simdir="$libdir/libvestra/sim"
# ldconfig skips names without "lib": the loader finds LibVestra.so.0 in its
# default multiarch folder, which with merged /usr has two spellings.
loaded="(/usr)?/lib/$multiarch/LibVestra\\.so\\.0"
scenario="$root/examples/station.json"
source "$root/scripts/package-check-lib.bash"

Purge() { dpkg --purge "${packages[@]}" >/dev/null 2>&1 || true; }
# Every path where a package could leave something, one per line.
Snapshot() { find /usr /etc /opt /var/lib/dpkg/info -xdev 2>/dev/null | LC_ALL=C sort; }

# A start without our packages, so that "before" is really before.
Purge

echo "== build the packages"
bash "$root/scripts/package.sh" "$build" >"$work/package.log" 2>&1 || {
  cat "$work/package.log"
  exit 1
}
for p in "${packages[@]}"; do
  deb=("$build/${p}_"*.deb)
  Check "$p is built" test -f "${deb[0]}"
  dpkg-deb -c "${deb[0]}" | awk '{ $1=$2=$3=$4=$5=""; sub(/^ +/, ""); print }' >"$work/$p.files"
  dpkg-deb -f "${deb[0]}" Depends >"$work/$p.depends"
  dpkg-deb -x "${deb[0]}" "$work/extract"
done

echo "== what each package holds"
HasLine libvestra0 ".$libdir/LibVestra.so.$version"
HasLine libvestra0 ".$libdir/LibVestra.so.0 -> LibVestra.so.$version"
HasLine libvestra0 "./usr/bin/vxctl"
HasLine libvestra-dev ".$libdir/LibVestra.so -> LibVestra.so.0"
HasLine libvestra-dev "./usr/include/LibVestra.h"
HasLine libvestra-dev ".$libdir/pkgconfig/libvestra.pc"
for f in LibVestraConfig LibVestraConfigVersion LibVestraTargets LibVestraTargets-release; do
  HasLine libvestra-dev ".$libdir/cmake/LibVestra/$f.cmake"
done
HasLine libvestra-sim ".$simdir/libusb-0.1.so.4"
HasLine libvestra-sim ".$simdir/libudev.so.1"
HasLine libvestra-sim "./usr/bin/vestra-sim-run"
HasLine libvestra-sim "./usr/share/doc/libvestra-sim/scenario-format.md"
for f in __init__ _capi _ops _library _naming recorder devices media; do
  HasLine python3-vestra "./usr/lib/python3/dist-packages/vestra/$f.py"
done
HasLine python3-vestra "./usr/lib/python3/dist-packages/vestra/recorder.pyi"
# The virtual bus never where the loader looks by itself.
Check "no libusb or libudev outside the private folder" \
  bash -c "! cat '$work'/*.files | grep -E '(libusb|libudev)' | grep -v '^\.$simdir/'"
Check "no file in two packages" \
  bash -c "cat '$work'/*.files | grep -v '/$' | sort | uniq -d | grep -q . && exit 1 || exit 0"
Expect "libvestra0 depends on the real libusb" 'libusb-0\.1-4' cat "$work/libvestra0.depends"
Expect "libvestra-dev depends on the same libvestra0" "libvestra0 \(= $version-1\)" cat "$work/libvestra-dev.depends"
Expect "libvestra-dev depends on libusb-dev" 'libusb-dev' cat "$work/libvestra-dev.depends"
Expect "libvestra-sim depends on libvestra0" 'libvestra0' cat "$work/libvestra-sim.depends"
Expect "python3-vestra depends on the same libvestra0" "libvestra0 \(= $version-1\)" cat "$work/python3-vestra.depends"
Check "no build or source path in any packaged file" \
  bash -c "! grep -rlF -e '$build' -e '$root' '$work/extract'"

echo "== install"
Snapshot >"$work/before"
debs=()
for p in "${packages[@]}"; do debs+=("$build/${p}_"*.deb); done
if ! dpkg -i "${debs[@]}" >"$work/dpkg.log" 2>&1; then
  DEBIAN_FRONTEND=noninteractive apt-get -f install -y -qq >>"$work/dpkg.log" 2>&1
fi
for p in "${packages[@]}"; do
  Expect "$p installed" 'install ok installed' dpkg-query -W -f='${Status}' "$p"
done
Expect "soname LibVestra.so.0" 'SONAME.*\[LibVestra\.so\.0\]' readelf -d "$libdir/LibVestra.so.$version"
Check "the loader does not know the private folder" bash -c "! ldconfig -p | grep -F libvestra/sim"
Check "vxctl loads the installed library" \
  bash -c "ldd /usr/bin/vxctl | grep -E 'LibVestra\.so\.0 => $loaded '"
Check "the installed library loads the real libusb" \
  bash -c "ldd $libdir/LibVestra.so.0 | grep -E 'libusb-0\.1\.so\.4 => ' | grep -vF libvestra/sim"

echo "== pkg-config"
Expect "pkg-config version" "^$version\$" pkg-config --modversion libvestra
Expect "pkg-config libs" -- '-l:LibVestra\.so' pkg-config --libs libvestra
cat >"$work/tz.c" <<'C'
#include <stdio.h>
#include <LibVestra.h>
int main(void) {
    int32_t region, country, city;
    char text[VX_TZ_TEXT_MIN];
    if (!GetTimeZoneIndex("Europe/Kiev", &region, &country, &city)) return 1;
    GetTimeZoneStr(region, country, city, text);
    puts(text);
    return 0;
}
C
Check "a program builds with cc \$(pkg-config --cflags --libs libvestra)" \
  bash -c "cc -o '$work/tz' '$work/tz.c' \$(pkg-config --cflags --libs libvestra)"
Expect "and runs" 'Europe/Kiev' "$work/tz"

echo "== examples built against the installed package (find_package and pkg-config)"
examples="$work/examples"
Check "examples configure (find_package(LibVestra))" \
  cmake -S "$root/examples" -B "$examples" -DCMAKE_EXPORT_COMPILE_COMMANDS=ON \
    -DCMAKE_FIND_USE_PACKAGE_REGISTRY=OFF -DCMAKE_FIND_PACKAGE_NO_PACKAGE_REGISTRY=ON
Check "examples build" cmake --build "$examples" -j2
Check "examples include nothing from the source or build tree" \
  bash -c "! grep -F -e '$root/include' -e '$build' '$examples/compile_commands.json'"
for e in list_recorders watch_recorders recorder_settings standard_set decrypt_recording; do
  Check "$e loads the installed library" \
    bash -c "ldd '$examples/$e' | grep -E 'LibVestra\.so\.0 => $loaded '"
done

echo "== examples on virtual recorders (vestra-sim-run)"
sim=(vestra-sim-run "$scenario")
Expect "list_recorders" '^2 recorder\(s\)' "${sim[@]}" "$examples/list_recorders"
Expect "list_recorders sees the VX007" 'VX007 serial A1B2C3 id code 3400001' "${sim[@]}" "$examples/list_recorders"
Expect "recorder_settings reads" 'name: Front desk unit' "${sim[@]}" "$examples/recorder_settings" VX007 888888
Expect "recorder_settings sets" 'name now: Unit 12' "${sim[@]}" "$examples/recorder_settings" VX007 888888 "Unit 12"
ExpectFail "recorder_settings with a wrong password" 'status -102' "${sim[@]}" "$examples/recorder_settings" VX007 wrong
Expect "standard_set opens the recorder" 'id code: KQWZM' "${sim[@]}" "$examples/standard_set" patrol99
Expect "standard_set reads" 'resolution: 1920x1080' "${sim[@]}" "$examples/standard_set" patrol99
Expect "standard_set writes the identity" 'user 100042 \(Officer Kim\)' "${sim[@]}" "$examples/standard_set" patrol99 "Officer Kim"
ExpectFail "standard_set with a wrong password" 'status 4' "${sim[@]}" "$examples/standard_set" wrong
# Ends after three list changes: the first fill (two), the arrival, the removal.
Expect "watch_recorders sees a recorder arrive and leave" \
  'list changed: 3 recorder\(s\).*list changed: 2 recorder\(s\)' \
  timeout 60 "${sim[@]}" "$examples/watch_recorders" 3
Expect "decrypt_recording" 'decrypted' \
  "$examples/decrypt_recording" "$root/samples/sample-encrypted.avi" "$work/plain.avi" demo1234
Check "the decrypted copy differs from the recording" \
  bash -c "! cmp -s '$root/samples/sample-encrypted.avi' '$work/plain.avi'"
if command -v ffprobe >/dev/null; then
  Expect "ffprobe reads the decrypted copy" 'codec_name=h26[45]' \
    ffprobe -v error -select_streams v:0 -show_entries stream=codec_name -of default=nw=1 "$work/plain.avi"
fi
# The system's Python, as a user runs it (it leaves byte-code caches that the
# package's removal must clear).
py=/usr/bin/python3
Expect "python imports the installed module" '^/usr/lib/python3/dist-packages/vestra/__init__\.py$' \
  "$py" -c 'import vestra; print(vestra.__file__)'
Expect "python reads a recorder through the installed library" '^Front desk unit$' \
  "${sim[@]}" "$py" -c 'import vestra
with vestra.Recorder("VX007", password="888888") as r: print(r.dev_name)'
ExpectFail "python raises with the status number" 'status -102|-102' \
  "${sim[@]}" "$py" -c 'import vestra
with vestra.Recorder("VX007", password="wrong") as r: print(r.dev_name)'
Expect "without vestra-sim-run the real bus is used" '^0 recorder\(s\)' "$examples/list_recorders"
Expect "installed vxctl finds the virtual bus" 'VX007' vxctl --scenario "$scenario" list
Expect "vxctl of the build tree finds its own virtual bus" 'VX007' "$build/bin/vxctl" --scenario "$scenario" list
Expect "vestra-sim-run of the build tree" '^2 recorder\(s\)' \
  "$build/bin/vestra-sim-run" "$scenario" "$examples/list_recorders"

echo "== remove"
Check "remove libvestra-sim" dpkg -r libvestra-sim
ExpectFail "vxctl says the virtual bus is missing" 'virtual recorder bus was not found' \
  vxctl --scenario "$scenario" list
Check "purge all" dpkg --purge "${packages[@]}"
for p in "${packages[@]}"; do
  Check "$p gone" bash -c "! dpkg-query -W -f='\${Status}' $p 2>/dev/null | grep -q installed"
done
Check "hosts no longer find the library" \
  bash -c "ldd '$examples/list_recorders' | grep -F 'LibVestra.so.0 => not found'"
Snapshot >"$work/after"
# Paths that differ, less those a package pulled in as a dependency owns.
LC_ALL=C comm -3 "$work/before" "$work/after" | sed 's/^\t//' >"$work/changed"
while read -r path; do
  dpkg -S "$path" >/dev/null 2>&1 || echo "$path"
done <"$work/changed" >"$work/left"
Check "the file lists before and after match" bash -c "! grep . '$work/left'"

Summary
