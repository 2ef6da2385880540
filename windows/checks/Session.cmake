# One session of the bench as a person has it, at the keyboard: RUNNER PROGRAM against the
# windowed test double that plays a call (Tervani.TestDoubleLine, registered for 32-bit, so
# in the bundled 32-bit host), driven by KEYS (tervani-keys.exe): a number typed, Alt+W dials,
# Alt+A hangs up and its box is closed with Return, Alt+B ends the program. TRACE, written
# with --trace, must hold the lines of EXPECTED in their order, among others.
file(REMOVE "${TRACE}")
execute_process(
    COMMAND ${RUNNER} "${PROGRAM}" --control Tervani.TestDoubleLine --trace "${TRACE}"
    COMMAND ${RUNNER} "${KEYS}" "Teste ActiveX-Control 2.3" type:0301 key:Alt+W key:Alt+A
            wait:Tervani-Testbench key:Return "wait:Teste ActiveX-Control 2.3" key:Alt+B
    RESULTS_VARIABLE statuses ERROR_VARIABLE errors TIMEOUT 180)
if(NOT statuses STREQUAL "0;0")
    message(FATAL_ERROR "bench and keys ended with ${statuses}\n${errors}")
endif()
if(NOT EXISTS "${TRACE}")
    message(FATAL_ERROR "no trace written\n${errors}")
endif()
file(READ "${TRACE}" trace)
file(STRINGS "${EXPECTED}" expected_lines ENCODING UTF-8)
set(rest "${trace}")
foreach(line IN LISTS expected_lines)
    string(FIND "${rest}" "${line}\n" at)
    if(at EQUAL -1)
        message(FATAL_ERROR "the trace lacks, after what came before:\n${line}\ntrace:\n${trace}")
    endif()
    string(LENGTH "${line}\n" length)
    math(EXPR after "${at} + ${length}")
    string(SUBSTRING "${rest}" ${after} -1 rest)
endforeach()
