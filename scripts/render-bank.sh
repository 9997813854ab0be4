#!/usr/bin/env bash
# Renders every factory program with the audition phrase (quenby-render --phrase audition)
# into build/bank/<name>.wav and prints a table: name, category, peak and RMS in dBFS, and
# the real-time factor with 16 notes held (--phrase held16, the best of three runs). Run it
# after a build.
#
#   scripts/render-bank.sh [NAME ...]      # every factory program, or only those named
#
# The renders play the bank as it ships: the renderer runs with a home of its own, so the
# user's program database is neither read nor written.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
renderer="$root/build/tools/quenby-render/quenby-render"
bank="$root/presets/Factory.xml"
output="$root/build/bank"

if [[ ! -x "$renderer" ]]; then
    echo "render-bank.sh: build first ($renderer is missing)" >&2
    exit 1
fi

home="$(mktemp -d)"
trap 'rm -rf "$home"' EXIT
export HOME="$home" XDG_CONFIG_HOME="$home/.config"
mkdir -p "$output"

# Name and category of each program, one "name<TAB>category" line each, in bank order.
programs="$(tr -d '\r' < "$bank" | tr '\n' ' ' | sed 's/<PROGRAM /\n/g' | sed -n 's/.* Name="\([^"]*\)".* Category="\([^"]*\)".*/\1\t\2/p' \
            | sed 's/&amp;/\&/g; s/&quot;/"/g; s/&lt;/</g; s/&gt;/>/g; s/&apos;/'"'"'/g')"

table="$home/table.tsv"
: > "$table"

while IFS=$'\t' read -r name category; do
    if [[ $# -gt 0 ]]; then
        wanted=false
        for only in "$@"; do [[ "$only" == "$name" ]] && wanted=true; done
        $wanted || continue
    fi

    summary="$("$renderer" --program "$name" --phrase audition "$output/$name.wav")"
    # The speed of the best of three runs, as a benchmark takes it: other work on the
    # machine only ever slows a run down.
    factor=0
    for run in 1 2 3; do
        held="$("$renderer" --program "$name" --phrase held16 "$home/held.wav")"
        factor="$(awk -v best="$factor" -v this="$(sed -n 's/.*; \([0-9.]*\)x real time.*/\1/p' <<< "$held")" 'BEGIN { print (this + 0 > best + 0) ? this : best }')"
    done

    # "...; peak -3.1 dBFS | -3.4 dBFS; RMS -18.0 dBFS; 95.3x real time"
    peak="$(sed -n 's/.*; peak \([^;]*\);.*/\1/p' <<< "$summary" | tr '|' '\n' | sed 's/ dBFS//; s/ //g; s/silent/-inf/' | sort -g | tail -1)"
    rms="$(sed -n 's/.*; RMS \(-\{0,1\}[0-9.]*\) dBFS;.*/\1/p' <<< "$summary")"
    printf '%s\t%s\t%s\t%s\t%s\n' "$name" "$category" "${peak:--inf}" "${rms:--inf}" "${factor:-0}" >> "$table"
done <<< "$programs"

awk -F '\t' '
    { name[NR] = $1; category[NR] = $2; peak[NR] = $3; rms[NR] = $4; factor[NR] = $5; count[$2]++
      if (!($2 in order)) { order[$2] = ++categories; categoryName[categories] = $2 } }
    END {
        printf "%-24s  %-20s  %9s  %9s  %13s\n", "name", "category", "peak dBFS", "RMS dBFS", "x real time 16"
        for (i = 1; i <= NR; ++i)
            printf "%-24s  %-20s  %9.1f  %9.1f  %13.1f\n", name[i], category[i], peak[i], rms[i], factor[i]

        if (NR == 0) exit
        n = 0
        for (i = 1; i <= NR; ++i) sorted[++n] = rms[i]
        for (i = 1; i <= n; ++i) for (j = i + 1; j <= n; ++j) if (sorted[j] < sorted[i]) { t = sorted[i]; sorted[i] = sorted[j]; sorted[j] = t }
        median = n % 2 ? sorted[(n + 1) / 2] : (sorted[n / 2] + sorted[n / 2 + 1]) / 2
        lowPeak = highPeak = peak[1]; lowRms = highRms = rms[1]; slowest = 1
        for (i = 1; i <= NR; ++i) {
            if (peak[i] < lowPeak) lowPeak = peak[i]; if (peak[i] > highPeak) highPeak = peak[i]
            if (rms[i] < lowRms) lowRms = rms[i]; if (rms[i] > highRms) highRms = rms[i]
            if (factor[i] < factor[slowest]) slowest = i
        }
        printf "\n%d programs:", NR
        for (c = 1; c <= categories; ++c) printf "%s %s %d", (c > 1 ? "," : ""), categoryName[c], count[categoryName[c]]
        printf "\npeak %.1f ... %.1f dBFS; RMS %.1f ... %.1f dBFS, median %.1f (%+.1f ... %+.1f dB)\n", lowPeak, highPeak, lowRms, highRms, median, lowRms - median, highRms - median
        printf "slowest with 16 notes held: %s, %.1fx real time\n", name[slowest], factor[slowest]
    }' "$table"

echo "The renders are in $output"
