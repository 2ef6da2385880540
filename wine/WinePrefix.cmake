# The Wine prefix of one test run. ACTION=fresh stops a server still running for an old
# prefix, removes it and makes a new one whose graphics driver is Wine's null driver: the
# tests run without a display, and without a driver Wine creates no window at all, while
# hosting the control in place needs real (hidden) windows. ACTION=serve is the last part of
# fresh alone, for a prefix made otherwise. ACTION=remove stops the server and removes the
# prefix (some 700 MB).
# A fresh or served prefix keeps one persistent server, and Wine's own programs, until it is
# removed. Wine's default server ends with the last program and takes its own with it; a
# program started during that teardown can die at once with status 1 and no word on standard
# error. And the programs a session starts keep the standard error of the program that started
# them, so a test capturing that output would wait for the session's end.
# Takes WINE64 (fresh and serve), WINESERVER and PREFIX; WINEPREFIX comes from the test's
# environment.

if(NOT ACTION MATCHES "^(fresh|serve|remove)$" OR NOT WINESERVER OR NOT PREFIX
   OR (NOT ACTION STREQUAL "remove" AND NOT WINE64))
    message(FATAL_ERROR "usage: cmake -DACTION=fresh|serve|remove [-DWINE64=...] "
                        "-DWINESERVER=... -DPREFIX=... -P")
endif()

if(NOT ACTION STREQUAL "serve")
    # Fails when no server runs for the prefix, which is fine either way.
    execute_process(COMMAND ${WINESERVER} --kill OUTPUT_QUIET ERROR_QUIET)
    file(REMOVE_RECURSE ${PREFIX})
    if(EXISTS ${PREFIX})
        message(FATAL_ERROR "could not remove the Wine prefix ${PREFIX}")
    endif()
endif()

if(ACTION STREQUAL "fresh")
    execute_process(
        COMMAND ${WINE64} reg add "HKCU\\Software\\Wine\\Drivers" /v Graphics /d null /f
        RESULT_VARIABLE result OUTPUT_QUIET ERROR_QUIET)
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "could not set Wine's null graphics driver in ${PREFIX}")
    endif()
endif()

if(NOT ACTION STREQUAL "remove")
    # The server of the last session ends first: the driver is chosen when one starts.
    execute_process(COMMAND ${WINESERVER} --wait)
    # The server puts itself in the background; without pipes nothing here waits for it, nor
    # for the programs the session starts.
    set(detached INPUT_FILE /dev/null OUTPUT_FILE /dev/null ERROR_FILE /dev/null)
    execute_process(COMMAND ${WINESERVER} --persistent ${detached} RESULT_VARIABLE result)
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "could not start a persistent Wine server for ${PREFIX}")
    endif()
    execute_process(COMMAND ${WINE64} cmd /c exit 0 ${detached} RESULT_VARIABLE result)
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "could not start a Wine session in ${PREFIX}")
    endif()
endif()
