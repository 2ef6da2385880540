#!/usr/bin/env bash
# Runs a Windows test program of the cross build under wine64: CMake's emulator for the
# Windows build of the unit tests (CMAKE_CROSSCOMPILING_EMULATOR), so that CTest and GoogleTest's
# discovery run them as they run Linux programs.
#   TERVANI_WINE_PREFIX  the prefix, made on first use with Wine's null graphics driver
#   TERVANI_WINE_PATH    where the DLLs the programs import are (Qt's and MinGW's), ";" between
set -euo pipefail
export WINEPREFIX=${TERVANI_WINE_PREFIX:?} WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree,mshtml=" WINEPATH=${TERVANI_WINE_PATH:-}
wine64=/usr/lib/wine/wine64
# Made once, by the first of the programs that may start at the same time.
(
    flock 9
    if [ ! -f "$WINEPREFIX/.tervani-ready" ]; then
        "$wine64" reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null 2>&1
        /usr/lib/wine/wineserver --wait
        touch "$WINEPREFIX/.tervani-ready"
    fi
) 9>"$WINEPREFIX.lock"
# Wine hands Qt's variables to Windows programs only as WINEQT_*; Qt for Windows built without
# FreeType has no offscreen platform, only minimal.
if [ -n "${QT_QPA_PLATFORM:-}" ]; then
    export WINEQT_QPA_PLATFORM=minimal
fi
exec "$wine64" "$@"
