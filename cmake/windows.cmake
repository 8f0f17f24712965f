# What the Windows build needs beyond the toolchain file: the import library
# of libusb-win32, and the header-only libraries and GoogleTest that Debian
# ships for the build machine, made usable by the cross compiler.

# libusb0.dll's import library, from the .def of the exports the library uses.
set(VESTRA_LIBUSB0_DEF ${PROJECT_SOURCE_DIR}/src/transport/libusb0.def)
set(VESTRA_LIBUSB0_IMPLIB ${CMAKE_BINARY_DIR}/implib/libusb0.dll.a)
add_custom_command(OUTPUT ${VESTRA_LIBUSB0_IMPLIB}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/implib
  COMMAND ${CMAKE_DLLTOOL} -d ${VESTRA_LIBUSB0_DEF} -D libusb0.dll -l ${VESTRA_LIBUSB0_IMPLIB}
  DEPENDS ${VESTRA_LIBUSB0_DEF}
  COMMENT "Import library for libusb0.dll")
add_custom_target(libusb0_implib DEPENDS ${VESTRA_LIBUSB0_IMPLIB})
add_library(libusb0 INTERFACE)
add_dependencies(libusb0 libusb0_implib)
target_link_libraries(libusb0 INTERFACE ${VESTRA_LIBUSB0_IMPLIB})

# Header-only libraries from the build machine: only their own folders are
# put on the include path, never /usr/include itself.
set(VESTRA_HOST_HEADERS ${CMAKE_BINARY_DIR}/host-headers)
foreach(dir nlohmann CLI)
  if(NOT EXISTS ${VESTRA_HOST_HEADERS}/${dir} AND EXISTS /usr/include/${dir})
    file(MAKE_DIRECTORY ${VESTRA_HOST_HEADERS})
    file(CREATE_LINK /usr/include/${dir} ${VESTRA_HOST_HEADERS}/${dir} SYMBOLIC)
  endif()
endforeach()
if(NOT TARGET nlohmann_json::nlohmann_json)
  add_library(nlohmann_json::nlohmann_json INTERFACE IMPORTED)
  set_target_properties(nlohmann_json::nlohmann_json PROPERTIES
    INTERFACE_INCLUDE_DIRECTORIES ${VESTRA_HOST_HEADERS})
endif()
add_library(vestra_cli11 INTERFACE)
target_include_directories(vestra_cli11 SYSTEM INTERFACE ${VESTRA_HOST_HEADERS})

# GoogleTest from Debian's googletest source package, built with the cross
# compiler.
if(VESTRA_TESTS AND NOT TARGET GTest::gtest)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  set(GTest_FOUND TRUE)
endif()
