#!/usr/bin/env bash
# Configures the project against a JUCE that calls itself 7.0.6 (the installed JUCE under
# another version number): configuring stops and says which version is needed and why,
# unless QUENBY_ALLOW_OTHER_JUCE is on, when it goes on with a warning.
#   check-juce-version.sh SOURCE_DIR JUCE_CONFIG_DIR
set -euo pipefail
source="$1"
juceDir="$2"

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
mkdir "$work/juce"
printf 'set (PACKAGE_VERSION 7.0.6)\nset (PACKAGE_VERSION_COMPATIBLE TRUE)\n' >"$work/juce/JUCEConfigVersion.cmake"
printf 'include ("%s/JUCEConfig.cmake")\n' "$juceDir" >"$work/juce/JUCEConfig.cmake"

configure() {
    cmake -S "$source" -B "$work/$1" -G Ninja -DJUCE_DIR="$work/juce" \
          -DQUENBY_BUILD_TESTS=OFF -DQUENBY_BUILD_BENCHMARKS=OFF "${@:2}" >"$work/$1.log" 2>&1
}

if configure stopped; then
    echo "configuring against JUCE 7.0.6 did not stop"
    exit 1
fi

grep -q 'Quenby needs JUCE 7.0.5' "$work/stopped.log" && grep -q 'found JUCE 7.0.6' "$work/stopped.log" \
    && grep -q 'reference renders' "$work/stopped.log" \
    || { echo "configuring stopped without saying which JUCE it needs and why:"; cat "$work/stopped.log"; exit 1; }

configure allowed -DQUENBY_ALLOW_OTHER_JUCE=ON \
    || { echo "QUENBY_ALLOW_OTHER_JUCE=ON did not go on:"; cat "$work/allowed.log"; exit 1; }

grep -q 'CMake Warning' "$work/allowed.log" && grep -q 'Quenby needs JUCE 7.0.5' "$work/allowed.log" \
    || { echo "QUENBY_ALLOW_OTHER_JUCE=ON went on without a warning:"; cat "$work/allowed.log"; exit 1; }

echo "JUCE 7.0.6 stops the configuration; with QUENBY_ALLOW_OTHER_JUCE=ON it goes on with a warning:"
grep -A3 'CMake Warning' "$work/allowed.log" | head -n 4
