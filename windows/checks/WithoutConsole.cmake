# PROGRAM --version started as from Explorer (Wine's start: no console, no standard handles)
# must show its text in a box titled TITLE, wait there, and end with 0 once KEYS closes the box
# with Return.
execute_process(
    COMMAND ${RUNNER} start /wait /unix "${PROGRAM}" --version
    COMMAND ${RUNNER} "${KEYS}" "${TITLE}" key:Return
    RESULTS_VARIABLE statuses ERROR_VARIABLE errors TIMEOUT 120)
if(NOT statuses STREQUAL "0;0")
    message(FATAL_ERROR "program and keys ended with ${statuses}\n${errors}")
endif()
