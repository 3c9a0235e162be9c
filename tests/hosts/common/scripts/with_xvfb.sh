#!/usr/bin/env bash
# Runs a command on a private Xvfb display (the server picks a free display number itself, so
# parallel tests never collide) and stops the server afterwards. Exits 77 (skipped) without Xvfb.
set -euo pipefail

if ! command -v Xvfb > /dev/null; then
    echo "SKIPPED: Xvfb is not installed (Debian package xvfb)"
    exit 77
fi

display_file=$(mktemp)
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3> "$display_file" 2> /dev/null &
xvfb_pid=$!
trap 'kill "$xvfb_pid" 2> /dev/null || true; wait "$xvfb_pid" 2> /dev/null || true; rm -f "$display_file"' EXIT

for _ in $(seq 100); do
    [[ -s "$display_file" ]] && break
    sleep 0.1
done
if [[ ! -s "$display_file" ]]; then
    echo "Xvfb did not start"
    exit 1
fi

DISPLAY=":$(head -n 1 "$display_file")" "$@"
