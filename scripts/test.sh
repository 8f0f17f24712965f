#!/usr/bin/env bash
# Installs what is needed, builds, and runs every test.
#   scripts/test.sh [build-dir]          plain build (default: build)
#   VESTRA_SANITIZE=address,undefined scripts/test.sh build-asan
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build}"
bash "$root/scripts/setup.sh"
cmake -S "$root" -B "$build" -G Ninja \
  -DVESTRA_SANITIZE="${VESTRA_SANITIZE:-}" \
  -DVESTRA_BENCH="${VESTRA_BENCH:-ON}" >/dev/null
cmake --build "$build" -j"$(nproc)"
cd "$build"
ctest --output-on-failure -j"$(nproc)" ${CTEST_ARGS:-}
