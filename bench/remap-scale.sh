#!/usr/bin/env bash
# The remapping command over a whole drawing of 1k, 10k and 100k objects in hostsim, against a
# baseline that only opens, saves and closes the same project.
#
#   bench/remap-scale.sh [BUILD_FOLDER] [N ...]
#
# BUILD_FOLDER holds hostsim and the remap bundle (build/release by default: measure the release
# build); the sizes default to 1000 10000 100000. Each project has one source part for every ten
# objects, each source mapped by the object map to a target part of its own that is centred on its
# hotspot, so every object is re-pointed, resized and moved. Each run is measured: user time by
# the shell's timer (to the millisecond), peak resident memory by GNU time. The median of RUNS
# runs (3 by default) is printed: user seconds and peak resident memory of both runs, the remap
# run over the baseline, and the growth exponent of each column between sizes
# (log of the ratio of the values over log of the ratio of the sizes; 1 is linear). The projects
# and scenarios are made in a temporary folder, or kept in $WORK when it is set. The machine may be
# shared: user time is measured, not wall time, and the median taken.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
build=${1:-$here/../build/release}
shift || true
sizes=("$@")
[ ${#sizes[@]} -gt 0 ] || sizes=(1000 10000 100000)
runs=${RUNS:-3}
build=$(cd "$build" && pwd)
hostsim=$build/hostsim
[ -x "$hostsim" ] || { echo "no hostsim in $build" >&2; exit 1; }
[ -x /usr/bin/time ] || { echo "GNU time (/usr/bin/time) is needed: apt-get install time" >&2; exit 1; }
resources=$(cd "$here/../resources" && pwd)
work=${WORK:-$(mktemp -d)}
mkdir -p "$work"

# The project description of n objects: parts "Source i" (corner-anchored) and "Target i" (centred)
# for i below n / 10, the objects on a grid, each tenth turned a quarter.
describe() {
    awk -v n="$1" 'BEGIN {
        parts = int((n + 9) / 10)
        print "{\"storeys\": [{\"index\": 0, \"name\": \"Ground Floor\", \"level\": 0.0}],"
        print " \"library\": ["
        sizes = "[{\"name\": \"A\", \"type\": \"length\", \"value\": 1.0}, {\"name\": \"B\", \"type\": \"length\", \"value\": 1.0}, {\"name\": \"ZZYZX\", \"type\": \"length\", \"value\": 1.0}]"
        for (i = 0; i < parts; ++i) {
            printf "  {\"name\": \"Source %d\", \"parameters\": %s},\n", i, sizes
            printf "  {\"name\": \"Target %d\", \"centred\": true, \"parameters\": %s}%s\n", i, sizes, i + 1 < parts ? "," : ""
        }
        print " ],"
        print " \"elements\": ["
        for (i = 0; i < n; ++i) {
            printf "  {\"type\": 6, \"part\": \"Source %d\", \"position\": [%d, %d], \"angle\": %s, \"A\": 0.7, \"B\": 0.6, \"ZZYZX\": 0.8}%s\n",
                int(i / 10), (i % 1000) * 2, int(i / 1000) * 2, i % 10 == 0 ? "1.5708" : "0", i + 1 < n ? "," : ""
        }
        print " ]}"
    }'
}

# The object map of the GSM source "Default": "Source i" to "Target i".
objectMap() {
    awk -v n="$1" 'BEGIN {
        parts = int((n + 9) / 10)
        printf "<?xml version=\\\"1.0\\\" encoding=\\\"UTF-8\\\"?><objectMap><specificationList sourceName=\\\"Default\\\" objectType=\\\"GSM\\\">"
        for (i = 0; i < parts; ++i) {
            printf "<objectSpecification><originalName>Source %d</originalName><mappedName>Target %d</mappedName><mappedObjectGuid></mappedObjectGuid></objectSpecification>", i, i
        }
        printf "</specificationList></objectMap>"
    }'
}

# A scenario on the project of n objects; with "remap", the GSM command over the whole drawing
# (nothing is selected), the dialog confirmed as it opens, between the open and the save.
scenario() {
    local n=$1 kind=$2
    printf '{"addons": [{"name": "remap", "bundle": "%s/remap.so", "developer": 1514490966, "local": 21,\n' "$build"
    printf '  "resources": ["%s/zelvane.json", "%s/remap.json"]}],\n' "$resources" "$resources"
    printf ' "steps": [{"entry": "CheckEnvironment"}, {"entry": "RegisterInterface"}, {"entry": "Initialize"},\n'
    printf '  {"project": "open", "file": "Scale.pln", "description": "scale-%d.project.json"},\n' "$n"
    if [ "$kind" = remap ]; then
        printf '  {"hostFile": "Library Part Remapping/Object Map.xml", "text": "%s"},\n' "$(objectMap "$n")"
        printf '  {"script": {"dialogs": {"32510": [[{"do": "closeOK"}]]}, "alerts": [1, 1]}},\n'
        printf '  {"menu": 32500, "item": 3},\n'
    fi
    printf '  {"project": "save"}, {"project": "close"}, {"entry": "FreeData"}]}\n'
}

# Median of the numbers given.
median() {
    printf '%s\n' "$@" | sort -g | awk '{ v[NR] = $1 } END { print NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

# Runs a scenario `runs` times; prints its median user seconds and peak resident kilobytes.
measure() {
    local file=$1 n=$2 kind=$3 users=() peaks=()
    for ((r = 0; r < runs; ++r)); do
        rm -rf "$work/sandbox"
        # GNU time gives the peak memory; its user time has two decimals only, too coarse for
        # the small projects, so the shell's own timer (milliseconds) gives the user time.
        { time /usr/bin/time -v -o "$work/time.txt" "$hostsim" "$file" --report "$work/report.txt" \
            --sandbox "$work/sandbox" >/dev/null 2>"$work/stderr.txt"; } 2>"$work/user.txt" ||
            { cat "$work/stderr.txt" >&2; echo "hostsim failed on $file" >&2; exit 1; }
        if [ "$kind" = remap ] && ! grep -q "\"$n elements were remapped\." "$work/report.txt"; then
            echo "the remap run of $n objects did not remap them all; see $work/report.txt" >&2
            exit 1
        fi
        users+=("$(cat "$work/user.txt")")
        peaks+=("$(awk -F': ' '/Maximum resident set size/ { print $2 }' "$work/time.txt")")
    done
    echo "$(median "${users[@]}") $(median "${peaks[@]}")"
}

TIMEFORMAT=%3U
declare -A baseUser baseRSS remapUser remapRSS
for n in "${sizes[@]}"; do
    describe "$n" >"$work/scale-$n.project.json"
    scenario "$n" baseline >"$work/scale-$n-baseline.json"
    scenario "$n" remap >"$work/scale-$n-remap.json"
    read -r baseUser[$n] baseRSS[$n] < <(measure "$work/scale-$n-baseline.json" "$n" baseline)
    read -r remapUser[$n] remapRSS[$n] < <(measure "$work/scale-$n-remap.json" "$n" remap)
done

printf '%-8s %10s %10s %8s %12s %12s %8s\n' N "base user" "remap user" ratio "base RSS MB" "remap RSS MB" ratio
for n in "${sizes[@]}"; do
    awk -v n="$n" -v bu="${baseUser[$n]}" -v ru="${remapUser[$n]}" -v bm="${baseRSS[$n]}" -v rm="${remapRSS[$n]}" \
        'BEGIN { printf "%-8d %10.3f %10.3f %7.2fx %12.1f %12.1f %7.2fx\n", n, bu, ru, (bu > 0 ? ru / bu : 0), bm / 1024, rm / 1024, rm / bm }'
done
echo "growth exponents (1 is linear):"
pairs=()
for ((i = 1; i < ${#sizes[@]}; ++i)); do
    pairs+=("${sizes[$((i - 1))]} ${sizes[$i]}")
done
[ ${#sizes[@]} -lt 3 ] || pairs+=("${sizes[0]} ${sizes[-1]}")
for pair in "${pairs[@]}"; do
    read -r a b <<<"$pair"
    awk -v a="$a" -v b="$b" -v bu1="${baseUser[$a]}" -v bu2="${baseUser[$b]}" -v ru1="${remapUser[$a]}" \
        -v ru2="${remapUser[$b]}" -v bm1="${baseRSS[$a]}" -v bm2="${baseRSS[$b]}" -v rm1="${remapRSS[$a]}" \
        -v rm2="${remapRSS[$b]}" 'function e(x, y) { return x > 0 && y > 0 ? log(y / x) / log(b / a) : 0 }
        BEGIN { printf "%d to %d: base user %.3f, remap user %.3f, base RSS %.3f, remap RSS %.3f\n",
                a, b, e(bu1, bu2), e(ru1, ru2), e(bm1, bm2), e(rm1, rm2) }'
done
[ -n "${WORK:-}" ] || rm -rf "$work"
