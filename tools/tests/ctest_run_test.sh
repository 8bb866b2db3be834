#!/usr/bin/env bash
# Checks the test run's rule for a second run (tools/ctest-run.sh) on a small
# ctest project of scripted tests: only a process lost after its test
# reported success runs again, and the run names it; every other failure,
# even one that would pass on a second try, fails the run.
set -uo pipefail

runner=$(cd "$(dirname "$0")/.." && pwd)/ctest-run.sh
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# fake.sh <behaviour> <name>: counts its runs in $work/state/<name>.
cat > "$work/fake.sh" <<'FAKE'
#!/bin/sh
state=$(dirname "$0")/state/$2
runs=$(( $(cat "$state" 2>/dev/null || echo 0) + 1 ))
echo $runs > "$state"
passed() { echo "[ RUN      ] $1"; echo "[       OK ] $1 (0 ms)"; echo "[  PASSED  ] 1 test."; }
case $1 in
  pass) passed "$2"; exit 0 ;;
  lost-once) passed "$2"; [ $runs -ge 2 ] && exit 0; exit 3 ;;
  lost-always) passed "$2"; exit 3 ;;
  assert-once) [ $runs -ge 2 ] && { passed "$2"; exit 0; }
               echo "x.cpp:1: Failure"; echo "[  FAILED  ] $2 (0 ms)"
               echo "[  PASSED  ] 0 tests."; echo "[  FAILED  ] 1 test, listed below:"; exit 1 ;;
  mixed-once) [ $runs -ge 2 ] && { passed "$2"; exit 0; }
              passed "$2.Other"; echo "[  FAILED  ] 1 test, listed below:"; echo "[  FAILED  ] $2"; exit 1 ;;
  crash-once) [ $runs -ge 2 ] && { passed "$2"; exit 0; }
              echo "[ RUN      ] $2"; exit 5 ;;
esac
FAKE
mkdir -p "$work/project" "$work/state"
{
    echo 'cmake_minimum_required(VERSION 3.20)'
    echo 'project(fake NONE)'
    echo 'enable_testing()'
    for t in pass lost-once lost-always assert-once mixed-once crash-once; do
        echo "add_test(NAME Fake.$t COMMAND sh $work/fake.sh $t Fake.$t)"
    done
} > "$work/project/CMakeLists.txt"
cmake -S "$work/project" -B "$work/build" >/dev/null || exit 1
cd "$work/build"

failures=0
# scenario <name> <ctest regex> <expected exit: 0 or 1> <tests and their expected run counts...>
scenario() {
    local name=$1 regex=$2 expect=$3 status=0 out
    shift 3
    rm -f "$work"/state/*
    out=$(bash "$runner" -R "$regex" 2>&1) || status=$?
    if { [ "$expect" -eq 0 ] && [ $status -ne 0 ]; } || { [ "$expect" -ne 0 ] && [ $status -eq 0 ]; }; then
        echo "FAIL $name: exit $status"; echo "$out"; failures=$((failures + 1))
    fi
    while [ $# -gt 0 ]; do
        local runs
        runs=$(cat "$work/state/$1" 2>/dev/null || echo 0)
        if [ "$runs" != "$2" ]; then
            echo "FAIL $name: $1 ran $runs times, expected $2"; failures=$((failures + 1))
        fi
        local said=0
        grep -q "$1 reported success but Wine lost its process; running it once more" <<<"$out" && said=1
        if [ "$2" -eq 2 ] && [ $said -eq 0 ]; then
            echo "FAIL $name: the second run of $1 is not named"; echo "$out"; failures=$((failures + 1))
        fi
        shift 2
    done
}

scenario "all pass"                    '^Fake\.pass$'                        0 Fake.pass 1
scenario "lost once is run again"      '^Fake\.(pass|lost-once)$'            0 Fake.pass 1 Fake.lost-once 2
scenario "lost twice fails"            '^Fake\.lost-always$'                 1 Fake.lost-always 2
scenario "an assertion is not retried" '^Fake\.assert-once$'                 1 Fake.assert-once 1
scenario "one of two cases failing is not retried" '^Fake\.mixed-once$'  1 Fake.mixed-once 1
scenario "a crash before success is not retried" '^Fake\.crash-once$'        1 Fake.crash-once 1
scenario "no retry beside a failure"   '^Fake\.(lost-once|assert-once)$'     1 Fake.lost-once 1 Fake.assert-once 1
scenario "no test found fails"         '^Fake\.none$'                        1

[ $failures -eq 0 ] && echo "all scenarios passed"
exit $((failures > 0))
