# CPack configuration that zips the Windows release folder, run by
# scripts/release-windows.sh as
#   VESTRA_RELEASE_DIR=<folder> VESTRA_VERSION=<version> cpack --config cmake/windows-zip.cpack.cmake -B <out>
# The zip holds the folder itself: LibVestra-<version>-windows/{x64,x86,include,...}.
set(_vestra_release_dir "$ENV{VESTRA_RELEASE_DIR}")
if(NOT IS_DIRECTORY "${_vestra_release_dir}")
  message(FATAL_ERROR "VESTRA_RELEASE_DIR is not a folder: '${_vestra_release_dir}'")
endif()
get_filename_component(_vestra_release_name "${_vestra_release_dir}" NAME)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME LibVestra)
set(CPACK_PACKAGE_VERSION "$ENV{VESTRA_VERSION}")
set(CPACK_PACKAGE_FILE_NAME "${_vestra_release_name}")
set(CPACK_INSTALLED_DIRECTORIES "${_vestra_release_dir};.")
set(CPACK_PACKAGE_DESCRIPTION "LibVestra for Windows: DLLs, import libraries, header, vxctl")
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
