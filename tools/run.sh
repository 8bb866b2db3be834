#!/usr/bin/env bash
# The main job: sets up and builds everything, then holds a meeting under
# Wine on a virtual display: the stand-in conference server and two console
# participants who log in, see each other, chat and leave.
#
#   bash tools/run.sh [--port N] [--lang zh|en]
#
#   --port N     the conference server's port (default: 6999, or the next
#                free port below it)
#   --lang L     the interface language: zh (Chinese, the default) or en
set -euo pipefail

. "$(dirname "$0")/paths.sh"

usage() { sed -n '6,10p' "$0" | sed 's/^# \{0,1\}//' >&2; exit 2; }
port="" lang=zh
while [ $# -gt 0 ]; do
    case $1 in
        --port) [ $# -ge 2 ] || usage; port=$2; shift 2 ;;
        --lang) [ $# -ge 2 ] || usage; lang=$2; shift 2 ;;
        -h|--help) usage ;;
        *) echo "run: unknown argument $1" >&2; usage ;;
    esac
done
case $lang in zh|en) ;; *) echo "run: --lang takes zh or en" >&2; usage ;; esac
if [ -n "$port" ] && ! [[ $port =~ ^[0-9]+$ && $port -ge 1 && $port -le 65535 ]]; then
    echo "run: --port takes a number from 1 to 65535" >&2
    usage
fi

# Something answers on the port already.
port_busy() { (exec 3<>"/dev/tcp/127.0.0.1/$1") 2>/dev/null; }
if [ -z "$port" ]; then
    # Above 6999 lie the ports the server names for video, audio and updates.
    for port in 6999 $(seq 6998 -1 6900); do
        port_busy "$port" || break
    done
elif port_busy "$port"; then
    echo "run: port $port is in use; leave out --port to have a free one chosen" >&2
    exit 1
fi

echo "[1/4] Set-up: packages, cross-built libraries, Wine's 32-bit side (quick once done)"
bash "$top/tools/setup.sh"
echo "[2/4] Building into $build (about 3 minutes the first time, seconds after)"
build_all quiet

echo "[3/4] Starting Wine: a throw-away prefix and a virtual display (about 10 s)"
wine_work=$(mktemp -d /tmp/halvern-wine.XXXXXX)
. "$top/tools/wine-env.sh"
cleanup() { wine_env_stop; rm -rf "$wine_work"; }
trap cleanup EXIT
wine_env_start

cd "$build/bin"
echo "[4/4] A meeting on the stand-in conference server, port $port, language $lang (about 20 s)"
server_log=$wine_work/server.log
server_failed() {
    echo "run: $1; the conference server's log:" >&2
    sed 's/^/   server: /' "$server_log" >&2
    exit 1
}
wine ConferenceServer.exe -port "$port" -seconds 120 > "$server_log" 2>&1 &
server=$!
# Wine may take a while to start the server on a loaded machine: wait until
# it says it listens, at most a minute.
for i in $(seq 1 600); do
    grep -q 'listening on port' "$server_log" 2>/dev/null && break
    if ! kill -0 "$server" 2>/dev/null || [ "$i" -eq 600 ]; then
        server_failed "the conference server did not start"
    fi
    sleep 0.1
done
chat="大家好，会议开始了"
[ "$lang" = en ] && chat="Hello everybody, the meeting begins"
status=0
# The host is in the room before alice comes: she waits (at most a minute)
# for his login to show.
wine MeetingDemo.exe -lang "$lang" 127.0.0.1 "$port" host host 1 12 > >(tee "$wine_work/host.log") &
host=$!
for i in $(seq 1 600); do
    grep -q '^\[host\] \(logged in\|已登录\)' "$wine_work/host.log" 2>/dev/null && break
    kill -0 "$host" 2>/dev/null || break
    sleep 0.1
done
wine MeetingDemo.exe -lang "$lang" 127.0.0.1 "$port" alice alice 1 4 "$chat" || status=$?
wait $host || status=$?
kill $server 2>/dev/null || true
wait $server 2>/dev/null || true
[ "$status" -eq 0 ] || server_failed "a participant failed (exit code $status)"
echo "done. Run any built program the same way: bash tools/wine.sh <program> [arguments]"
