# The Wine prefix of one test run. ACTION=fresh stops a server still running for an old
# prefix and removes it, so the first program run makes a new one (faster than wineboot
# beforehand); ACTION=remove stops the server and removes the prefix (some 700 MB).
# Takes WINESERVER and PREFIX; WINEPREFIX comes from the test's environment.

if(NOT ACTION MATCHES "^(fresh|remove)$" OR NOT WINESERVER OR NOT PREFIX)
    message(FATAL_ERROR "usage: cmake -DACTION=fresh|remove -DWINESERVER=... -DPREFIX=... -P")
endif()

# Fails when no server runs for the prefix, which is fine either way.
execute_process(COMMAND ${WINESERVER} --kill OUTPUT_QUIET ERROR_QUIET)
file(REMOVE_RECURSE ${PREFIX})
if(EXISTS ${PREFIX})
    message(FATAL_ERROR "could not remove the Wine prefix ${PREFIX}")
endif()
