#!/usr/bin/env bash
# Configures and builds everything (plug-ins, renderer, tests, benchmarks) into build/.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"

"$root/scripts/install-deps.sh"

# Paths below the checkout hash the same wherever it lies, so ccache serves every clone.
export CCACHE_BASEDIR="$root"

cmake -S "$root" -B "$root/build" -G Ninja -DCMAKE_BUILD_TYPE=Release "$@"
cmake --build "$root/build" --parallel "$(nproc)"
