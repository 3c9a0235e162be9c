#!/usr/bin/env bash
# Runs a command that must succeed and checks that its lines starting with PREFIX are, after the
# prefix, exactly the lines of EXPECTED_FILE, in order.
#   expect_prefixed_lines.sh PREFIX EXPECTED_FILE COMMAND...
set -uo pipefail
prefix=$1 expected=$2
shift 2

output=$("$@" 2>&1)
code=$?
echo "$output"
if [[ $code -ne 0 ]]; then
    echo "MISMATCH: exit code $code"
    exit 1
fi
if ! diff -u "$expected" <(sed -n "s/^$prefix//p" <<< "$output"); then
    echo "MISMATCH: the lines starting with '$prefix' differ (- expected, + actual)"
    exit 1
fi
