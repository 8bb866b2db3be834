#!/usr/bin/env bash
# Runs ctest in the current build folder with the given arguments and the
# project's rule for a second run:
#
# A test that fails is never run again. Only a process that Wine lost after
# the test itself had reported success (a crash in the emulator while the
# process ends, seen rarely under heavy parallel load) gets one more run, and
# the run names it. Its test's own output tells the two apart: GoogleTest's
# closing "[  PASSED  ] 1 test." with no "[  FAILED  ]" line. A run that finds
# no test at all fails.
set -euo pipefail

log=Testing/Temporary/LastTest.log

# Prints "lost <name>" for each failed test whose output reported success,
# "failed <name>" for every other failure of the last ctest run.
sort_failures() {
    awk '
        $2 == "Test:" && $1 ~ /^[0-9]+\/[0-9]+$/ { name = $3; passed = 0; failed = 0; inout = 0; next }
        /^Output:$/ { inout = 1; next }
        /^<end of output>$/ { inout = 0; next }
        inout && /^\[  PASSED  \] 1 test\.$/ { passed = 1 }
        inout && /^\[  FAILED  \]/ { failed = 1 }
        !inout && /^Test (Passed|Failed)/ && name != "" {
            if ($2 != "Passed.")
                print ((passed && !failed) ? "lost " : "failed ") name
            name = ""
        }
    ' "$log"
}

rm -f "$log"
status=0
ctest --output-on-failure --no-tests=error --timeout 300 "$@" || status=$?
[ "$status" -eq 0 ] && exit 0
[ -f "$log" ] || exit "$status"

failures=$(sort_failures)
lost=$(awk '$1 == "lost" { print $2 }' <<<"$failures")
pattern=""
for name in $lost; do
    pattern+="${pattern:+|}$(sed 's/[][\.*^$+?(){}|/]/\\&/g' <<<"$name")"
done
if [ -z "$lost" ] || grep -q '^failed ' <<<"$failures"; then
    [ -z "$lost" ] || echo "ctest-run: not run again, since other tests failed:" $lost
    exit "$status"
fi
for name in $lost; do
    echo "ctest-run: $name reported success but Wine lost its process; running it once more"
done
ctest --output-on-failure --timeout 300 -R "^($pattern)\$"
