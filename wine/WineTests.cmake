# The Windows side of the bench, checked from the Linux build: the Windows build (windows/:
# the control host, the probe, the test double and the tests) is cross-built with MinGW-w64
# for 64-bit and for 32-bit, the bitness of the real control, and run under Wine (wine64 and
# wine) as the CTest tests labelled "wine".
#
# Part of every Linux build, so a missing tool stops the configure step instead of leaving
# the Windows side unchecked. -DTERVANI_WINE_TESTS=OFF leaves it out on purpose.

if(NOT CMAKE_HOST_UNIX OR WIN32)
    return()
endif()

option(TERVANI_WINE_TESTS "Cross-build the COM adapter with MinGW-w64 and test it under Wine" ON)
if(NOT TERVANI_WINE_TESTS)
    message(STATUS "COM adapter: Windows cross-build and Wine tests switched off")
    return()
endif()

set(TERVANI_GTEST_SOURCE "/usr/src/googletest" CACHE PATH "GoogleTest sources for MinGW")

# wine64 itself, not /usr/bin/wine, which picks a loader by itself.
find_program(TERVANI_WINE64 NAMES wine64 HINTS /usr/lib/wine)
# Wine's 32-bit loader (Debian's wine32:i386): /usr/lib/wine/wine is it only when installed.
find_program(TERVANI_WINE32 NAMES wine PATHS /usr/lib/wine NO_DEFAULT_PATH)
find_program(TERVANI_WINESERVER NAMES wineserver wineserver64 HINTS /usr/lib/wine)
find_program(TERVANI_MINGW64_CXX x86_64-w64-mingw32-g++-posix)
find_program(TERVANI_MINGW32_CXX i686-w64-mingw32-g++-posix)

set(missing "")
foreach(tool IN ITEMS TERVANI_WINE64 TERVANI_WINE32 TERVANI_WINESERVER TERVANI_MINGW64_CXX
                     TERVANI_MINGW32_CXX)
    if(NOT ${tool})
        list(APPEND missing ${tool})
    endif()
endforeach()
if(NOT EXISTS ${TERVANI_GTEST_SOURCE}/CMakeLists.txt)
    list(APPEND missing TERVANI_GTEST_SOURCE)
endif()
if(missing)
    message(FATAL_ERROR
        "The COM adapter's Windows build and Wine tests need: ${missing}.\n"
        "Install the Debian packages wine64 g++-mingw-w64-x86-64 g++-mingw-w64-i686 "
        "mingw-w64-tools googletest and, after dpkg --add-architecture i386, wine32:i386 "
        "(./setup.sh test does all that), or configure with -DTERVANI_WINE_TESTS=OFF.")
endif()

# Some kernels run no 32-bit programs at all (execve answers "Exec format error"). There the
# 32-bit tests cannot say anything about the bench: they are listed as not run, with the reason,
# instead of failing for the machine's sake.
execute_process(COMMAND ${TERVANI_WINE32} --version
    RESULT_VARIABLE wine32_status OUTPUT_QUIET ERROR_VARIABLE wine32_error)
if(wine32_status EQUAL 0)
    set(TERVANI_RUNS_32BIT ON CACHE INTERNAL "Wine's 32-bit loader runs here")
else()
    set(TERVANI_RUNS_32BIT OFF CACHE INTERNAL "Wine's 32-bit loader runs here")
    message(WARNING "This machine cannot run Wine's 32-bit loader ${TERVANI_WINE32} "
                    "(${wine32_status} ${wine32_error}): the 32-bit Wine tests will not run.")
endif()

include(ExternalProject)

set(windows_source ${PROJECT_SOURCE_DIR}/windows)
set(windows_programs ${TERVANI_PROGRAM_DIR})
set(windows_tests ${TERVANI_TEST_PROGRAM_DIR})
set(windows_probe ${windows_programs}/tervani-com-probe.exe)
set(windows_host ${windows_programs}/tervani-host.exe)

ExternalProject_Add(tervani_windows_x86_64
    SOURCE_DIR ${windows_source}
    BINARY_DIR ${PROJECT_BINARY_DIR}/windows-x86_64
    CMAKE_ARGS
        -DCMAKE_TOOLCHAIN_FILE=${windows_source}/toolchains/x86_64-w64-mingw32.cmake
        -DCMAKE_RUNTIME_OUTPUT_DIRECTORY=${windows_programs}
        -DTERVANI_TEST_OUTPUT_DIRECTORY=${windows_tests}
        -DTERVANI_GTEST_SOURCE=${TERVANI_GTEST_SOURCE}
        -DTERVANI_TESTS=ON
    BUILD_COMMAND ${CMAKE_COMMAND} --build <BINARY_DIR> --parallel 2
    BUILD_ALWAYS ON
    BUILD_BYPRODUCTS ${windows_probe} ${windows_host}
                     ${windows_tests}/com_adapter_test.exe ${windows_tests}/host_session_test.exe
                     ${windows_tests}/foreign_controls_test.exe ${windows_tests}/TervaniDouble.dll
    INSTALL_COMMAND ""
)

# After the 64-bit build, so the two never compete for the cores. The 32-bit side is the
# users' case (the real control is a 32-bit control, hosted by the 32-bit host): the same
# programs, double and tests, run under Wine's 32-bit loader.
set(windows_host_32 ${windows_programs}/i686/tervani-host.exe)
ExternalProject_Add(tervani_windows_i686
    SOURCE_DIR ${windows_source}
    BINARY_DIR ${PROJECT_BINARY_DIR}/windows-i686
    CMAKE_ARGS
        -DCMAKE_TOOLCHAIN_FILE=${windows_source}/toolchains/i686-w64-mingw32.cmake
        -DCMAKE_RUNTIME_OUTPUT_DIRECTORY=${windows_programs}/i686
        -DTERVANI_TEST_OUTPUT_DIRECTORY=${windows_tests}/i686
        -DTERVANI_GTEST_SOURCE=${TERVANI_GTEST_SOURCE}
        -DTERVANI_TESTS=ON
    BUILD_COMMAND ${CMAKE_COMMAND} --build <BINARY_DIR> --parallel 2
    BUILD_ALWAYS ON
    BUILD_BYPRODUCTS ${windows_host_32} ${windows_programs}/i686/tervani-com-probe.exe
                     ${windows_tests}/i686/com_adapter_test.exe
                     ${windows_tests}/i686/host_session_test.exe
                     ${windows_tests}/i686/foreign_controls_test.exe
                     ${windows_tests}/i686/TervaniDouble.dll
    INSTALL_COMMAND ""
    DEPENDS tervani_windows_x86_64
)

# One fresh prefix per test run: made before the first Wine test (with the null graphics
# driver, see WinePrefix.cmake), removed after the last. Wine tests share it one at a time.
set(wine_prefix ${PROJECT_BINARY_DIR}/wine-prefix)
set(wine_environment
    WINEPREFIX=${wine_prefix}
    WINEARCH=win64
    WINEDEBUG=-all
    "WINEDLLOVERRIDES=mscoree,mshtml="
    LC_ALL=C
)
set(wine_without_display "DISPLAY=unset:" "WAYLAND_DISPLAY=unset:")
set(wine_prefix_script ${CMAKE_CURRENT_LIST_DIR}/WinePrefix.cmake)

add_test(NAME wine_prefix_fresh
    COMMAND ${CMAKE_COMMAND} -DACTION=fresh -DWINE64=${TERVANI_WINE64}
            -DWINESERVER=${TERVANI_WINESERVER}
            -DPREFIX=${wine_prefix} -P ${wine_prefix_script})
add_test(NAME wine_com_adapter COMMAND ${TERVANI_WINE64} ${windows_tests}/com_adapter_test.exe)
add_test(NAME wine_com_adapter_32
         COMMAND ${TERVANI_WINE32} ${windows_tests}/i686/com_adapter_test.exe)
add_test(NAME wine_host_session COMMAND ${TERVANI_WINE64} ${windows_tests}/host_session_test.exe)
add_test(NAME wine_host_session_32
         COMMAND ${TERVANI_WINE32} ${windows_tests}/i686/host_session_test.exe)
# The real control is not registered here: the program must refuse it by name and reason.
add_test(NAME wine_com_probe_unregistered COMMAND ${TERVANI_WINE64} ${windows_probe})
# The host program likewise, after making its window.
add_test(NAME wine_host_unregistered COMMAND ${TERVANI_WINE64} ${windows_host})
add_test(NAME wine_host_unregistered_32 COMMAND ${TERVANI_WINE32} ${windows_host_32})
# Controls Wine ships (WebBrowser, Windows Media Player, Script Control) in the adapter's
# container, with a sink of the test's own at their connection points.
add_test(NAME wine_foreign_controls
         COMMAND ${TERVANI_WINE64} ${windows_tests}/foreign_controls_test.exe)
add_test(NAME wine_foreign_controls_32
         COMMAND ${TERVANI_WINE32} ${windows_tests}/i686/foreign_controls_test.exe)
# The Windows programs keep the bench's command-line conventions too.
set(wine_cli_tests)
foreach(program host com_probe)
    set(path ${windows_host})
    set(name tervani-host)
    if(program STREQUAL com_probe)
        set(path ${windows_probe})
        set(name tervani-com-probe)
    endif()
    foreach(case help version unknown_option)
        set(option --${case})
        set(status 0)
        set(stream STDOUT)
        set(expected "^usage: ${name} ")
        if(case STREQUAL version)
            set(expected "^${name} ${PROJECT_VERSION}$")
        elseif(case STREQUAL unknown_option)
            set(option --bogus)
            set(status 2)
            set(stream STDERR)
            set(expected "^${name}: cannot take \"--bogus\"\nusage: ${name} ")
        endif()
        add_test(NAME wine_${program}_cli_${case}
            COMMAND ${CMAKE_COMMAND} "-DCOMMAND=${TERVANI_WINE64}|${path}|${option}"
                    -DSTATUS=${status} "-D${stream}=${expected}"
                    -P ${PROJECT_SOURCE_DIR}/tests/CheckCommand.cmake)
        list(APPEND wine_cli_tests wine_${program}_cli_${case})
    endforeach()
endforeach()
add_test(NAME wine_prefix_remove
    COMMAND ${CMAKE_COMMAND} -DACTION=remove -DWINESERVER=${TERVANI_WINESERVER}
            -DPREFIX=${wine_prefix} -P ${wine_prefix_script})

if(NOT TERVANI_RUNS_32BIT)
    set_tests_properties(wine_com_adapter_32 wine_host_session_32 wine_host_unregistered_32
                         wine_foreign_controls_32 PROPERTIES DISABLED TRUE)
endif()
set_tests_properties(wine_prefix_fresh wine_com_adapter wine_com_adapter_32 wine_host_session
                     wine_host_session_32 ${wine_cli_tests}
                     wine_com_probe_unregistered wine_host_unregistered
                     wine_host_unregistered_32 wine_foreign_controls wine_foreign_controls_32
                     wine_prefix_remove PROPERTIES
    LABELS wine
    ENVIRONMENT "${wine_environment}"
    ENVIRONMENT_MODIFICATION "${wine_without_display}"
    RESOURCE_LOCK wine_prefix
    TIMEOUT 120
)
# The host's tests put a folder with an umlaut on the disk, which Wine does only in a UTF-8
# locale.
set(wine_utf8_environment ${wine_environment})
list(TRANSFORM wine_utf8_environment REPLACE "^LC_ALL=C$" "LC_ALL=C.UTF-8")
set_tests_properties(wine_host_session wine_host_session_32 PROPERTIES
    ENVIRONMENT "${wine_utf8_environment}")
set_tests_properties(wine_prefix_fresh PROPERTIES FIXTURES_SETUP wine_prefix)
set_tests_properties(wine_com_adapter wine_com_adapter_32 wine_host_session wine_host_session_32
                     wine_com_probe_unregistered ${wine_cli_tests}
                     wine_host_unregistered wine_host_unregistered_32 wine_foreign_controls
                     wine_foreign_controls_32 PROPERTIES FIXTURES_REQUIRED wine_prefix)
set_tests_properties(wine_com_probe_unregistered PROPERTIES
    PASS_REGULAR_EXPRESSION "Das Steuerelement „TervaniActiveX.axTervani“ konnte nicht erstellt werden.\nFehler 0x800401F3")
set_tests_properties(wine_host_unregistered PROPERTIES
    PASS_REGULAR_EXPRESSION "64-Bit-Host, Steuerelement „TervaniActiveX.axTervani“\nDas Steuerelement „TervaniActiveX.axTervani“ konnte nicht erstellt werden.\nFehler 0x800401F3")
set_tests_properties(wine_host_unregistered_32 PROPERTIES
    PASS_REGULAR_EXPRESSION "32-Bit-Host, Steuerelement „TervaniActiveX.axTervani“\nDas Steuerelement „TervaniActiveX.axTervani“ konnte nicht erstellt werden.\nFehler 0x800401F3")
set_tests_properties(wine_prefix_remove PROPERTIES FIXTURES_CLEANUP wine_prefix)

# What the bench's own tests need to run it against the host under Wine: the loader and the
# server for the prefix the scenario tool prepares beside the build.
set(TERVANI_WINE_READY ON)
set(TERVANI_SCENARIO_WINE_PREFIX ${PROJECT_BINARY_DIR}/scenario-wine)
