# Debian packages from the install components (cpack -G DEB):
#   libvestra0     the library under its soname, and vxctl
#   libvestra-dev  header, development link, pkg-config and CMake files
#   libvestra-sim  the virtual recorder bus, vestra-sim-run, scenario format
#   python3-vestra the Python module vestra (ctypes over libvestra0)
# Configure with -DCMAKE_INSTALL_PREFIX=/usr for a Debian layout.
set(VESTRA_PACKAGE_MAINTAINER "LibVestra developers <libvestra@example.org>"
    CACHE STRING "Maintainer field of the packages")

set(CPACK_PACKAGE_NAME libvestra)
set(CPACK_PACKAGE_VENDOR "LibVestra developers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
# Each component description: its first line is the package summary.
set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})
set(CPACK_GENERATOR DEB)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL runtime dev sim python)

set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${VESTRA_PACKAGE_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_ENABLE_COMPONENT_DEPENDS ON)
# dpkg-shlibdeps resolves vxctl's LibVestra.so.0 and the virtual libudev's
# libusb-0.1.so.4 inside the package being built, not on this machine.
string(REGEX REPLACE "^/" "" _vestra_pkg_root "${CPACK_PACKAGING_INSTALL_PREFIX}")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS
    ${_vestra_pkg_root}/${CMAKE_INSTALL_LIBDIR} ${_vestra_pkg_root}/${VESTRA_INSTALL_SIM_DIR})

set(CPACK_DEBIAN_RUNTIME_PACKAGE_NAME libvestra0)
set(CPACK_DEBIAN_RUNTIME_PACKAGE_SECTION libs)
set(CPACK_COMPONENT_RUNTIME_DESCRIPTION
"USB body-worn video recorder library
LibVestra finds, identifies and controls body-worn video recorders over
USB (libusb 0.1), keeps a live list of attached recorders and decrypts
their AVI recordings. This package holds the shared library and the
command-line tool vxctl.")
# The shlibs file lets dpkg-shlibdeps give hosts a dependency on this package
# (written here: CPack's own would also claim the virtual bus's libraries).
configure_file(${CMAKE_CURRENT_LIST_DIR}/debian/shlibs.in ${PROJECT_BINARY_DIR}/debian/shlibs @ONLY)
set(CPACK_DEBIAN_RUNTIME_PACKAGE_CONTROL_EXTRA ${PROJECT_BINARY_DIR}/debian/shlibs)

set(CPACK_DEBIAN_DEV_PACKAGE_NAME libvestra-dev)
set(CPACK_DEBIAN_DEV_PACKAGE_SECTION libdevel)
set(CPACK_COMPONENT_DEV_DEPENDS runtime)
# libvestra.pc names libusb in Requires.private, which pkg-config reads.
set(CPACK_DEBIAN_DEV_PACKAGE_DEPENDS "libusb-dev, pkg-config | pkgconf")
set(CPACK_COMPONENT_DEV_DESCRIPTION
"USB body-worn video recorder library (development files)
The header LibVestra.h, the development link, the pkg-config file
libvestra.pc and the CMake package LibVestra (target LibVestra::LibVestra).")

set(CPACK_DEBIAN_SIM_PACKAGE_NAME libvestra-sim)
set(CPACK_DEBIAN_SIM_PACKAGE_SECTION devel)
set(CPACK_COMPONENT_SIM_DEPENDS runtime)
set(CPACK_COMPONENT_SIM_DESCRIPTION
"Virtual USB recorders for testing LibVestra hosts
A stand-in libusb 0.1 (and libudev monitor) serving virtual recorders
described by a JSON scenario file, kept in a private folder the loader
never searches by itself. vestra-sim-run SCENARIO PROGRAM runs a host
program against it; vxctl --scenario FILE uses it too.")

set(CPACK_DEBIAN_PYTHON_PACKAGE_NAME python3-vestra)
set(CPACK_DEBIAN_PYTHON_PACKAGE_SECTION python)
set(CPACK_DEBIAN_PYTHON_PACKAGE_ARCHITECTURE all)
set(CPACK_COMPONENT_PYTHON_DEPENDS runtime)
set(CPACK_DEBIAN_PYTHON_PACKAGE_DEPENDS "python3")
set(CPACK_COMPONENT_PYTHON_DESCRIPTION
"Python module for LibVestra
The module vestra drives body-worn video recorders through the installed
LibVestra with ctypes only: recorders as context managers, every device
operation as a method, the device list with hot-plug events, recording
decryption and the time-zone lookups.")
# Python writes byte-code caches beside the module when it runs; they go
# before the package's own files do, so removal leaves no folder behind.
configure_file(${CMAKE_CURRENT_LIST_DIR}/debian/python-prerm.in ${PROJECT_BINARY_DIR}/debian/python/prerm @ONLY)
set(CPACK_DEBIAN_PYTHON_PACKAGE_CONTROL_EXTRA ${PROJECT_BINARY_DIR}/debian/python/prerm)

include(CPack)
