#!/usr/bin/env bash
# Installs what is needed, builds everything and renders the demo song to a WAV file with a
# factory program.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

"$root/scripts/build.sh"

output="$root/build/demo.wav"
"$root/build/tools/quenby-render/quenby-render" --program "Dream Keys" "$root/demo/demo.mid" "$output"
echo "The demo is rendered to $output"
