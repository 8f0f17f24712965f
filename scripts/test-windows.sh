#!/usr/bin/env bash
# Cross-builds the Windows DLL (x64 and x86) with mingw-w64 and runs the x64
# test suite under wine, through ctest.
#   scripts/test-windows.sh [build-dir-prefix]     (default: build-win)
# Builds <prefix>64 (everything, tested) and <prefix>32 (DLL and vxctl.exe).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
prefix="${1:-$root/build-win}"
bash "$root/scripts/setup-windows.sh"

for arch in x86_64 i686; do
  if [ "$arch" = x86_64 ]; then build="${prefix}64"; tests=ON; else build="${prefix}32"; tests=OFF; fi
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" \
    -DVESTRA_WIN_ARCH=$arch -DVESTRA_TESTS=$tests -DVESTRA_BENCH=OFF >/dev/null
  if [ "$tests" = ON ]; then
    cmake --build "$build" -j"$(nproc)"
  else
    cmake --build "$build" -j"$(nproc)" --target LibVestra vxctl
  fi
done

# One wine prefix, booted once; a persistent wineserver keeps every test's
# start short. Crashes end the program instead of waiting in the debugger.
export WINEPREFIX="${prefix}64/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export LC_ALL=C.UTF-8  # US English code pages: ANSI 1252, OEM 437
wine=/usr/lib/wine/wine64
echo "== wine prefix $WINEPREFIX"
timeout 600 "$wine" wineboot -i >/dev/null 2>&1 </dev/null || echo "wineboot: exit $?"
timeout 120 "$wine" reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' \
  /v Debugger /t REG_SZ /d false /f >/dev/null 2>&1 </dev/null || echo "reg add: exit $?"
timeout 120 wineserver -w || true  # the registry is on disk once the server has gone
cd "${prefix}64"
# Under a display (the device-event window needs one): a persistent
# wineserver, and one program run first with no pipe attached, so the
# services wine starts with its first program never hold a test's output
# open; then the suite.
export WINE_BIN="$wine"
xvfb-run -a bash -c '
  set -euo pipefail
  wineserver -p 2>/dev/null || true  # one may be running already
  trap "wineserver -k >/dev/null 2>&1 || true" EXIT
  timeout 120 "$WINE_BIN" cmd /c exit >/dev/null 2>&1 </dev/null || true
  ctest --output-on-failure -j"$(nproc)" --timeout 300 '"${CTEST_ARGS:-}"'
'
