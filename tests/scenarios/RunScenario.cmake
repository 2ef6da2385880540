# Runs one golden scenario and compares its transcript (and, for a refused script, its error).
# MODE, when given, is passed to the tool before the script (--com).
get_filename_component(dir ${SCRIPT} DIRECTORY)
get_filename_component(name ${SCRIPT} NAME_WE)
get_filename_component(file ${SCRIPT} NAME)
execute_process(
    COMMAND ${TOOL} ${MODE} ${file}
    WORKING_DIRECTORY ${dir}
    OUTPUT_VARIABLE transcript
    ERROR_VARIABLE errors
    RESULT_VARIABLE status)
file(READ ${dir}/${name}.out expected)

set(expected_status 0)
if(EXISTS ${dir}/${name}.err)
    set(expected_status 2)
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
