# The Python interpreter of the build: the generators (the export lists, the
# bindings' tables) and the Python tests run it. Python3_EXECUTABLE chooses
# one; otherwise, when the tests are built, the first python3 on PATH that has
# pytest (a version manager's shim ahead of the system's may lack it), else
# the one CMake finds.
if(NOT DEFINED Python3_EXECUTABLE AND VESTRA_TESTS AND NOT CMAKE_HOST_WIN32)
  string(REPLACE ":" ";" vestra_path_dirs "$ENV{PATH}")
  foreach(dir IN LISTS vestra_path_dirs)
    if(EXISTS "${dir}/python3")
      execute_process(COMMAND "${dir}/python3" -c "import pytest"
                      RESULT_VARIABLE no_pytest OUTPUT_QUIET ERROR_QUIET)
      if(no_pytest EQUAL 0)
        set(Python3_EXECUTABLE "${dir}/python3")
        break()
      endif()
    endif()
  endforeach()
endif()
find_package(Python3 REQUIRED COMPONENTS Interpreter)
# The one reader of the public header (python/gen/gen_binding.py) writes the
# export lists, the ctypes declarations and the .NET declarations.
set(VESTRA_HEADER_TOOL ${Python3_EXECUTABLE} ${PROJECT_SOURCE_DIR}/python/gen/gen_binding.py)

option(VESTRA_PYTHON "Build and install the Python binding" ON)
# Where the package installs, relative to the install prefix: by default the
# found interpreter's own purelib folder for that prefix (on Debian its
# system scheme, lib/python3/dist-packages).
execute_process(
  COMMAND ${Python3_EXECUTABLE} -c "import sysconfig as s, sys
names = s.get_scheme_names()
scheme = next((n for n in ('deb_system', 'posix_prefix', 'nt') if n in names), s.get_default_scheme())
print(s.get_path('purelib', scheme, vars={'base': sys.argv[1], 'platbase': sys.argv[1]}))"
          ${CMAKE_INSTALL_PREFIX}
  OUTPUT_VARIABLE VESTRA_PURELIB OUTPUT_STRIP_TRAILING_WHITESPACE)
file(RELATIVE_PATH VESTRA_PURELIB_REL ${CMAKE_INSTALL_PREFIX} ${VESTRA_PURELIB})
set(VESTRA_PYTHON_SITE ${VESTRA_PURELIB_REL} CACHE STRING
    "Folder the Python package installs into, relative to the install prefix")
