#!/usr/bin/env bash
# Installs what is needed, builds everything and runs every test: the plain suite, the
# sanitized suites and the fuzz targets.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

"$root/scripts/build.sh"

(cd "$root/build" && ctest --output-on-failure --parallel "$(nproc)" --timeout 600)

"$root/scripts/sanitize.sh"
"$root/scripts/fuzz.sh" 60
