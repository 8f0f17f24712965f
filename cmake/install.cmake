# What `cmake --install` lays out, in three components that the packages
# follow: runtime (the library and vxctl), dev (what a host builds against)
# and sim (the virtual recorder bus in its private folder).
include(CMakePackageConfigHelpers)

set(VESTRA_INSTALL_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/LibVestra)

install(TARGETS LibVestra EXPORT LibVestraTargets
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT runtime NAMELINK_COMPONENT dev
  INCLUDES DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
install(FILES ${PROJECT_SOURCE_DIR}/include/LibVestra.h
  DESTINATION ${CMAKE_INSTALL_INCLUDEDIR} COMPONENT dev)

# vxctl finds the library by the loader's search path where the prefix is a
# system one, and beside itself otherwise.
file(RELATIVE_PATH _vestra_bin_to_lib ${CMAKE_INSTALL_FULL_BINDIR} ${CMAKE_INSTALL_FULL_LIBDIR})
if(NOT CMAKE_INSTALL_FULL_LIBDIR IN_LIST CMAKE_C_IMPLICIT_LINK_DIRECTORIES)
  set_target_properties(vxctl PROPERTIES INSTALL_RPATH "$ORIGIN/${_vestra_bin_to_lib}")
endif()
install(TARGETS vxctl RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT runtime)

# pkg-config: the file name has no "lib" prefix, hence -l:LibVestra.so.
configure_file(${CMAKE_CURRENT_LIST_DIR}/libvestra.pc.in ${PROJECT_BINARY_DIR}/libvestra.pc @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/libvestra.pc
  DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig COMPONENT dev)

# CMake: find_package(LibVestra) gives LibVestra::LibVestra.
install(EXPORT LibVestraTargets NAMESPACE LibVestra::
  DESTINATION ${VESTRA_INSTALL_CMAKE_DIR} COMPONENT dev)
configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/LibVestraConfig.cmake.in
  ${PROJECT_BINARY_DIR}/LibVestraConfig.cmake INSTALL_DESTINATION ${VESTRA_INSTALL_CMAKE_DIR})
# The soname carries the major version: a host built for 0.x loads any 0.y.
write_basic_package_version_file(${PROJECT_BINARY_DIR}/LibVestraConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/LibVestraConfig.cmake
              ${PROJECT_BINARY_DIR}/LibVestraConfigVersion.cmake
  DESTINATION ${VESTRA_INSTALL_CMAKE_DIR} COMPONENT dev)

# The virtual bus: libusb-0.1.so.4 and libudev.so.1 under their sonames only
# (no development links), and vestra-sim-run to put them first for a program.
set_target_properties(vsim_udev PROPERTIES INSTALL_RPATH "$ORIGIN")
install(TARGETS vsim vsim_udev
  LIBRARY DESTINATION ${VESTRA_INSTALL_SIM_DIR} COMPONENT sim NAMELINK_SKIP)
file(RELATIVE_PATH _vestra_bin_to_sim ${CMAKE_INSTALL_FULL_BINDIR}
     ${CMAKE_INSTALL_PREFIX}/${VESTRA_INSTALL_SIM_DIR})
set(VESTRA_SIM_RELDIR ${_vestra_bin_to_sim})
configure_file(${PROJECT_SOURCE_DIR}/sim/vestra-sim-run.in
  ${PROJECT_BINARY_DIR}/install/vestra-sim-run @ONLY)
install(PROGRAMS ${PROJECT_BINARY_DIR}/install/vestra-sim-run
  DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT sim)
set(VESTRA_SIM_DOC_DIR ${CMAKE_INSTALL_DATAROOTDIR}/doc/libvestra-sim)
install(FILES ${PROJECT_SOURCE_DIR}/docs/scenario-format.md
  DESTINATION ${VESTRA_SIM_DOC_DIR} COMPONENT sim)
install(FILES ${PROJECT_SOURCE_DIR}/scenarios/demo.json
  DESTINATION ${VESTRA_SIM_DOC_DIR}/examples COMPONENT sim)
