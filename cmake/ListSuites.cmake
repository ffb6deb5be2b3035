# Included by ctest (see GtestSuites.cmake) with exe, prefix, environment, only (suites, or all when
# empty), emulator, runner and runner_dir set.
set(list_file "${exe}.suites")
if(NOT EXISTS "${exe}")
  add_test("${prefix}NOT_BUILT" "${exe}")
  return()
endif()
if(NOT EXISTS "${list_file}" OR "${exe}" IS_NEWER_THAN "${list_file}")
  # Into files, not pipes: a process the program starts (Wine's desktop process) inherits its
  # output and may outlive it. A listing that hangs says what Wine was doing then.
  execute_process(COMMAND bash -c [==[
      timeout 300 "$0" "$1" --gtest_list_tests >"$2" 2>"$3" && exit 0
      rc=$?
      if (( rc == 124 )); then
        echo "no listing after 300 s; the Wine and emulator processes then:"
        ps -eo pid,stat,etimes,args | grep -aE '[w]ine|[q]emu|\.exe'
      fi >>"$3"
      exit $rc]==] "${emulator}" "${exe}" "${list_file}.out" "${list_file}.err"
    RESULT_VARIABLE rc)
  file(READ "${list_file}.out" listing)
  file(READ "${list_file}.err" errors)
  if(NOT rc EQUAL 0)
    # A test that fails and shows why, rather than silently no tests.
    file(WRITE "${list_file}.error" "listing the cases of ${exe} failed (exit ${rc}):\n${errors}\n")
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

# One ctest test per group of suites, each group one Wine process: a process start costs about a
# second under emulation. Short suites are grouped in their listed order up to 15 usual seconds
# a group; a suite of 8 s or more runs alone. A group is named after its suites ("e2e.A,e2e.B"), so that
# -R with a suite's name still selects it.
file(STRINGS "${runner_dir}/suite-seconds" usual_lines REGEX "^[^#]")
function(usual_seconds suite out)
  string(REGEX REPLACE "^.*/" "" bare "${suite}")
  set(seconds 3)
  foreach(line IN LISTS usual_lines)
    if(line MATCHES "^${bare} ([0-9]+)$")
      set(seconds ${CMAKE_MATCH_1})
    endif()
  endforeach()
  set(${out} ${seconds} PARENT_SCOPE)
endfunction()

set(groups "")
set(group "")
set(group_seconds 0)
macro(close_group)
  if(group)
    list(JOIN group "," joined)
    list(APPEND groups "${joined}")
  endif()
  set(group "")
  set(group_seconds 0)
endmacro()
foreach(suite IN LISTS suites)
  list(FIND only "${suite}" at)
  if(only AND at EQUAL -1)
    continue()
  endif()
  usual_seconds("${suite}" seconds)
  if(seconds GREATER_EQUAL 8)
    list(APPEND groups "${suite}")
    continue()
  endif()
  math(EXPR sum "${group_seconds} + ${seconds}")
  if(sum GREATER 15)
    close_group()
    set(sum ${seconds})
  endif()
  list(APPEND group "${suite}")
  set(group_seconds ${sum})
endforeach()
close_group()

# A prefix of another DPI, theme or Windows version has a display of its own besides the lane.
set(resources lane:1)
if(environment MATCHES "QELVANE_(DPI|SCHEME|WINVER)=")
  set(resources lane:1,variants:1)
endif()
foreach(members IN LISTS groups)
  string(REPLACE "," ",${prefix}" name "${prefix}${members}")
  add_test("${name}" "${runner}" "${exe}" "${members}")
  set_tests_properties("${name}" PROPERTIES
    RESOURCE_GROUPS ${resources}
    ENVIRONMENT "${environment}"
    TIMEOUT 900)
endforeach()
