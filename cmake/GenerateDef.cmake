cmake_minimum_required(VERSION 3.20)
# Writes the module-definition file of the DLL from the public header: every
# function declared with VX_API, undecorated, in header order. Run as
#   cmake -DHEADER=include/LibVestra.h -DOUT=LibVestra.def -DLIBRARY=LibVestra.dll -P GenerateDef.cmake
# so the exports and the header cannot drift apart.
file(READ ${HEADER} text)
# Comments could name functions; drop them first.
# Preprocessor lines (the VX_API definitions themselves) go too.
string(REGEX REPLACE "(^|\n)[ \t]*#[^\n]*" "\n" text "${text}")
string(REGEX REPLACE "/\\*([^*]|\\*+[^*/])*\\*+/" "" text "${text}")
string(REGEX MATCHALL "VX_API[^;(]*[ \t\n*]([A-Za-z_][A-Za-z0-9_]*)[ \t\n]*\\(" decls "${text}")
set(out "; Generated from LibVestra.h by cmake/GenerateDef.cmake: do not edit.\nLIBRARY ${LIBRARY}\nEXPORTS\n")
set(seen "")
foreach(d ${decls})
  string(REGEX REPLACE ".*[ \t\n*]([A-Za-z_][A-Za-z0-9_]*)[ \t\n]*\\($" "\\1" name "${d}")
  if(name STREQUAL "VX_API" OR name IN_LIST seen)
    continue()
  endif()
  list(APPEND seen ${name})
  string(APPEND out "    ${name}\n")
endforeach()
list(LENGTH seen n)
if(n EQUAL 0)
  message(FATAL_ERROR "no VX_API function found in ${HEADER}")
endif()
# Rewrite only on change, so the DLL relinks only when the exports change.
if(EXISTS ${OUT})
  file(READ ${OUT} old)
  if(old STREQUAL out)
    return()
  endif()
endif()
file(WRITE ${OUT} "${out}")
