# Runs a script live with the scenario tool and checks what a tester relies on:
# - the exit status, and standard error against a regular expression;
# - the JUnit report (CASES: "|"-separated LINE:OUTCOME), read by a real JUnit consumer;
# - the trace, which must hold the transcript's lines but the step lines and the checks' own,
#   and, where given, the comments TRACE_NOTES (a regular expression) before them;
# - the recording, which replayed offline must print the transcript again, but for those.
# TOOL, ARGS ("|"-separated, before the script), SCRIPT, STATUS, STDERR, CASES, PYTHON, OUT (a
# folder for the files); RUNNER, where given, runs the tool (wine64 for the Windows zip's).
string(REPLACE "|" ";" arguments "${ARGS}")
get_filename_component(name ${SCRIPT} NAME_WE)
set(base ${OUT}/${name})
file(MAKE_DIRECTORY ${OUT})
file(REMOVE ${base}.xml ${base}.trace ${base}.recording.scn)
include(${CMAKE_CURRENT_LIST_DIR}/../RunTool.cmake)
run_tool(run ${CMAKE_CURRENT_BINARY_DIR} ${arguments} --junit ${base}.xml --trace ${base}.trace
         --record ${base}.recording.scn ${SCRIPT})
set(status "${run_status}")
set(transcript "${run_output}")
set(err "${run_errors}")
if(NOT status STREQUAL STATUS)
    message(FATAL_ERROR "exit status ${status}, expected ${STATUS}\n"
                        "stdout:\n${transcript}\nstderr:\n${err}")
endif()
if(DEFINED STDERR AND NOT err MATCHES "${STDERR}")
    message(FATAL_ERROR "standard error does not match ${STDERR}:\n${err}")
endif()

if(DEFINED CASES)
    string(REPLACE "|" ";" cases "${CASES}")
    execute_process(COMMAND ${PYTHON} ${CMAKE_CURRENT_LIST_DIR}/CheckJUnit.py ${base}.xml
                            ${name} ${cases}
                    RESULT_VARIABLE checked ERROR_VARIABLE problem)
    if(NOT checked EQUAL 0)
        file(READ ${base}.xml written)
        message(FATAL_ERROR "${problem}\n${written}")
    endif()
endif()

include(${CMAKE_CURRENT_LIST_DIR}/../SessionLines.cmake)
session_lines("${transcript}" live)
if(live STREQUAL "")
    message(FATAL_ERROR "the run printed no line of its session")
endif()

file(READ ${base}.trace traced)
# Before the session, the host's check of the control against the contract, as comments.
if(DEFINED TRACE_NOTES AND NOT traced MATCHES "${TRACE_NOTES}")
    message(FATAL_ERROR "the trace lacks ${TRACE_NOTES}:\n${traced}")
endif()
string(REGEX REPLACE "(^|\n)# [^\n]*" "\\1" traced "${traced}")
string(REGEX REPLACE "\n\n+" "\n" traced "${traced}")
string(REGEX REPLACE "^\n" "" traced "${traced}")
if(NOT traced STREQUAL live)
    file(WRITE ${base}.live "${live}")
    execute_process(COMMAND diff -u ${base}.live ${base}.trace)
    message(FATAL_ERROR "the trace differs from the run's transcript")
endif()

run_tool(replay ${CMAKE_CURRENT_BINARY_DIR} ${base}.recording.scn)
if(NOT replay_status EQUAL 0)
    message(FATAL_ERROR "the recording does not run (${replay_status}):\n${replay_errors}")
endif()
session_lines("${replay_output}" again)
if(NOT again STREQUAL live)
    file(WRITE ${base}.live "${live}")
    file(WRITE ${base}.replayed "${again}")
    execute_process(COMMAND diff -u ${base}.live ${base}.replayed)
    message(FATAL_ERROR "the replay of the recording differs from the live run")
endif()
