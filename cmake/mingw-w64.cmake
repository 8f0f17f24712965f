# Cross-builds the Windows DLL with mingw-w64's posix thread variant (the
# win32 variant of GCC 12 has no std::recursive_mutex). The C++ runtime,
# libgcc and winpthread are linked statically: the DLL needs only system
# DLLs and libusb0.dll beside it.
#
#   cmake -S . -B build-win64 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake
#   cmake -S . -B build-win32 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DVESTRA_WIN_ARCH=i686
#
# Programs built here run through wine (CMAKE_CROSSCOMPILING_EMULATOR), so
# ctest runs the Windows test suite on Linux.
set(CMAKE_SYSTEM_NAME Windows)

set(VESTRA_WIN_ARCH "x86_64" CACHE STRING "Windows target: x86_64 or i686")
set_property(CACHE VESTRA_WIN_ARCH PROPERTY STRINGS x86_64 i686)
set(CMAKE_SYSTEM_PROCESSOR ${VESTRA_WIN_ARCH})
set(VESTRA_MINGW_TRIPLE ${VESTRA_WIN_ARCH}-w64-mingw32)

set(CMAKE_C_COMPILER ${VESTRA_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VESTRA_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${VESTRA_MINGW_TRIPLE}-windres)
set(CMAKE_DLLTOOL ${VESTRA_MINGW_TRIPLE}-dlltool)

set(CMAKE_FIND_ROOT_PATH /usr/${VESTRA_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# -static makes the linker take libstdc++, libgcc and libwinpthread from
# their archives; system DLLs still come through their import libraries.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static")

# Wine runs 64-bit programs with wine64 and 32-bit ones with wine, the
# 32-bit loader of the i386 wine packages (scripts/setup-windows.sh). Debian's
# /usr/bin/wine falls back to wine64 without them: the loader itself is named.
if(VESTRA_WIN_ARCH STREQUAL "x86_64")
  find_program(VESTRA_WINE NAMES wine64 wine PATHS /usr/lib/wine NO_CMAKE_FIND_ROOT_PATH)
else()
  find_program(VESTRA_WINE NAMES wine PATHS /usr/lib/wine NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
  find_program(VESTRA_WINE NAMES wine NO_CMAKE_FIND_ROOT_PATH)
endif()
if(VESTRA_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${VESTRA_WINE})
endif()
