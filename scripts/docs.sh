#!/usr/bin/env bash
# Builds the API reference from include/LibVestra.h (docs/Doxyfile), HTML in
# OUT/html. Any doxygen warning fails it: an undocumented export, type,
# macro, field or parameter. Installs doxygen first where it is missing
# (Debian 12, as root).
#   scripts/docs.sh [OUT]          default: build-docs
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
out="${1:-$root/build-docs}"
if ! command -v doxygen >/dev/null 2>&1; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends doxygen
fi
mkdir -p "$out"
out="$(cd "$out" && pwd)"
version="$(sed -n 's/^project(LibVestra VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")"
cd "$root"
VX_DOC_OUTPUT="$out" VX_DOC_VERSION="$version" doxygen docs/Doxyfile
echo "docs: $out/html/index.html (doxygen $(doxygen --version), no warnings)"
