# The Wine prefix of one test run. ACTION=fresh stops a server still running for an old
# prefix, removes it and makes a new one whose graphics driver is Wine's null driver: the
# tests run without a display, and without a driver Wine creates no window at all, while
# hosting the control in place needs real (hidden) windows. ACTION=remove stops the server
# and removes the prefix (some 700 MB).
# Takes WINE64 (fresh only), WINESERVER and PREFIX; WINEPREFIX comes from the test's
# environment.

if(NOT ACTION MATCHES "^(fresh|remove)$" OR NOT WINESERVER OR NOT PREFIX
   OR (ACTION STREQUAL "fresh" AND NOT WINE64))
    message(FATAL_ERROR
        "usage: cmake -DACTION=fresh|remove [-DWINE64=...] -DWINESERVER=... -DPREFIX=... -P")
endif()

# Fails when no server runs for the prefix, which is fine either way.
execute_process(COMMAND ${WINESERVER} --kill OUTPUT_QUIET ERROR_QUIET)
file(REMOVE_RECURSE ${PREFIX})
if(EXISTS ${PREFIX})
    message(FATAL_ERROR "could not remove the Wine prefix ${PREFIX}")
endif()

if(ACTION STREQUAL "fresh")
    execute_process(
        COMMAND ${WINE64} reg add "HKCU\\Software\\Wine\\Drivers" /v Graphics /d null /f
        RESULT_VARIABLE result OUTPUT_QUIET ERROR_QUIET)
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "could not set Wine's null graphics driver in ${PREFIX}")
    endif()
    # The driver is chosen when a session starts: the tests' programs start the next one.
    execute_process(COMMAND ${WINESERVER} --wait)
endif()
