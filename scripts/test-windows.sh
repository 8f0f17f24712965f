#!/usr/bin/env bash
# Cross-builds the Windows DLL (x64 and x86) with mingw-w64 and runs the
# whole suite under wine, through ctest: x64 under 64-bit wine, x86 under
# 32-bit wine.
#   scripts/test-windows.sh [build-dir-prefix]     (default: build-win)
# Builds <prefix>64 and <prefix>32, each with everything.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
prefix="$(realpath -m "${1:-$root/build-win}")"  # wine wants an absolute WINEPREFIX
bash "$root/scripts/setup-windows.sh"

for arch in x86_64 i686; do
  if [ "$arch" = x86_64 ]; then build="${prefix}64"; else build="${prefix}32"; fi
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" \
    -DVESTRA_WIN_ARCH=$arch -DVESTRA_TESTS=ON -DVESTRA_BENCH=OFF >/dev/null
  cmake --build "$build" -j"$(nproc)"
done

# run_suite BUILD WINEARCH LOADER [CTEST ARGS...]
# One wine prefix per bitness, booted once; a persistent wineserver keeps
# every test's start short. Crashes end the program instead of waiting in the
# debugger.
run_suite() {
  local build="$1" arch="$2" loader="$3"
  shift 3
  export WINEPREFIX="$build/wineprefix" WINEARCH="$arch" WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml=" WINE_BIN="$loader"
  export LC_ALL=C.UTF-8  # US English code pages: ANSI 1252, OEM 437
  echo "== wine prefix $WINEPREFIX ($arch)"
  timeout 600 "$loader" wineboot -i >/dev/null 2>&1 </dev/null || echo "wineboot: exit $?"
  timeout 120 "$loader" reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' \
    /v Debugger /t REG_SZ /d false /f >/dev/null 2>&1 </dev/null || echo "reg add: exit $?"
  timeout 120 wineserver -w || true  # the registry is on disk once the server has gone
  # Under a display (the device-event window needs one): a persistent
  # wineserver, and one program run first with no pipe attached, so the
  # services wine starts with its first program never hold a test's output
  # open; then the tests. Now and then a wine launch ends at once with no
  # output (the program never ran); such a case gets one more run, and a case
  # that fails twice fails the suite.
  (cd "$build" && xvfb-run -a bash -c '
    set -euo pipefail
    wineserver -p 2>/dev/null || true  # one may be running already
    trap "wineserver -k >/dev/null 2>&1 || true" EXIT
    timeout 120 "$WINE_BIN" cmd /c exit >/dev/null 2>&1 </dev/null || true
    ctest --output-on-failure -j"$(nproc)" --timeout 300 --repeat until-pass:2 "$@"
  ' run_suite "$@")
}

# The window test that sends WM_DEVICECHANGE straight to the "myusbmsg"
# window runs with the rest: it times each send and each event, so a late
# delivery says which side was late.
# shellcheck disable=SC2086  # CTEST_ARGS is a list of words
run_suite "${prefix}64" win64 /usr/lib/wine/wine64 ${CTEST_ARGS:-}
# shellcheck disable=SC2086
run_suite "${prefix}32" win32 /usr/lib/wine/wine ${CTEST_ARGS32:-}
