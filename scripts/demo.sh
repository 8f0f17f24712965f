#!/usr/bin/env bash
# Installs what is needed, builds, and shows the library at work against
# virtual recorders: probe, identify, log in, exchange commands, read a whole
# recorder and change one setting.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build-demo}"
bash "$root/scripts/setup.sh"
cmake -S "$root" -B "$build" -G Ninja -DVESTRA_TESTS=OFF -DVESTRA_BENCH=OFF >/dev/null
cmake --build "$build" -j"$(nproc)" --target vxctl vsim >/dev/null

vxctl="$build/bin/vxctl"
scenario="$root/scenarios/demo.json"
run() {
  echo
  printf '$ vxctl'; printf ' %q' "$@"; echo
  "$vxctl" --scenario "$scenario" "$@" || echo "(exit code $?)"
}
# Each vxctl process starts from the scenario, so a change and the read that
# shows it run as one batch.
run_batch() {
  echo
  echo '$ vxctl batch <<EOF'; printf '  %s\n' "$@"; echo 'EOF'
  printf '%s\n' "$@" | "$vxctl" --scenario "$scenario" batch || echo "(exit code $?)"
}

echo "Virtual recorders from scenarios/demo.json"
run probe
run idcode --model VX006
run idcode --id 3400001
run login --model VX007 --password 888888
run login --model VX006 --password wrong-password
run cmd --model VX007 "VX+DEVNAME?"
run cmd --model VX006 --password patrol99 "VX+BATVAL?"
run cmd --model VX007 "VX+DEVNAME=Unit 12 front"
run cmd --model VX007 "VX+NOSUCH?"
run idcode --model VX001
run show --model VX007
run_batch 'set --model VX007 devname "Unit 12"' 'get --model VX007 devname'
run tz-find Europe/Kiev

echo
echo "A recording whose key frames are DES-encrypted (samples/sample-encrypted.avi, key demo1234)"
out="$(mktemp -d)"
run decrypt "$root/samples/sample-encrypted.avi" "$out/plain.avi" --key demo1234
run decrypt "$out/plain.avi" "$out/again.avi" --key demo1234
if command -v ffprobe >/dev/null; then
  echo
  echo "\$ ffprobe plain.avi"
  ffprobe -v error -select_streams v:0 -count_frames \
    -show_entries stream=codec_name,width,height,nb_read_frames -of default=nw=1 "$out/plain.avi"
fi
rm -rf "$out"
