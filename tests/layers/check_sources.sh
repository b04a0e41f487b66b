#!/usr/bin/env bash
# The layering as the sources show it, where the link check (cmake/Layers.cmake) cannot see:
#  1. no file of a folder includes a header of a folder above it, nor of another work area;
#  2. no file outside archives/ knows where a record field lies: no {offset, capacity} pair of the
#     record layouts, no layout offset beside a word about records or fields, no constant named
#     ...Offset or ...Capacity. The layouts' numbers are taken from the hand-typed tables of the
#     archive tests, which alone may hold them (with the archives themselves).
# Usage: check_sources.sh <source folder>. Prints every finding; fails when there is one.
set -euo pipefail
cd "${1:?source folder}"

failed=0
report() {
    echo "$1"
    sed 's/^/    /' <<<"$2"
    failed=1
}

sources() { # the C++ and Python sources under the given folders
    find "$@" \( -name '*.h' -o -name '*.cpp' -o -name '*.py' \) -type f 2>/dev/null
}

# ---- 1. Includes ----------------------------------------------------------------------------------
declare -A above=(
    [archives]="printing shell grids lists registry operations history app"
    [printing]="archives shell grids lists registry operations history app"
    [shell]="grids lists registry operations history app"
    [grids]="lists registry operations history app"
    [lists]="grids registry operations history app"
    [registry]="operations history app"
    [operations]="grids registry history app"
    [history]="registry operations app"
)
for folder in "${!above[@]}"; do
    for other in ${above[$folder]}; do
        hits=$(sources "$folder" | xargs -r grep -nE "^[[:space:]]*#[[:space:]]*include[[:space:]]*[\"<]$other/" || true)
        [ -z "$hits" ] || report "$folder/ includes $other/:" "$hits"
    done
done

# ---- 2. Record offsets ----------------------------------------------------------------------------
layouts=tests/archives/HandLayouts.h
# {"Name", &P::Name, offset, capacity} -> "offset capacity"
pairs=$(sed -nE 's/^[[:space:]]*\{"[A-Za-z0-9]+", &[A-Z]::[A-Za-z0-9]+, ([0-9]+), ([0-9]+)\},.*/\1 \2/p' "$layouts")
if [ "$(wc -l <<<"$pairs")" -lt 40 ]; then
    echo "cannot read the field tables of $layouts"
    exit 1
fi
pairPattern=$(awk '{printf "%s[{(][[:space:]]*%s[[:space:]]*,[[:space:]]*%s[[:space:]]*[})]", (NR > 1 ? "|" : ""), $1, $2}' <<<"$pairs")
# Offsets of three digits and more: the small ones are every other number of a program.
offsets=$(awk '$1 >= 100 {printf "%s%s", (n++ ? "|" : ""), $1}' <<<"$pairs")
mapfile -t outside < <(sources app bench fuzz grids history lists operations printing registry shell tests |
    grep -v '^tests/archives/')
hits=$(grep -nHE "$pairPattern" "${outside[@]}" || true)
[ -z "$hits" ] || report "{offset, capacity} pairs of a record layout outside archives/:" "$hits"
hits=$(grep -nHE "(^|[^0-9A-Za-z_.])($offsets)([^0-9A-Za-z_.]|$)" "${outside[@]}" |
    grep -iE '^[^:]+:[0-9]+:.*(record|offset|field|bytes|layout)' || true)
[ -z "$hits" ] || report "Record offsets outside archives/:" "$hits"
hits=$(grep -nHE '[A-Za-z_]*(Offset|Capacity)[A-Za-z_]*[[:space:]]*=[[:space:]]*[0-9]' "${outside[@]}" || true)
[ -z "$hits" ] || report "Record offsets or capacities named outside archives/:" "$hits"

if ((failed)); then
    echo "The layering of the sources is broken (see above)."
    exit 1
fi
echo "Includes follow the layers; no record offset outside archives/."
