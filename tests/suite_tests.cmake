# suite_tests.cmake: run after a test binary is built (cmake -P). Lists the
# binary's GoogleTest suites and writes OUTPUT, a ctest file with one entry
# per suite that runs that suite's tests in one process. The list comes from
# the binary itself, so a suite added or renamed gets its entry and none is
# left out. An entry that runs no test fails.
#
# EXECUTABLE: the test binary; OUTPUT: the ctest file to write; LABELS and
# ENVIRONMENT: the entries' properties.
execute_process(COMMAND "${EXECUTABLE}" --gtest_list_tests
                OUTPUT_VARIABLE listing ERROR_VARIABLE errors RESULT_VARIABLE result TIMEOUT 60)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "${EXECUTABLE} could not list its tests (${result}):\n${listing}${errors}")
endif()

set(entries "")
set(count 0)
string(REPLACE "\n" ";" lines "${listing}")
foreach(line IN LISTS lines)
  # A suite's line starts at the margin and ends with a dot, then perhaps a
  # comment naming its parameter type; its tests follow indented.
  if(line MATCHES "^([^ #]+)\\.( +#.*)?$")
    set(suite "${CMAKE_MATCH_1}")
    string(APPEND entries
      "add_test([==[${suite}.*]==] [==[${EXECUTABLE}]==] [==[--gtest_filter=${suite}.*]==])\n"
      "set_tests_properties([==[${suite}.*]==] PROPERTIES LABELS [==[${LABELS}]==]"
      " ENVIRONMENT [==[${ENVIRONMENT}]==] FAIL_REGULAR_EXPRESSION [==[Running 0 tests]==])\n")
    math(EXPR count "${count} + 1")
  endif()
endforeach()
if(count EQUAL 0)
  message(FATAL_ERROR "${EXECUTABLE} lists no test suite:\n${listing}")
endif()
file(WRITE "${OUTPUT}" "${entries}")
