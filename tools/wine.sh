#!/usr/bin/env bash
# Runs a built program under Wine in the environment the tests and the main
# job use: its own Wine prefix, a virtual display, the zh_CN locale (code
# page 936), one wineserver, a null sound device.
#
#   bash tools/wine.sh <program> [arguments...]   e.g. bash tools/wine.sh bench_transport.exe
#   bash tools/wine.sh --stop                     ends the environment
#
# The program is looked for in the build's bin folder (or given as a path)
# and runs with that folder as its working folder. The environment is made on
# the first call (about 10 s) and kept for the next ones, in
# ${HALVERN_WINE:-/tmp/halvern-wine-<uid>}; --stop removes it.
set -euo pipefail

. "$(dirname "$0")/paths.sh"
. "$top/tools/wine-env.sh"
wine_work=${HALVERN_WINE:-/tmp/halvern-wine-$(id -u)}

# The environment is alive when its virtual display still runs: the process
# it noted is that Xvfb (after a restart of the machine the number may name
# another process) and the display's socket is there. Otherwise programs
# would start without a display, and every window they make would fail.
alive() {
    [ -f "$wine_work/xvfb.pid" ] && [ -s "$wine_work/display" ] && [ -d "$wine_work/prefix" ] &&
        [ "$(ps -o comm= -p "$(cat "$wine_work/xvfb.pid")" 2>/dev/null)" = Xvfb ] &&
        [ -S "/tmp/.X11-unix/X$(tr -d '[:space:]' < "$wine_work/display")" ]
}

if [ "${1:-}" = --stop ]; then
    if [ -d "$wine_work" ]; then
        wine_env_vars
        [ -f "$wine_work/xvfb.pid" ] && xvfb_pid=$(cat "$wine_work/xvfb.pid")
        wine_env_stop
        rm -rf "$wine_work"
    fi
    exit 0
fi
if [ $# -eq 0 ] || [ "$1" = --help ]; then
    sed -n '2,14p' "$0" | sed 's/^# \{0,1\}//'
    exit 2
fi

program=$1
shift
if [ ! -e "$program" ]; then
    [ -e "$build/bin/$program" ] || [ -e "$build/bin/$program.exe" ] || {
        echo "wine.sh: no $program in $build/bin (build first: bash tools/test.sh or bash tools/run.sh)" >&2
        exit 2
    }
    [ -e "$build/bin/$program" ] || program=$program.exe
    program=$build/bin/$program
fi
program=$(cd "$(dirname "$program")" && pwd)/$(basename "$program")

if alive; then
    wine_env_vars
    export DISPLAY=":$(tr -d '[:space:]' < "$wine_work/display")"
    # A wineserver ended meanwhile is started again, persistent.
    wineserver -p >>"$wine_work/wineserver.log" 2>&1 || true
else
    echo "wine.sh: making the Wine environment in $wine_work (once, about 10 s)" >&2
    rm -rf "$wine_work"
    mkdir -p "$wine_work"
    wine_env_start
fi
cd "$(dirname "$program")"
exec wine "$program" "$@"
