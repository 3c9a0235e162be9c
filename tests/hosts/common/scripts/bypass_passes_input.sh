#!/usr/bin/env bash
# A bypassed effect must hand the input back unchanged, whatever gain and direction it holds.
#   bypass_passes_input.sh HOST PLUGIN WORKDIR "HOST OPTIONS"
set -euo pipefail
host=$1 plugin=$2 work=$3
read -ra host_options <<< "$4"

mkdir -p "$work"
"$host" generate noise --frames 20000 --out "$work/input.wav" > /dev/null
"$host" render "$plugin" --input "$work/input.wav" --out "$work/bypassed.wav" \
    "${host_options[@]}" --blocks 1,512,10000 --bypass --gain 0.2 --direction 1
"$host" compare "$work/bypassed.wav" "$work/input.wav"
