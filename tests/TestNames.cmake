# Checks the CTest name of every test of the build: no parameter printed as
# raw bytes (they hold addresses, which change from one build to the next), no
# name longer than a terminal line can show beside ctest's own columns, and no
# name twice.
#   cmake -DCTEST=<ctest> -DBUILD=<build folder> -DSCRATCH=<folder> -P TestNames.cmake
# The tests are listed from SCRATCH, a folder that only points at the build,
# so that the listing does not overwrite the log of the run it is part of.
cmake_minimum_required(VERSION 3.25)
set(longest 80)

file(REMOVE_RECURSE "${SCRATCH}")
file(MAKE_DIRECTORY "${SCRATCH}")
file(WRITE "${SCRATCH}/CTestTestfile.cmake" "subdirs(\"${BUILD}\")\n")
execute_process(COMMAND "${CTEST}" -N
                WORKING_DIRECTORY "${SCRATCH}"
                OUTPUT_VARIABLE listing
                RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "ctest -N failed (${result})")
endif()

# One list element per name; brackets and semicolons in names would split
# the list elsewhere, and do not matter to the checks.
string(REGEX MATCHALL "Test +#[0-9]+: [^\n]*" lines "${listing}")
string(REPLACE "[" "(" lines "${lines}")
string(REPLACE "]" ")" lines "${lines}")
set(problems "")
set(seen "")
foreach(line IN LISTS lines)
    string(REGEX REPLACE "^Test +#[0-9]+: " "" name "${line}")
    string(LENGTH "${name}" length)
    if(name MATCHES "object <")
        string(APPEND problems "\n  ${name}\n    its parameter is printed as bytes: give the type a PrintTo")
    elseif(name MATCHES "GetParam\\(\\) =")
        string(APPEND problems "\n  ${name}\n    named by a generator: list the source under NAMED_CASES")
    elseif(length GREATER longest)
        string(APPEND problems "\n  ${name}\n    ${length} characters, more than ${longest}")
    endif()
    if(name IN_LIST seen)
        string(APPEND problems "\n  ${name}\n    more than one test has this name")
    endif()
    list(APPEND seen "${name}")
endforeach()
list(LENGTH seen count)
if(count EQUAL 0)
    message(FATAL_ERROR "no test found under ${BUILD}")
endif()
if(problems)
    message(FATAL_ERROR "Test names to mend:${problems}")
endif()
message(STATUS "${count} test names checked")
