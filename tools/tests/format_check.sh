#!/usr/bin/env bash
# Every C and C++ source of the repository in the house style (.clang-format):
# names each file the formatter would change and fails. Without clang-format
# on the machine the check is skipped (exit code 77).
set -uo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
cd "$top"
command -v clang-format >/dev/null || { echo "clang-format is not installed: check skipped"; exit 77; }
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    list() { git ls-files -z -- '*.c' '*.cpp' '*.h' '*.hpp'; }
else
    list() { find . \( -path './build*' -o -path ./.git \) -prune -o -type f \( -name '*.c' -o \
             -name '*.cpp' -o -name '*.h' -o -name '*.hpp' \) -print0; }
fi
unformatted=$(list | xargs -0 -r -n 100 clang-format --dry-run 2>&1 |
              sed -n 's/^\(.*\):[0-9]*:[0-9]*: warning: .*/\1/p' | sort -u)
if [ -n "$unformatted" ]; then
    echo "not in the house style (run clang-format -i on each):"
    echo "$unformatted"
    exit 1
fi
echo "every source is in the house style"
