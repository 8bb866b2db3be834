#!/usr/bin/env bash
# Runs the codec benchmark on real speech: espeak-ng speaks a few sentences
# into a WAV file, which the benchmark codes at both rates under Wine.
#   bash bench/g7221/speech-bench.sh [build folder]
set -euo pipefail

top=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-$top/build}
command -v espeak-ng >/dev/null || { echo "espeak-ng is not installed" >&2; exit 1; }

wine_work=$(mktemp -d /tmp/g7221-bench.XXXXXX)
. "$top/tools/wine-env.sh"
cleanup() { wine_env_stop; rm -rf "$wine_work"; }
trap cleanup EXIT

espeak-ng -v en -s 150 -w "$wine_work/speech.wav" \
    "The quick brown fox jumps over the lazy dog. Wideband speech keeps voices \
natural in a conference call, while the bit rate stays low enough for modest \
networks. Please hold the line, the meeting will begin shortly."

wine_env_start
wine "$build/bin/g7221_bench.exe"
wine "$build/bin/g7221_bench.exe" "$(winepath -w "$wine_work/speech.wav")"
