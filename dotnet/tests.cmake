# The binding's xunit suite (dotnet/Vestra.Tests), built with the build and
# run by CTest one class per process: the virtual bus reads its scenario
# (the Python suite's, tests/python/NAME.json) once per process.
set(VESTRA_DN_TESTS ${VESTRA_DN}/bin/Vestra.Tests/release/Vestra.Tests.dll)
file(GLOB VESTRA_CS_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/Vestra.Tests/*.cs
     ${CMAKE_CURRENT_SOURCE_DIR}/Vestra.Tests/*.csproj)
add_custom_command(OUTPUT ${VESTRA_DN_TESTS}
  COMMAND ${VESTRA_DOTNET} build ${CMAKE_CURRENT_SOURCE_DIR}/Vestra.Tests/Vestra.Tests.csproj -c Release
          ${VESTRA_DOTNET_PROPS}
  COMMAND ${CMAKE_COMMAND} -E touch ${VESTRA_DN_TESTS}
  DEPENDS ${VESTRA_CS_TEST_SOURCES} ${CMAKE_BINARY_DIR}/lib/Vestra.dll
  COMMENT ".NET binding: its xunit suite"
  VERBATIM)
add_custom_target(vestra_dotnet_tests ALL DEPENDS ${VESTRA_DN_TESTS})

set(PY_SCENARIOS ${PROJECT_SOURCE_DIR}/tests/python)
# name  test class  scenario (or -)
set(VESTRA_DN_CASES
    operations  OperationTests    operations
    errors      ErrorTests        errors
    devices     DeviceListTests   devices
    media       MediaTests        -
    layout      LayoutTests       -
    managed_host ManagedHostTests -)
while(VESTRA_DN_CASES)
  list(POP_FRONT VESTRA_DN_CASES name class scenario)
  set(env ${VESTRA_DOTNET_ENV}
          "LD_LIBRARY_PATH=${VESTRA_SIM_DIR}:${CMAKE_BINARY_DIR}/lib"
          "VESTRA_TEST_BIN=${CMAKE_BINARY_DIR}/bin"
          "VESTRA_INCLUDE=${PROJECT_SOURCE_DIR}/include")
  if(NOT scenario STREQUAL "-")
    list(APPEND env "VSIM_SCENARIO=${PY_SCENARIOS}/${scenario}.json")
  endif()
  add_test(NAME dotnet.${name}
           COMMAND ${DOTNET_EXECUTABLE} test ${VESTRA_DN_TESTS} --filter "FullyQualifiedName~Vestra.Tests.${class}"
           WORKING_DIRECTORY ${VESTRA_DN})
  set_tests_properties(dotnet.${name} PROPERTIES ENVIRONMENT "${env}" TIMEOUT 300 LABELS dotnet)
endwhile()

# Without the Windows DLLs (this build has none) the package is refused.
add_test(NAME dotnet.pack_refused
         COMMAND bash ${PROJECT_SOURCE_DIR}/tests/dotnet/pack_refused.sh ${PROJECT_SOURCE_DIR} ${CMAKE_BINARY_DIR})
set_tests_properties(dotnet.pack_refused PROPERTIES PASS_REGULAR_EXPRESSION "refused as it should"
                     TIMEOUT 300 LABELS dotnet)
