# run_tool(PREFIX DIRECTORY ARGS...): runs TOOL (under RUNNER when given) with ARGS in
# DIRECTORY and sets PREFIX_output, PREFIX_errors and PREFIX_status.
# Under Wine a program now and then ends at once with status 1 and not a word, before it could
# have written anything (in three of the last six full CI runs, once among some 200 Wine starts
# each). The tool never ends with 1 without saying why, so such a run is started once more, and
# the test's log says so.
function(run_tool prefix directory)
    foreach(attempt first again)
        if(attempt STREQUAL "again")
            if(NOT RUNNER OR NOT status EQUAL 1 OR NOT output STREQUAL "" OR NOT errors STREQUAL "")
                break()
            endif()
            list(JOIN ARGN " " arguments)
            message(NOTICE "${RUNNER} ended ${TOOL} ${arguments} at once with status 1 and no "
                           "output; starting it once more")
        endif()
        execute_process(
            COMMAND ${RUNNER} ${TOOL} ${ARGN}
            WORKING_DIRECTORY ${directory}
            OUTPUT_VARIABLE output
            ERROR_VARIABLE errors
            RESULT_VARIABLE status)
    endforeach()
    set(${prefix}_output "${output}" PARENT_SCOPE)
    set(${prefix}_errors "${errors}" PARENT_SCOPE)
    set(${prefix}_status "${status}" PARENT_SCOPE)
endfunction()
