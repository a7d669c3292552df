# What the CMake-script test cases share: a fresh WORK folder, running a tool in it and checking
# its output. Included by tests/tools/vsthost_cases.cmake and tests/integration/plugin_cases.cmake,
# which expect WORK, VSTHOST and, for Windows binaries, EMULATOR.

file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})

# run(<tool> <expected exit code> <arguments>...): sets OUT and ERR (carriage returns removed).
function(run tool expected)
    execute_process(COMMAND ${EMULATOR} ${tool} ${ARGN}
        WORKING_DIRECTORY ${WORK}
        RESULT_VARIABLE code OUTPUT_VARIABLE out ERROR_VARIABLE err)
    string(REPLACE "\r" "" out "${out}")
    string(REPLACE "\r" "" err "${err}")
    if(NOT code STREQUAL "${expected}")
        message(FATAL_ERROR "${tool} ${ARGN}\nexit ${code}, expected ${expected}\n"
            "stdout:\n${out}\nstderr:\n${err}")
    endif()
    set(OUT "${out}" PARENT_SCOPE)
    set(ERR "${err}" PARENT_SCOPE)
endfunction()

macro(vsthost expected)
    run(${VSTHOST} ${expected} ${ARGN})
endmacro()

# Each argument must be a complete line of the last run's stdout.
function(expect_lines)
    foreach(line IN LISTS ARGN)
        string(FIND "\n${OUT}" "\n${line}\n" position)
        if(position EQUAL -1)
            message(FATAL_ERROR "missing line '${line}' in stdout:\n${OUT}")
        endif()
    endforeach()
endfunction()

# The arguments, joined, must be the whole stdout.
function(expect_stdout)
    string(CONCAT exact ${ARGV})
    if(NOT OUT STREQUAL exact)
        message(FATAL_ERROR "stdout:\n${OUT}\nexpected:\n${exact}")
    endif()
endfunction()

function(expect_stderr regex)
    if(NOT ERR MATCHES "${regex}")
        message(FATAL_ERROR "stderr does not match '${regex}':\n${ERR}")
    endif()
endfunction()
