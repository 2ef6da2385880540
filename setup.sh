#!/usr/bin/env bash
# Sets up a Debian 12 machine for the bench and builds it into build/.
#   ./setup.sh run    install what is missing, build, open the bench on the simulated softphone
#   ./setup.sh test   install what is missing, build, run every test through CTest, build the
#                     Windows zip and run it under Wine (windows/checks), then build and run
#                     the tests again under AddressSanitizer and UndefinedBehaviorSanitizer
#                     (preset asan, clang), with a bounded run of each fuzzer
#   ./setup.sh windows  build the bench for Windows into build-windows/ and zip it
set -euo pipefail
cd "$(dirname "$0")"

packages=(
    cmake ninja-build g++ pkg-config
    qt6-base-dev qt6-base-dev-tools libgl-dev qt6-translations-l10n
    fonts-liberation
)
# The tests need GoogleTest and clang-format (the formatting law), drive the window under Xvfb
# with input events through the X server (XTEST), read it through AT-SPI as a screen reader
# does, cross-build the Windows adapter and run its tests under Wine, and build everything
# again with clang's sanitizers and libFuzzer (llvm-symbolizer reads their reports). The
# scenario tool's JUnit reports are read by a real JUnit consumer (junitparser).
test_packages=(
    libgtest-dev libgmock-dev libbenchmark-dev clang-format python3-junitparser
    xvfb xauth libxtst-dev at-spi2-core dbus python3-pyatspi
    wine64 g++-mingw-w64-x86-64 g++-mingw-w64-i686 mingw-w64-tools googletest
    clang libclang-rt-14-dev llvm
)

install_missing() {
    local missing=()
    for package in "$@"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" \
            || missing+=("$package")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    local sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo apt-get update
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y "${missing[@]}"
}

build() {
    cmake -S . -B build -G Ninja "$@"
    cmake --build build
}

# Wine's 32-bit loader, for the 32-bit control host that users run beside the real control.
install_wine32() {
    dpkg-query -W -f='${Status}' wine32:i386 2>/dev/null | grep -q "install ok installed" && return 0
    local sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo dpkg --add-architecture i386
    $sudo apt-get update
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y wine32:i386
}

# The bench for 64-bit Windows, cross-built here with MinGW-w64 against a Qt built from
# Debian's source (cached outside the checkout), and the control hosts for both bitnesses;
# everything a Windows machine needs in one zip, written to build-windows/.
windows_bundle() {
    install_missing "${packages[@]}" g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix \
        binutils-mingw-w64-x86-64 zip
    qt=$(windows/build-qt.sh | tail -n 1)
    cmake -S . -B build-windows/x86_64 -G Ninja -DTERVANI_TESTS=OFF \
        -DCMAKE_TOOLCHAIN_FILE="$qt/lib/cmake/Qt6/qt.toolchain.cmake" \
        -DQT_CHAINLOAD_TOOLCHAIN_FILE="$PWD/windows/toolchains/x86_64-w64-mingw32.cmake"
    cmake --build build-windows/x86_64
    for bits in x86_64 i686; do
        cmake -S windows -B "build-windows/hosts-$bits" -G Ninja -DTERVANI_TESTS=OFF \
            -DCMAKE_TOOLCHAIN_FILE="$PWD/windows/toolchains/$bits-w64-mingw32.cmake"
        cmake --build "build-windows/hosts-$bits"
    done
    version=$(sed -n 's/^project(TervaniBench VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
    bundle_zip=$PWD/build-windows/tervani-testbench-$version-windows-x64.zip
    windows/bundle.sh "$qt" "build-windows/tervani-testbench-$version-windows-x64" "$bundle_zip" \
        build-windows/x86_64/bin/tervani-testbench.exe \
        build-windows/x86_64/bin/tervani-scenario.exe \
        build-windows/hosts-i686/bin/tervani-host.exe \
        build-windows/hosts-i686/bin/tervani-com-probe.exe \
        build-windows/hosts-x86_64/bin/tervani-host.exe=tervani-host-x64.exe \
        build-windows/hosts-x86_64/bin/tervani-com-probe.exe=tervani-com-probe-x64.exe \
        windows/LIESMICH.txt windows/README.txt \
        examples/outgoing_call.scn=Beispiele/outgoing_call.scn \
        examples/incoming_call.scn=Beispiele/incoming_call.scn \
        examples/sms_and_conversion.scn=Beispiele/sms_and_conversion.scn
}

# The window's and the handlers' unit tests built for 64-bit Windows against that Qt and run
# under wine64 (windows/run-under-wine.sh is CMake's emulator for them).
windows_unit_tests() {
    export TERVANI_WINE_PREFIX=$PWD/build-windows/tests/wine-prefix
    local runtime
    runtime=$(echo /usr/lib/gcc/x86_64-w64-mingw32/*-posix)
    # Qt's DLLs and MinGW's runtime (libstdc++, libgcc; libwinpthread), as Wine names them
    # (drive Z: is /).
    export TERVANI_WINE_PATH="Z:${qt//\//\\}\\bin;Z:${runtime//\//\\};Z:\\usr\\x86_64-w64-mingw32\\lib"
    local prefix_step=(-DWINE64=/usr/lib/wine/wine64 -DWINESERVER=/usr/lib/wine/wineserver
        -DPREFIX="$TERVANI_WINE_PREFIX" -P wine/WinePrefix.cmake)
    cmake -S . -B build-windows/tests -G Ninja -DTERVANI_TESTS=ON -DTERVANI_BENCHMARKS=OFF \
        -DCMAKE_TOOLCHAIN_FILE="$qt/lib/cmake/Qt6/qt.toolchain.cmake" \
        -DQT_CHAINLOAD_TOOLCHAIN_FILE="$PWD/windows/toolchains/x86_64-w64-mingw32.cmake" \
        -DCMAKE_CROSSCOMPILING_EMULATOR="$PWD/windows/run-under-wine.sh"
    cmake --build build-windows/tests
    WINEPREFIX=$TERVANI_WINE_PREFIX cmake -DACTION=fresh "${prefix_step[@]}"
    # The prefix's server keeps running until the prefix is removed, tests failed or not.
    local status=0
    ctest --test-dir build-windows/tests --output-on-failure -j "$(nproc)" || status=$?
    WINEPREFIX=$TERVANI_WINE_PREFIX cmake -DACTION=remove "${prefix_step[@]}"
    return "$status"
}

case "${1:-}" in
run)
    install_missing "${packages[@]}"
    build -DTERVANI_WINE_TESTS=OFF -DTERVANI_TESTS=OFF
    exec build/bin/tervani-testbench
    ;;
test)
    install_missing "${packages[@]}" "${test_packages[@]}"
    install_wine32
    build -DTERVANI_WINE_TESTS=ON -DTERVANI_TESTS=ON
    ctest --test-dir build --output-on-failure -j "$(nproc)"
    # The Windows zip, unpacked and run under Wine as a user meets it.
    windows_bundle
    cmake -S windows/checks -B build-windows/checks -DBUNDLE="$bundle_zip" \
        -DTEST_PROGRAMS="$PWD/build/test-bin"
    ctest --test-dir build-windows/checks --output-on-failure -j "$(nproc)"
    windows_unit_tests
    cmake --preset asan
    cmake --build --preset asan
    ctest --preset asan -j "$(nproc)"
    ;;
windows)
    windows_bundle
    ;;
*)
    echo "usage: $0 run|test|windows" >&2
    exit 2
    ;;
esac
