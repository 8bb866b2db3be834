#!/usr/bin/env bash
# Cross-builds speexdsp and libjpeg-turbo (its jpeg62 API) from Debian's source
# packages into $HALVERN_CACHE/deps/<name>-<version>, once per version.
# The sources are fetched here, never committed.
set -euo pipefail

cache=${HALVERN_CACHE:-/var/cache/halvern}
deps=$cache/deps
mkdir -p "$deps"
here=$(cd "$(dirname "$0")" && pwd)
toolchain=$here/../cmake/toolchain-mingw32.cmake
host=i686-w64-mingw32

have() { ls -d "$deps/$1"-*/.done >/dev/null 2>&1; }

if have speexdsp && have libjpeg-turbo; then
    exit 0
fi

# Two runs at once on one machine: the second waits for the first and then
# finds the libraries built.
exec 9>"$deps/.lock"
flock 9
if have speexdsp && have libjpeg-turbo; then
    exit 0
fi

# Source entries derived from the machine's own binary entries.
src_list=/etc/apt/sources.list.d/halvern-src.sources
if [ ! -f "$src_list" ]; then
    if [ -f /etc/apt/sources.list.d/debian.sources ]; then
        sed 's/^Types: deb$/Types: deb-src/' /etc/apt/sources.list.d/debian.sources > "$src_list"
    elif [ -f /etc/apt/sources.list ]; then
        grep '^deb ' /etc/apt/sources.list | sed 's/^deb /deb-src /' > /etc/apt/sources.list.d/halvern-src.list
        touch "$src_list"
    fi
    apt-get update -qq
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
jobs=$(nproc)

fetch() { # name -> prints the unpacked source folder; fails when it cannot
    local name=$1
    mkdir -p "$work/$name"
    # Package lists that went stale since the source entries were added are
    # refreshed once before giving up.
    if ! (cd "$work/$name" && apt-get source -qq --download-only "$name" >/dev/null 2>&1); then
        apt-get update -qq >&2
        (cd "$work/$name" && apt-get source -qq --download-only "$name" >/dev/null) >&2 || {
            echo "deps: cannot fetch the $name sources" >&2
            return 1
        }
    fi
    (cd "$work/$name" && dpkg-source -x ./*.dsc src >/dev/null 2>&1) || {
        echo "deps: cannot unpack the $name sources" >&2
        return 1
    }
    echo "$work/$name/src"
}

version_of() { # folder of fetched .dsc -> upstream version
    local dsc
    dsc=$(ls "$1"/../*.dsc | head -n 1)
    basename "$dsc" .dsc | sed 's/^[^_]*_//; s/-[^-]*$//'
}

if ! have speexdsp; then
    echo "deps: building speexdsp"
    src=$(fetch speexdsp)
    ver=$(version_of "$src")
    out=$deps/speexdsp-$ver
    rm -rf "$out"
    (cd "$src" && { [ -x configure ] || autoreconf -fi >/dev/null 2>&1; } \
        && ./configure -q --host=$host --prefix="$out" --enable-static --disable-shared \
               --disable-examples CFLAGS="-O2" >/dev/null \
        && make -s -j"$jobs" >/dev/null 2>&1 && make -s install >/dev/null)
    touch "$out/.done"
fi

if ! have libjpeg-turbo; then
    echo "deps: building libjpeg-turbo"
    src=$(fetch libjpeg-turbo)
    ver=$(version_of "$src")
    out=$deps/libjpeg-turbo-$ver
    rm -rf "$out"
    cmake -S "$src" -B "$work/jpeg-build" -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
        -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$out" \
        -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_TURBOJPEG=OFF -DWITH_JPEG8=OFF \
        -DWITH_SIMD=ON -DCMAKE_CROSSCOMPILING_EMULATOR= >/dev/null
    cmake --build "$work/jpeg-build" -j"$jobs" >/dev/null
    cmake --install "$work/jpeg-build" >/dev/null
    touch "$out/.done"
fi
