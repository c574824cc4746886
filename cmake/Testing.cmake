# qm_add_gtest(name SOURCES... LIBS...): one GoogleTest executable, each test case a ctest entry
# that runs in a process of its own (the tracing state and the current directory are per process).
function(qm_add_gtest name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  qm_warnings(${name})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} qm_testsupport GTest::gmock GTest::gtest_main)
  gtest_discover_tests(${name} TEST_PREFIX "${name}." NO_PRETTY_VALUES DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 120)
endfunction()

# Registers a library for the benchmark and fuzz executables, which link every registered library.
function(qm_register_tool_library target)
  set_property(GLOBAL APPEND PROPERTY QM_TOOL_LIBS ${target})
endfunction()
