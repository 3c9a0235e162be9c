#!/usr/bin/env bash
# Runs a command without DISPLAY under strace and fails if anything in it tried to connect to an
# X server (a socket under /tmp/.X11-unix, or TCP ports 6000 to 6063); otherwise exits with the
# command's code. Exits 77 (skipped) where strace is missing or may not trace.
#   without_x_connection.sh COMMAND...
set -uo pipefail

if ! command -v strace > /dev/null; then
    echo "SKIPPED: strace is not installed (Debian package strace)"
    exit 77
fi
log=$(mktemp)
trap 'rm -f "$log"' EXIT
if ! strace -f -qq -e trace=connect -o "$log" true 2> /dev/null; then
    echo "SKIPPED: strace may not trace processes here"
    exit 77
fi

# LeakSanitizer cannot work under ptrace; the other checks look for leaks.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"
env -u DISPLAY strace -f -qq -e trace=connect -o "$log" "$@"
code=$?
attempts=$(grep -E 'X11-unix|htons\((60[0-5][0-9]|606[0-3])\)' "$log")
if [[ -n "$attempts" ]]; then
    echo "X CONNECTION ATTEMPTED WITHOUT DISPLAY:"
    echo "$attempts"
    exit 1
fi
exit $code
