# Runs one golden scenario and compares its transcript (and, for a refused script, its error).
# MODE, when given, is passed to the tool before the script (--com). RUNNER, when given, runs
# the tool (wine64 for the Windows build). The run is recorded too,
# and the recording, replayed against the stand-in in process, must print the same transcript
# but for the step lines and the dump's state lines.

include(${CMAKE_CURRENT_LIST_DIR}/RunTool.cmake)

get_filename_component(dir ${SCRIPT} DIRECTORY)
get_filename_component(name ${SCRIPT} NAME_WE)
get_filename_component(file ${SCRIPT} NAME)
file(MAKE_DIRECTORY ${ACTUAL_DIR})
set(recording ${ACTUAL_DIR}/${name}.recording.scn)
run_tool(run ${dir} ${MODE} --record ${recording} ${file})
set(transcript "${run_output}")
set(errors "${run_errors}")
set(status "${run_status}")
file(READ ${dir}/${name}.out expected)

# A NAME.status holds another exit status than 0, or than 2 for a script with a NAME.err: 1 for
# a check that fails.
set(expected_status 0)
if(EXISTS ${dir}/${name}.err)
    set(expected_status 2)
endif()
if(EXISTS ${dir}/${name}.status)
    file(STRINGS ${dir}/${name}.status expected_status LIMIT_COUNT 1)
endif()
if(EXISTS ${dir}/${name}.err)
    file(READ ${dir}/${name}.err expected_errors)
    string(FIND "${errors}" "${expected_errors}" at)
    if(at EQUAL -1)
        message(FATAL_ERROR "standard error lacks:\n${expected_errors}\ngot:\n${errors}")
    endif()
endif()
if(NOT status EQUAL expected_status)
    message(FATAL_ERROR "exit status ${status}, expected ${expected_status}\n${errors}")
endif()
if(NOT transcript STREQUAL expected)
    file(WRITE ${ACTUAL_DIR}/${name}.actual "${transcript}")
    execute_process(COMMAND diff -u ${dir}/${name}.out ${ACTUAL_DIR}/${name}.actual)
    message(FATAL_ERROR "transcript differs from ${name}.out")
endif()

run_tool(replay ${CMAKE_CURRENT_BINARY_DIR} ${recording})
set(replayed "${replay_output}")
if(NOT replay_status EQUAL 0)
    message(FATAL_ERROR "the recording ${recording} does not run (${replay_status}):\n"
                        "${replay_errors}")
endif()
include(${CMAKE_CURRENT_LIST_DIR}/SessionLines.cmake)
session_lines("${transcript}" live)
session_lines("${replayed}" replay)
if(NOT live STREQUAL replay)
    file(WRITE ${ACTUAL_DIR}/${name}.live "${live}")
    file(WRITE ${ACTUAL_DIR}/${name}.replayed "${replay}")
    execute_process(COMMAND diff -u ${ACTUAL_DIR}/${name}.live ${ACTUAL_DIR}/${name}.replayed)
    message(FATAL_ERROR "the replay of ${recording} differs from the run it recorded")
endif()
