#!/usr/bin/env bash
# The main job: builds everything, then runs the system under Wine on a
# virtual display.
set -euo pipefail

top=$(cd "$(dirname "$0")/.." && pwd)
bash "$top/tools/setup.sh"

build=${HALVERN_BUILD:-$top/build}
export CCACHE_DIR=${CCACHE_DIR:-${HALVERN_CACHE:-/var/cache/halvern}/ccache}
cmake -S "$top" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$top/cmake/toolchain-mingw32.cmake" \
      -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j"$(nproc)" >/dev/null

wine_work=$(mktemp -d /tmp/halvern-wine.XXXXXX)
. "$top/tools/wine-env.sh"
cleanup() { wine_env_stop; rm -rf "$wine_work"; }
trap cleanup EXIT
wine_env_start

cd "$build/bin"
port=6999
echo "== A meeting on the stand-in conference server (port $port)"
wine ConferenceServer.exe -port $port -seconds 20 > "$wine_work/server.log" 2>&1 &
server=$!
# Wine may take a while to start the server on a loaded machine: wait until
# its port answers, at most a minute.
for i in $(seq 1 600); do
    (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null && break
    if ! kill -0 "$server" 2>/dev/null || [ "$i" -eq 600 ]; then
        echo "run: the conference server did not start:" >&2
        cat "$wine_work/server.log" >&2
        exit 1
    fi
    sleep 0.1
done
wine MeetingDemo.exe 127.0.0.1 $port host host 1 8 &
host=$!
sleep 2
wine MeetingDemo.exe 127.0.0.1 $port alice alice 1 4 "大家好，会议开始了"
wait $host
kill $server 2>/dev/null || true
wait $server 2>/dev/null || true

echo
echo "== The framed server connection over loopback"
wine bench_transport.exe
