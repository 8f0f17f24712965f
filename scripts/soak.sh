#!/usr/bin/env bash
# The device-list soak: builds soak_devlist and runs its long form, 2,000
# plug/unplug cycles of up to 50 recorders with the refresh thread, the
# callback, a host thread doing operations and one reading the list. Prints
# RSS, open descriptors and threads at the start, half way and at the end,
# and the callback's accounting; fails unless flat and every arrival and
# removal was seen once.
#   scripts/soak.sh [cycles] [build-dir]   (defaults: 2000, build)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cycles="${1:-2000}"
build="${2:-$root/build}"
cmake -S "$root" -B "$build" -G Ninja -DVESTRA_BENCH=ON >/dev/null
cmake --build "$build" -j2 --target soak_devlist
exec "$build/bin/soak_devlist" "$cycles"
