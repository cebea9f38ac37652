# velbrook_add_test(NAME SOURCES... LIBS...): one GoogleTest executable.
# Natively each test case is its own CTest test; under Wine the executable runs
# as one test, since discovering cases would start Wine at build time.
include(GoogleTest)
function(velbrook_add_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest_main GTest::gmock)
  target_compile_definitions(${name} PRIVATE
    VELBROOK_SOURCE_DIR="${CMAKE_SOURCE_DIR}"
    VELBROOK_BINARY_DIR="${CMAKE_BINARY_DIR}")
  if(CMAKE_CROSSCOMPILING)
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES TIMEOUT 900)
  else()
    gtest_discover_tests(${name} TEST_PREFIX "${name}." DISCOVERY_TIMEOUT 60)
  endif()
endfunction()
