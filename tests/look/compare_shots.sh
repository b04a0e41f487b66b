#!/usr/bin/env bash
# Compares the pictures of two look_shots folders pixel by pixel (ImageMagick): prints, for each
# picture, the number of differing pixels, and writes a difference picture for each that differs.
#     tests/look/compare_shots.sh <before> <after> [<differences folder>]
set -uo pipefail
before=$1 after=$2 diffs=${3:-$2/differences}
mkdir -p "$diffs"
status=0
for b in "$before"/*.png; do
    name=$(basename "$b")
    a=$after/$name
    if [[ ! -f $a ]]; then
        echo "$name: missing after"; status=1; continue
    fi
    sb=$(identify -format '%wx%h' "$b") sa=$(identify -format '%wx%h' "$a")
    if [[ $sb != "$sa" ]]; then
        echo "$name: size $sb -> $sa"; status=1; continue
    fi
    n=$(compare -metric AE "$b" "$a" "$diffs/$name" 2>&1 >/dev/null)
    echo "$name: $n"
    [[ $n == 0 ]] && rm -f "$diffs/$name" || status=1
done
exit $status
