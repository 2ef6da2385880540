#!/usr/bin/env bash
# Builds the Qt the bench needs on 64-bit Windows from Debian's own qt6-base source package with
# MinGW-w64, and installs it into a cache outside the checkout. Nothing prebuilt is downloaded:
# the source comes from Debian's archive (checked by apt and dpkg-source, Debian's patches
# applied), the compilers and Qt's host tools from Debian's packages. The cache is named after
# the package version and the configure line, so it is built again only when either changes.
#
#   windows/build-qt.sh [CACHE_ROOT]     (default: ~/.cache/tervani)
#
# Prints the install folder on its last line. Needs root or sudo for the packages and the
# deb-src line it adds.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cache_root=${1:-${XDG_CACHE_HOME:-$HOME/.cache}/tervani}

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"

# Qt's host tools (moc, uic, rcc) come from the installed qt6-base-dev, so the source must be
# of the very same version.
packages=(dpkg-dev cmake ninja-build g++-mingw-w64-x86-64-posix qt6-base-dev qt6-base-dev-tools)
missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" \
        || missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
    $sudo apt-get update
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y "${missing[@]}"
fi
version=$(dpkg-query -W -f='${Version}' qt6-base-dev)
upstream=${version%%+*}

# The smallest Qt for the bench: Core, Gui, Widgets, Test, the windows platform plugin and the
# native styles. Debian's source lacks src/3rdparty/wintab (no tablet events), and 6.4.2 does
# not link the windows plugin with DirectWrite 3 but without Direct2D (both off).
configure=(
    -release -shared -xplatform win32-g++ -qt-host-path /usr
    -nomake examples -nomake tests -nomake benchmarks
    -no-opengl -no-dbus -no-feature-network -no-feature-sql -no-feature-printsupport
    -no-feature-concurrent -no-feature-xml -no-feature-vulkan -no-feature-tabletevent
    -no-feature-direct2d -no-feature-directwrite3
    -qt-zlib -qt-pcre -qt-doubleconversion -qt-harfbuzz -no-freetype -qt-libpng -no-libjpeg
)
toolchain=$root/windows/toolchains/x86_64-w64-mingw32.cmake
hash=$( (echo "$version"; printf '%s\n' "${configure[@]}"; cat "$toolchain") \
    | sha256sum | cut -c1-12)
prefix=$cache_root/qt-$upstream-x86_64-w64-mingw32-$hash
if [ -f "$prefix/.tervani-complete" ]; then
    echo "Qt for Windows is cached:" >&2
    echo "$prefix"
    exit 0
fi

# Debian's source package: a deb-src line for the suites the machine already uses.
if ! apt-get source --print-uris "qt6-base=$version" >/dev/null 2>&1; then
    sources=/etc/apt/sources.list.d/tervani-deb-src.sources
    suites=$(. /etc/os-release && echo "$VERSION_CODENAME $VERSION_CODENAME-updates")
    printf 'Types: deb-src\nURIs: http://deb.debian.org/debian\nSuites: %s\nComponents: main\nSigned-By: /usr/share/keyrings/debian-archive-keyring.gpg\n' \
        "$suites" | $sudo tee "$sources" >/dev/null
    $sudo apt-get update
fi

work=$(mktemp -d "${TMPDIR:-/tmp}/tervani-qt.XXXXXX")
trap 'rm -rf "$work"' EXIT
(cd "$work" && apt-get source "qt6-base=$version")
source_dir=$(find "$work" -mindepth 1 -maxdepth 1 -type d -name 'qt6-base-*')

rm -rf "$prefix"
mkdir -p "$work/build"
cd "$work/build"
"$source_dir/configure" -prefix "$prefix" "${configure[@]}" -- \
    -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake
cmake --build . --parallel "$(nproc)"
cmake --install .
# Qt's licence and where its source comes from, for the bundle.
mkdir -p "$prefix/share/tervani"
cp "$source_dir/LICENSES/LGPL-3.0-only.txt" "$source_dir/LICENSES/GPL-3.0-only.txt" \
    "$prefix/share/tervani/"
echo "Debian source package qt6-base $version ($(apt-get source --print-uris "qt6-base=$version" | grep -o "'[^']*\.dsc'" | tr -d "'"))" \
    >"$prefix/share/tervani/qt-source.txt"
touch "$prefix/.tervani-complete"
echo "$prefix"
