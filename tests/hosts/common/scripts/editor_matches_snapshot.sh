#!/usr/bin/env bash
# Opens the editor in a host window on Xvfb, captures it, and compares it with the snapshot tool's
# rendering of the same state. Run it through with_xvfb.sh.
#   editor_matches_snapshot.sh HOST SNAPSHOT PLUGIN WORKDIR DIRECTION PANEL "W x H" \
#       [compare-images options...]
set -euo pipefail
host=$1 snapshot=$2 plugin=$3 work=$4 direction=$5 panel=$6 size=$7
shift 7

# Where a click opens each panel: the gear, and the logo area.
case "$panel" in
    none) clicks=() ;;
    options) clicks=(--click 427,14) ;;
    about) clicks=(--click 100,14) ;;
    *) echo "unknown panel $panel"; exit 2 ;;
esac

mkdir -p "$work"
output=$("$host" editor "$plugin" --direction "$direction" --out "$work/window.png" "${clicks[@]}")
echo "$output"
if ! grep -q "^screenshot: .* ($size)\$" <<< "$output"; then
    echo "MISMATCH: the screenshot is not $size"
    exit 1
fi
"$snapshot" --out "$work/snapshot.png" --direction "$direction" --levels 0 --panel "$panel"
"$host" compare-images "$work/window.png" "$work/snapshot.png" "$@"
