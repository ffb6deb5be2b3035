# One ctest test per group of GoogleTest suites of a Windows test program, each group run by
# cmake/gtest-suite in one Wine process (cmake/ListSuites.cmake groups them). The suites are
# listed when ctest starts (the program must exist by then), and listed again only when the
# program has changed.
#   qelvane_add_suite_tests(TARGET PREFIX [ENVIRONMENT VAR=VALUE...] [SUITES NAME...])
# With SUITES, only those suites.
function(qelvane_add_suite_tests target prefix)
  cmake_parse_arguments(arg "" "" "ENVIRONMENT;SUITES" ${ARGN})
  set(script "${CMAKE_CURRENT_BINARY_DIR}/${target}-${prefix}suites.cmake")
  file(GENERATE OUTPUT "${script}" CONTENT "
set(exe [==[$<TARGET_FILE:${target}>]==])
set(prefix [==[${prefix}]==])
set(environment [==[${arg_ENVIRONMENT}]==])
set(only [==[${arg_SUITES}]==])
set(emulator [==[${CMAKE_SOURCE_DIR}/cmake/wine-run]==])
set(runner [==[${CMAKE_SOURCE_DIR}/cmake/gtest-suite]==])
set(runner_dir [==[${CMAKE_SOURCE_DIR}/cmake]==])
include([==[${CMAKE_SOURCE_DIR}/cmake/ListSuites.cmake]==])
")
  set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES "${script}")
endfunction()
