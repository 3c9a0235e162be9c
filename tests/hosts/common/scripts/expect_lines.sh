#!/usr/bin/env bash
# Runs a command and checks its exit code and that its output holds every expected line
# (extended regular expressions, one per argument after --).
#   expect_lines.sh EXIT_CODE COMMAND... -- PATTERN...
set -uo pipefail
expected_code=$1
shift
command=()
while [[ $# -gt 0 && "$1" != "--" ]]; do
    command+=("$1")
    shift
done
shift

output=$("${command[@]}" 2>&1)
code=$?
echo "$output"

status=0
if [[ $code -ne $expected_code ]]; then
    echo "MISMATCH: exit code $code, expected $expected_code"
    status=1
fi
for pattern in "$@"; do
    if ! grep -Eq -- "$pattern" <<< "$output"; then
        echo "MISSING: a line matching: $pattern"
        status=1
    fi
done
exit $status
