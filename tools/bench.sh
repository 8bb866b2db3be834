#!/usr/bin/env bash
# Runs the benchmark programs (build/bin/*_bench.exe, bench_*.exe) in the
# environment of tools/wine.sh, each under a heading, then prints one table
# of every figure that has a target: row, figure, reference, ratio, target.
# Each benchmark measures its reference in the same process, so the ratio
# holds even where absolute figures vary (they do, run to run and under
# emulation).
#
#   bash tools/bench.sh             every benchmark
#   bash tools/bench.sh g7221 ravo  those whose name contains a given word
#
# Build first (bash tools/test.sh or bash tools/run.sh).
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
. "$here/paths.sh"
cd "$build/bin" 2>/dev/null || { echo "bench: nothing built in $build yet" >&2; exit 2; }
shopt -s nullglob
benches=()
for b in *_bench.exe bench_*.exe; do
    if [ $# -eq 0 ]; then
        benches+=("$b")
    else
        for word in "$@"; do
            [[ $b == *"$word"* ]] && { benches+=("$b"); break; }
        done
    fi
done
[ ${#benches[@]} -gt 0 ] || { echo "bench: no benchmark matches: $*" >&2; exit 2; }
work=$(mktemp -d /tmp/halvern-bench.XXXXXX)
trap 'rm -rf "$work"' EXIT
rows=$work/rows
: >"$rows"
# Spoken speech for the noise suppressors' benchmarks, from espeak-ng (they
# say when they fall back on a synthetic signal, where it cannot be
# installed). Sentences with pauses between them, where the suppressors'
# noise removal is measured.
if ! command -v espeak-ng >/dev/null && [ "$(id -u)" -eq 0 ]; then
    echo "bench: installing espeak-ng for the test speech"
    exec 8>/tmp/halvern-setup.lock
    flock 8
    command -v espeak-ng >/dev/null ||
        { apt-get update -qq && DEBIAN_FRONTEND=noninteractive \
              apt-get install -y -qq --no-install-recommends espeak-ng >/dev/null; } ||
        echo "bench: espeak-ng could not be installed" >&2
    exec 8>&-
fi
if command -v espeak-ng >/dev/null; then
    espeak-ng -v en -s 150 -m -w "$work/speech.wav" "<speak>The quick brown fox jumps over the \
lazy dog.<break time=\"800ms\"/> Wideband speech keeps voices natural in a conference \
call.<break time=\"800ms\"/> Please hold the line, the meeting will begin \
shortly.<break time=\"800ms\"/> Every participant can see and hear the others.</speak>" &&
        export HALVERN_BENCH_SPEECH="Z:${work//\//\\}\\speech.wav"
fi
status=0
for b in "${benches[@]}"; do
    echo "== $b"
    # Summary lines ("ROW|...") go to the table; everything else as it comes.
    set +e
    bash "$here/wine.sh" "$b" | tr -d '\r' | while IFS= read -r line; do
        if [[ $line == ROW\|* ]]; then
            printf '%s|%s\n' "${b%.exe}" "${line#ROW|}" >>"$rows"
        else
            printf '%s\n' "$line"
        fi
    done
    code=${PIPESTATUS[0]}
    set -e
    [ "$code" -eq 0 ] || { echo "bench: $b failed (exit code $code)" >&2; status=1; }
done
echo
echo "== summary (ratios against a reference measured in the same run)"
if [ -s "$rows" ]; then
    { echo "benchmark|row|figure|reference|ratio|target|"; cat "$rows"; } |
        awk -F'|' '{ printf "%-18s %-56s %16s %16s %9s %11s  %s\n", $1, $2, $3, $4, $5, $6, $7 }'
else
    echo "(no benchmark run here has a target)"
fi
[ -e /proc/sys/fs/binfmt_misc/halvern-i386 ] &&
    echo "(run under emulation: absolute figures are 5 to 10 times lower than on a 32-bit machine; ratios stand)"
exit $status
