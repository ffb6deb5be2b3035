# Included by ctest (see GtestSuites.cmake) with exe, prefix, environment, emulator and runner set.
set(list_file "${exe}.suites")
if(NOT EXISTS "${exe}")
  add_test("${prefix}NOT_BUILT" "${exe}")
  return()
endif()
if(NOT EXISTS "${list_file}" OR "${exe}" IS_NEWER_THAN "${list_file}")
  execute_process(COMMAND "${emulator}" "${exe}" --gtest_list_tests
    OUTPUT_VARIABLE listing ERROR_VARIABLE errors RESULT_VARIABLE rc TIMEOUT 300)
  if(NOT rc EQUAL 0)
    # A test that fails and shows why, rather than silently no tests.
    file(WRITE "${list_file}.error" "listing the cases failed (${rc}):\n${errors}\n")
    add_test("${prefix}LISTING_FAILED" bash -c "cat \"$0\"; exit 1" "${list_file}.error")
    return()
  endif()
  string(REPLACE "\r" "" listing "${listing}")
  string(REPLACE "\n" ";" lines "${listing}")
  set(suites "")
  foreach(line IN LISTS lines)
    # Suite lines start in column 0 and end with a dot ("Suite." or "Instance/Suite.  # TypeParam").
    if(line MATCHES "^([^ #][^ ]*)\\.( .*)?$")
      list(APPEND suites "${CMAKE_MATCH_1}")
    endif()
  endforeach()
  list(JOIN suites "\n" text)
  file(WRITE "${list_file}" "${text}\n")
endif()
file(STRINGS "${list_file}" suites)
foreach(suite IN LISTS suites)
  add_test("${prefix}${suite}" "${runner}" "${exe}" "${suite}")
  set_tests_properties("${prefix}${suite}" PROPERTIES
    RESOURCE_LOCK wine_display
    ENVIRONMENT "${environment}"
    TIMEOUT 900)
endforeach()
