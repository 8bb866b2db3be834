#!/usr/bin/env bash
# Builds everything and runs every test under Wine. Exits non-zero on any failure.
set -euo pipefail

top=$(cd "$(dirname "$0")/.." && pwd)
bash "$top/tools/setup.sh"

build=${HALVERN_BUILD:-$top/build}
jobs=$(nproc)
export CCACHE_DIR=${CCACHE_DIR:-${HALVERN_CACHE:-/var/cache/halvern}/ccache}
# Paths below the checkout are hashed relative to it, so that another clone
# of the same sources (CI's, a worktree) reuses the compiled objects.
export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$top} CCACHE_NOHASHDIR=${CCACHE_NOHASHDIR:-1}

cmake -S "$top" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$top/cmake/toolchain-mingw32.cmake" \
      -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j"$jobs"

wine_work=$(mktemp -d /tmp/halvern-wine.XXXXXX)
. "$top/tools/wine-env.sh"
cleanup() { wine_env_stop; rm -rf "$wine_work"; }
trap cleanup EXIT
wine_env_start

cd "$build"
# A test process that Wine itself loses (a crash in the emulator after the
# test has passed, seen rarely under heavy parallel load) gets one more run;
# a test that fails twice fails the run, and so does a run that finds no
# test at all.
ctest --output-on-failure --no-tests=error -j"$jobs" --timeout 300 --repeat until-pass:2 "$@"
