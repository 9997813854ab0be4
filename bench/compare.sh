#!/usr/bin/env bash
# Compares this checkout's engine with the engine of an earlier revision, side by side on
# this machine: builds that revision's renderer into build-compare/, then runs both
# renderers' benchmark cases alternately, run by run (absolute times on a shared machine
# move by half from one minute to the next; ratios measured this way hold).
#
#   bench/compare.sh REV [--runs N] [--seconds S]
#
# REV is any git revision (a commit, a tag, main~3). Prints, per case, the factors of real
# time of both (lowest to highest of the runs) and the ratio of their medians; for the
# storm, the slowest block's share of a 64-sample block. Needs build/ (scripts/build.sh).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

if [ $# -lt 1 ]; then
    sed -n '2,12p' "$0" | sed 's/^# \{0,1\}//'
    exit 2
fi

revision="$1"
shift
runs=3
seconds=2

while [ $# -gt 0 ]; do
    case "$1" in
        --runs) runs="$2"; shift 2 ;;
        --seconds) seconds="$2"; shift 2 ;;
        *) echo "unknown option $1" >&2; exit 2 ;;
    esac
done

commit="$(git -C "$root" rev-parse --short "$revision^{commit}")"
this="$root/build/tools/quenby-render/quenby-render"
source="$root/build-compare/$commit"
other="$source/build/tools/quenby-render/quenby-render"

if [ ! -x "$this" ]; then
    echo "no renderer in build/: run scripts/build.sh first" >&2
    exit 1
fi

# The other revision builds in a folder of its own, laid out as a checkout with build/
# inside, so that ccache serves the JUCE objects it already has.
if [ ! -x "$other" ]; then
    echo "building the renderer of $revision ($commit) in build-compare/$commit ..." >&2
    rm -rf "$source"
    mkdir -p "$source"
    git -C "$root" archive "$commit" | tar -x -C "$source"
    (
        export CCACHE_BASEDIR="$source"
        cmake -S "$source" -B "$source/build" -G Ninja -DCMAKE_BUILD_TYPE=Release > "$source/configure.log"
        cmake --build "$source/build" --target quenby-render --parallel "$(nproc)" > "$source/build.log"
    )
fi

# One line of --bench: the factor of real time, and the slowest block's share of its block.
factor() { "$1" --bench "$2" $3 --seconds "$seconds" | tail -1 | awk '{ for (i = 1; i <= NF; ++i) if ($i ~ /x$/ && $(i + 1) == "real") { sub ("x", "", $i); print $i } }'; }
slowest() { "$1" --bench "$2" --seconds "$seconds" | tail -1 | sed -n 's/.*slowest [0-9.]* us (\([0-9.]*\) %.*/\1/p'; }
median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
range() { sort -g | awk 'NR == 1 { lo = $1 } { hi = $1 } END { printf "%s-%s", lo, hi }'; }

echo "this checkout against $revision ($commit), $runs runs of ${seconds} s each, alternating"
printf "%-9s %-7s %-16s %-16s %s\n" "case" "voices" "this (x real)" "$commit (x real)" "ratio of medians"

for kind in light standard heavy idle vibrato wobble; do
    for voices in 32 64 128; do
        [ "$kind" = idle ] && [ "$voices" != 32 ] && continue
        argument="$voices"
        [ "$kind" = idle ] && argument=""
        mine=()
        theirs=()

        for ((run = 0; run < runs; ++run)); do
            mine+=("$(factor "$this" "$kind" "$argument")")
            theirs+=("$(factor "$other" "$kind" "$argument")")
        done

        a="$(printf "%s\n" "${mine[@]}" | median)"
        b="$(printf "%s\n" "${theirs[@]}" | median)"
        printf "%-9s %-7s %-16s %-16s %.2f\n" "$kind" "${argument:--}" "$(printf "%s\n" "${mine[@]}" | range)" \
               "$(printf "%s\n" "${theirs[@]}" | range)" "$(awk -v a="$a" -v b="$b" 'BEGIN { print a / b }')"
    done
done

# The storm needs a renderer that knows it.
stormMine=()

for ((run = 0; run < runs; ++run)); do
    stormMine+=("$(slowest "$this" storm)")
done

if "$other" --help | grep -q storm; then
    stormTheirs=()

    for ((run = 0; run < runs; ++run)); do
        stormTheirs+=("$(slowest "$other" storm)")
    done

    theirText="$(printf "%s\n" "${stormTheirs[@]}" | range) %"
else
    theirText="n/a"
fi

printf "%-9s %-7s %-16s %-16s %s\n" "storm" "128" "$(printf "%s\n" "${stormMine[@]}" | range) %" "$theirText" \
       "(slowest 64-sample block, share of its 1333 us)"
