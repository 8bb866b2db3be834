#!/usr/bin/env bash
# Builds everything and runs every test under Wine. Exits non-zero on any failure.
# Arguments go to ctest, e.g. `bash tools/test.sh -R 'WireReader|TcpLink'`.
set -euo pipefail

. "$(dirname "$0")/paths.sh"
bash "$top/tools/setup.sh"
build_all

wine_work=$(mktemp -d /tmp/halvern-wine.XXXXXX)
. "$top/tools/wine-env.sh"
cleanup() { wine_env_stop; rm -rf "$wine_work"; }
trap cleanup EXIT
wine_env_start

cd "$build"
bash "$top/tools/ctest-run.sh" -j"$(nproc)" "$@"
