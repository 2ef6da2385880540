#!/usr/bin/env bash
# Runs a Windows test program of the cross build under wine64: CMake's emulator for the
# Windows build of the unit tests (CMAKE_CROSSCOMPILING_EMULATOR), so that CTest runs them as
# it runs Linux programs.
#   TERVANI_WINE_PREFIX  the prefix, made beforehand (wine/WinePrefix.cmake, ACTION=fresh)
#   TERVANI_WINE_PATH    where the DLLs the programs import are (Qt's and MinGW's), ";" between
set -euo pipefail
export WINEPREFIX=${TERVANI_WINE_PREFIX:?} WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree,mshtml=" WINEPATH=${TERVANI_WINE_PATH:-}
# Wine hands Qt's variables to Windows programs only as WINEQT_*; Qt for Windows built without
# FreeType has no offscreen platform, only minimal.
if [ -n "${QT_QPA_PLATFORM:-}" ]; then
    export WINEQT_QPA_PLATFORM=minimal
fi
exec /usr/lib/wine/wine64 "$@"
