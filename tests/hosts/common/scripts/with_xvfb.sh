#!/usr/bin/env bash
# Runs a command on a private Xvfb display (the server picks a free display number itself, so
# parallel tests never collide) and stops the server afterwards. Exits 77 (skipped) without Xvfb.
# -noreset: a server that resets when its last client leaves refuses a connection made during
# the reset.
set -euo pipefail

if ! command -v Xvfb > /dev/null; then
    echo "SKIPPED: Xvfb is not installed (Debian package xvfb)"
    exit 77
fi

display_file=$(mktemp)
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3> "$display_file" 2> /dev/null &
xvfb_pid=$!
trap 'kill "$xvfb_pid" 2> /dev/null || true; wait "$xvfb_pid" 2> /dev/null || true; rm -f "$display_file"' EXIT

# The number is complete once its line ends: a partly written "12" would read as display 1.
for _ in $(seq 100); do
    [[ $(wc -l < "$display_file") -ge 1 ]] && break
    sleep 0.1
done
if [[ $(wc -l < "$display_file") -lt 1 ]]; then
    echo "Xvfb did not start"
    exit 1
fi

DISPLAY=":$(head -n 1 "$display_file")" "$@"
