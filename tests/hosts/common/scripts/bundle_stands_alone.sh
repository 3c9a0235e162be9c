#!/usr/bin/env bash
# The bundle copied out of the build tree loads and renders on its own. Its dynamic section names
# no search path, no folder of the checkout and no library of ours. The VST 2 and AAX hosts
# render the copy with nothing on the library path, and the loader's own record of every library
# it searched for and loaded shows no CoreFoundation and nothing of the build tree. The Audio Unit
# host, which brings the platform stand-ins, renders the same copy on both roads; every render
# equals the VST 2 one, sample for sample.
#   bundle_stands_alone.sh VST2_HOST AAX_HOST AU_HOST BUNDLE BUILD_DIR SOURCE_DIR
set -euo pipefail
vst2_host=$1 aax_host=$2 au_host=$3 bundle=$4 build=$5 source=$6

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
plugin=$work/Veridane.so
cp "$bundle" "$plugin"

fail() {
    echo "FAILED: $*"
    exit 1
}

dynamic=$(readelf -d "$plugin")
if grep -E 'RPATH|RUNPATH|NEEDED.*veridane' <<< "$dynamic" ||
    grep -F -e "$build" -e "$source" <<< "$dynamic"; then
    fail "the copy's dynamic section names a search path, a folder of the checkout or our library"
fi

# Runs a host on the copy, then reads the loader's record of that run.
without_corefoundation() {
    local log=$work/loader
    LD_LIBRARY_PATH= LD_DEBUG=libs LD_DEBUG_OUTPUT=$log "$@" > /dev/null
    grep -q -F "calling init: $plugin" "$log".* || fail "the loader's record never shows the copy"
    if grep -i corefoundation "$log".* ||
        grep -E 'search path=|trying file=|calling init:' "$log".* | grep -F "$build"; then
        fail "a CoreFoundation or a folder of the build tree was in reach of $1"
    fi
    rm -f "$log".*
}

settings=(--direction 0 --gain 0.9 --blocks 512)
"$vst2_host" generate circling --seconds 1 --out "$work/fuma.wav" > /dev/null
without_corefoundation "$vst2_host" render "$plugin" --input "$work/fuma.wav" \
    --out "$work/vst2.wav" "${settings[@]}" --buffers in-place
without_corefoundation "$aax_host" render "$plugin" --input "$work/fuma.wav" \
    --out "$work/aax.wav" "${settings[@]}" --buffers separate
"$vst2_host" compare "$work/aax.wav" "$work/vst2.wav"

for road in plug-in component-manager; do
    "$au_host" render "$plugin" --input "$work/fuma.wav" --out "$work/au-$road.wav" \
        "${settings[@]}" --road "$road" --buffers in-place > /dev/null
    "$vst2_host" compare "$work/au-$road.wav" "$work/vst2.wav"
done
