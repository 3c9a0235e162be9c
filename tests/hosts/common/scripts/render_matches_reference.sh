#!/usr/bin/env bash
# A test host's render of generated noise through the bundle must equal, sample for sample, the
# processor-level reference rendered with the same block partition and settings.
#   render_matches_reference.sh HOST REFERENCE PLUGIN WORKDIR "HOST OPTIONS" "REFERENCE OPTIONS" \
#       [options for both...]
set -euo pipefail
host=$1 reference=$2 plugin=$3 work=$4
read -ra host_options <<< "$5"
read -ra reference_options <<< "$6"
shift 6

mkdir -p "$work"
"$host" generate noise --frames 30000 --out "$work/input.wav" > /dev/null
"$host" render "$plugin" --input "$work/input.wav" --out "$work/host.wav" "${host_options[@]}" "$@"
"$reference" --input "$work/input.wav" --out "$work/reference.wav" "${reference_options[@]}" "$@"
"$host" compare "$work/host.wav" "$work/reference.wav"
