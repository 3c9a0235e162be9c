#!/usr/bin/env bash
# The host's render of generated noise through the bundle must equal, sample for sample, the
# processor-level reference rendered with the same block partition and settings.
#   render_matches_reference.sh HOST REFERENCE PLUGIN WORKDIR BUFFERS [render options...]
set -euo pipefail
host=$1 reference=$2 plugin=$3 work=$4 buffers=$5
shift 5

mkdir -p "$work"
"$host" generate noise --frames 30000 --out "$work/input.wav" > /dev/null
"$host" render "$plugin" --input "$work/input.wav" --out "$work/host.wav" --buffers "$buffers" "$@"
"$reference" --input "$work/input.wav" --out "$work/reference.wav" "$@"
"$host" compare "$work/host.wav" "$work/reference.wav"
