#!/usr/bin/env bash
# What a program database of 10 000 and 50 000 programs adds to whole processes, against an
# empty one (a database with one program), in one run: creating a VST3 instance as a DAW
# does (quenby_hostbench) and quenby-render --list-programs, each the best of RUNS, with the
# process's peak memory. Databases are written in temporary homes, never the user's.
#   bench/database-scaling.sh [RUNS, default 3]
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$root/build"
runs="${1:-3}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

for n in 1 10000 50000; do
    "$build/bench/quenby_database_bench" --write-database "$n" "$work/$n"
    mkdir -p "$work/$n/.lv2"
done

best() {    # the fastest of the runs' "seconds megabytes" lines
    sort -n | head -n 1 | awk '{ printf "%.3f s, %.1f MB", $1, $2 }'
}

instance() {    # the time to create the instance, as quenby_hostbench measures it, and the process's peak memory
    for _ in $(seq "$runs"); do
        HOME="$1" XDG_CONFIG_HOME="$1/.config" "$build/tests/host/quenby_hostbench" vst3 | awk '{ print $5, $9 }'
    done | best
}

listing() {    # the whole quenby-render --list-programs process and its peak memory
    for _ in $(seq "$runs"); do
        HOME="$1" XDG_CONFIG_HOME="$1/.config" /usr/bin/time -f "%e %M" "$build/tools/quenby-render/quenby-render" --list-programs 2>&1 >/dev/null \
            | tail -n 1 | awk '{ print $1, $2 / 1024 }'
    done | best
}

echo "CPU: $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ *//')"
printf '%-9s %-9s %-28s %s\n' programs file "VST3 instance, peak memory" "--list-programs, peak memory"

for n in 1 10000 50000; do
    size="$(du -m "$work/$n/.config/VelmoraDatabase.xml" | cut -f1) MB"
    printf '%-9s %-9s %-28s %s\n' "$n" "$size" "$(instance "$work/$n")" "$(listing "$work/$n")"
done
