#!/bin/sh
# Builds the Debian package of TAVORIN V.02.
#
#   scripts/build-deb.sh [build-folder]
#
# The build folder defaults to build-deb in the source tree; it is a Release build of its own
# (no tests, no sanitizers) and is never shared with another build. The package ends up in
# it as tavorin_<version>_<architecture>.deb, and its path is the last line printed.
# It first installs what the build needs and is missing (scripts/install-deps.sh, through sudo
# when not run as root), so it works on a fresh Debian 12 machine. The program is compiled
# with Debian's hardening flags and the package's library dependencies are taken from the
# program itself (dpkg-dev).
set -eu

src=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-"$src/build-deb"}
jobs=${CMAKE_BUILD_PARALLEL_LEVEL:-2}

"$src/scripts/install-deps.sh"

cxxflags=""
ldflags=""
if command -v dpkg-buildflags >/dev/null 2>&1; then
    export DEB_BUILD_MAINT_OPTIONS=hardening=+all
    # Run from the source tree: the file-prefix map in the flags names the current folder.
    cxxflags=$(cd "$src" && dpkg-buildflags --get CPPFLAGS && dpkg-buildflags --get CXXFLAGS)
    # One line: the two outputs joined, the words split on purpose.
    # shellcheck disable=SC2086,SC2116
    cxxflags=$(echo $cxxflags)
    ldflags=$(cd "$src" && dpkg-buildflags --get LDFLAGS)
fi

cmake -S "$src" -B "$build" \
    -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_CXX_FLAGS="$cxxflags" \
    -DCMAKE_EXE_LINKER_FLAGS="$ldflags" \
    -DTAVORIN_TESTS=OFF \
    -DTAVORIN_SANITIZE=OFF
cmake --build "$build" --parallel "$jobs"

rm -f "$build"/tavorin_*.deb
(cd "$build" && cpack -G DEB)

set -- "$build"/tavorin_*.deb
if [ "$#" -ne 1 ] || [ ! -f "$1" ]; then
    echo "build-deb.sh: cpack made no single tavorin_*.deb in $build" >&2
    exit 1
fi
echo "$1"
