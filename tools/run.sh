#!/usr/bin/env bash
# The main job: sets up and builds everything, installs the client into a
# throw-away Wine prefix, then holds a meeting on a virtual display: the
# stand-in conference server, two Halvern clients, "host" and "alice", and
# a Quillet client, "carol", who log in directly from their command lines,
# see each other in their participants lists and broadcast their cameras,
# so that each wall shows the others' pictures and his own; a console
# participant says a chat line to the room, which every chat pane shows. A
# picture of each client's main window is saved under the build folder.
# Then the host takes the meeting control and draws on the shared
# whiteboard; each client's whiteboard page must show the drawing (read back
# off the screen), and a second picture of each main window shows it there.
#
#   bash tools/run.sh [--port N] [--lang zh|en]
#
#   --port N     the conference server's port (default: 6999, or the next
#                free port below it)
#   --lang L     the interface language: zh (Chinese, the default) or en
set -euo pipefail

. "$(dirname "$0")/paths.sh"

usage() { sed -n '11,15p' "$0" | sed 's/^# \{0,1\}//' >&2; exit 2; }
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

echo "[1/5] Set-up: packages, cross-built libraries, Wine's 32-bit side (quick once done)"
bash "$top/tools/setup.sh"
echo "[2/5] Building into $build (about 3 minutes the first time, seconds after)"
build_all quiet

echo "[3/5] Starting Wine: a throw-away prefix and a virtual display (about 10 s)"
wine_work=$(mktemp -d /tmp/halvern-wine.XXXXXX)
. "$top/tools/wine-env.sh"
# The logs of the server, the clients and the console participant are kept
# in $build/run-logs for a look after the run.
logs=$build/run-logs
cleanup() {
    rm -rf "$logs" && mkdir -p "$logs" && cp "$wine_work"/*.log "$logs"/ 2>/dev/null
    wine_env_stop
    rm -rf "$wine_work"
}
trap cleanup EXIT
wine_env_start

echo "[4/5] Installing the client into the prefix"
install_out=$(bash "$top/tools/install.sh")
program_win=$(printf '%s\n' "$install_out" | sed -n 1p)
program_dir=$(printf '%s\n' "$install_out" | sed -n 2p)
if [ -z "$program_dir" ] || [ ! -f "$program_dir/Halvern.exe" ]; then
    echo "run: the client was not installed:" >&2
    printf '%s\n' "$install_out" >&2
    exit 1
fi
# The client's server port and interface language.
code_page=936
[ "$lang" = en ] && code_page=1252
sed -i -e "s/^ServerPort=.*/ServerPort=$port\r/" -e "s/^Language=.*/Language=$code_page\r/" \
    "$program_dir/Dorvane.ini"

# A client writes its settings into the folder it runs from: the clients run
# from the installed copy, and the build folder must hold no settings file
# of theirs afterwards (the next install would not take it, but a test
# started from the build folder would find it).
build_settings=$build/bin/Dorvane.ini
settings_stamp() { stat -c '%y %s' "$build_settings" 2>/dev/null || echo none; }
settings_before=$(settings_stamp)

cd "$build/bin"
shots=$build/screenshots
mkdir -p "$shots"
rm -f "$shots"/*.bmp
echo "[5/5] A meeting on the stand-in conference server, port $port, language $lang, then a shared whiteboard (about 3 minutes)"
server_log=$wine_work/server.log
server_failed() {
    echo "run: $1; the conference server's log:" >&2
    sed 's/^/   server: /' "$server_log" >&2
    exit 1
}
wine ConferenceServer.exe -port "$port" -seconds 600 > "$server_log" 2>&1 &
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

# Each client is started by WindowShot, which waits (at most four minutes)
# until the client's title counts the participants it expects and its own
# camera shows (the own video window's camera button, 2054, is enabled),
# clicks its "广播视频" button (2050), and saves a picture of the main window
# once the script says so, leaving the client running. The host comes first,
# then alice, then carol with the earlier edition Quillet. The meeting is in
# the free room, where every participant may broadcast and the meeting
# control is granted at once. Then each shows its whiteboard page: the host
# takes the meeting control and draws a thick red line and a blue filled
# ellipse; each waits (at most two minutes) until its page shows both, and
# a second picture of the main window is saved.
room="自由讨论室" room_id=2
# Wine has no sound devices here: the stand-in audio manager gives the
# clients its own microphone (a tone) and speaker, so that they talk and
# their audio settings start without a failure box.
export KADREL_TEST_TONE=440,8000
# (Unix paths reach the Windows programs through drive Z:, the root.) The
# client's program is named with the installed folder: a bare name would be
# looked for in WindowShot's own folder, the build's, first.
drawn=Z:$wine_work/drawn
client() { # user, log file, program, participants counted in the title, whiteboard role, its other arguments
    (cd "$program_dir" && wine "$build/bin/WindowShot.exe" -out "Z:$shots/$1.bmp" -title "参与人数$4" -wait 240 \
        -settle 3000 -shown "Halvern--" "Z:$wine_work/$1.shown" -after 2054 -click 2050 -ready "Z:$wine_work/$1.ready" \
        -when "Z:$wine_work/$1.go" -board "Z:$shots/$1-whiteboard.bmp" "$5" "$drawn" "${@:6}" \
        -- "$program_win$3" 127.0.0.1 "$room" "$room_id" "$1" "$1") \
        > "$2" 2>&1
}
# Waits (at most two minutes) for a file, or for the process to end.
wait_file() { # file, process
    for i in $(seq 1 1200); do
        [ -f "$1" ] && return 0
        kill -0 "$2" 2>/dev/null || return 1
        sleep 0.1
    done
    return 1
}
# The host draws once the others' pictures of the meeting are taken.
client host "$wine_work/host.log" Halvern.exe 2 -draw -board-when "Z:$shots/alice.bmp" -board-when "Z:$shots/carol.bmp" &
host=$!
# The host is in the room (his window is up) before alice comes, and she
# before carol.
wait_file "$wine_work/host.shown" $host || true
client alice "$wine_work/alice.log" Halvern.exe 2 -drawn &
alice=$!
wait_file "$wine_work/alice.shown" $alice || true
client carol "$wine_work/carol.log" Quillet.exe 3 -drawn &
carol=$!
# All see each other and broadcast; then the console participant joins
# and speaks to the room, the video runs a few seconds, and the pictures
# are taken.
chat="大家好，会议开始了"
[ "$lang" = en ] && chat="Hello everybody, the meeting begins"
if wait_file "$wine_work/host.ready" $host && wait_file "$wine_work/alice.ready" $alice &&
    wait_file "$wine_work/carol.ready" $carol; then
    wine MeetingDemo.exe -lang "$lang" 127.0.0.1 "$port" bob bob "$room_id" 4 "$chat" > "$wine_work/bob.log" 2>&1 ||
        echo "run: the console participant failed; see below" >&2
    sleep 8
fi
touch "$wine_work/host.go" "$wine_work/alice.go" "$wine_work/carol.go"
# Exit code 5: the client's whiteboard did not show the drawing.
status=0 board_failed=""
for who in carol alice host; do
    rc=0
    wait "${!who}" || rc=$?
    if [ "$rc" -eq 5 ]; then
        board_failed="$board_failed $who"
    elif [ "$rc" -ne 0 ]; then
        status=$rc
    fi
done
# A line of the client's log: its title, or what its whiteboard showed.
log_line() { tr -d '\r' < "$wine_work/$1.log" | iconv -f GBK -t UTF-8 2>/dev/null | grep "${@:2}" | tail -1; }
for who in host alice carol; do
    if [ -f "$shots/$who.bmp" ]; then
        echo "   $who sees: $(log_line "$who" -v -e '^whiteboard:' -e '^WindowShot:')"
        echo "   $who's $(log_line "$who" '^whiteboard:')"
    else
        echo "   $who: no picture; WindowShot said:" >&2
        iconv -f GBK -t UTF-8 "$wine_work/$who.log" 2>/dev/null | sed 's/^/      /' >&2
        if iconv -f GBK -t UTF-8 "$wine_work/$who.log" 2>/dev/null | grep -q '请重新安装系统'; then
            echo "      (the client could not bind a function it needs from its media libraries)" >&2
        fi
    fi
done
kill $server 2>/dev/null || true
wait $server 2>/dev/null || true
if [ "$(settings_stamp)" != "$settings_before" ]; then
    echo "run: FAILED: a client wrote its settings into the build folder ($build_settings);" \
        "clients must run from the installed copy in $program_dir" >&2
    exit 1
fi
[ "$status" -eq 0 ] || server_failed "a client did not show its meeting (exit code $status)"
echo "Screenshots of the clients' main windows: $(ls "$shots"/*.bmp 2>/dev/null | tr '\n' ' ')"
if [ -n "$board_failed" ]; then
    echo "run: FAILED: the shared whiteboard did not show the host's drawing on:$board_failed" >&2
    for who in $board_failed; do
        iconv -f GBK -t UTF-8 "$wine_work/$who.log" 2>/dev/null | grep -e '^WindowShot:' -e '^whiteboard:' |
            sed "s/^/   $who: /" >&2
    done
    echo "run: the server's and the clients' logs are kept in $logs" >&2
    exit 1
fi
echo "The shared whiteboard shows the host's drawing on every client (read back off each screen)."
echo "done. Run any built program the same way: bash tools/wine.sh <program> [arguments]"
