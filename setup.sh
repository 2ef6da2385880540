#!/usr/bin/env bash
# Sets up a Debian 12 machine for the bench and builds it into build/.
#   ./setup.sh run    install what is missing, build, open the bench on the simulated softphone
#   ./setup.sh test   install what is missing, build, run every test through CTest, then build
#                     and run them again under AddressSanitizer and UndefinedBehaviorSanitizer
#                     (preset asan, clang), with a bounded run of each fuzzer
set -euo pipefail
cd "$(dirname "$0")"

packages=(
    cmake ninja-build g++ pkg-config
    qt6-base-dev qt6-base-dev-tools libgl-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    clang-format fonts-liberation
)
# clang with its sanitizer and libFuzzer runtimes, and llvm-symbolizer for readable reports.
test_packages=(xvfb xauth clang libclang-rt-14-dev llvm)

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
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
}

build() {
    cmake -S . -B build -G Ninja
    cmake --build build
}

case "${1:-}" in
run)
    install_missing "${packages[@]}"
    build
    exec build/bin/tervani-testbench
    ;;
test)
    install_missing "${packages[@]}" "${test_packages[@]}"
    build
    ctest --test-dir build --output-on-failure -j "$(nproc)"
    cmake --preset asan
    cmake --build --preset asan
    ctest --preset asan -j "$(nproc)"
    ;;
*)
    echo "usage: $0 run|test" >&2
    exit 2
    ;;
esac
