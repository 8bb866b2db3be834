#!/usr/bin/env bash
# Builds everything and runs every test under Wine. Exits non-zero on any failure.
# Arguments go to ctest, e.g. `bash tools/test.sh -R 'WireReader|TcpLink'`.
set -euo pipefail

top=$(cd "$(dirname "$0")/.." && pwd)
bash "$top/tools/setup.sh"

build=${HALVERN_BUILD:-$top/build}
jobs=$(nproc)
export CCACHE_DIR=${CCACHE_DIR:-${HALVERN_CACHE:-/var/cache/halvern}/ccache}

cmake -S "$top" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$top/cmake/toolchain-mingw32.cmake" \
      -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j"$jobs"

wine_work=$(mktemp -d /tmp/halvern-wine.XXXXXX)
. "$top/tools/wine-env.sh"
cleanup() { wine_env_stop; rm -rf "$wine_work"; }
trap cleanup EXIT
wine_env_start

cd "$build"
bash "$top/tools/ctest-run.sh" -j"$jobs" "$@"
