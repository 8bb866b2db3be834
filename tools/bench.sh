#!/usr/bin/env bash
# Runs the benchmark programs (build/bin/*_bench.exe, bench_*.exe) in the
# environment of tools/wine.sh, each under a heading. Each benchmark prints
# its figures beside a reference run made in the same process.
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
status=0
for b in "${benches[@]}"; do
    echo "== $b"
    bash "$here/wine.sh" "$b" || { echo "bench: $b failed (exit code $?)" >&2; status=1; }
done
exit $status
