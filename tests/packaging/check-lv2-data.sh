#!/usr/bin/env bash
# The LV2 bundle as built: lv2_validate finds no error in its data, and lilv, the library
# LV2 hosts load plug-ins with, finds the plug-in by its URI with its audio and event ports.
#   check-lv2-data.sh BUNDLE_DIR URI
set -euo pipefail
bundle="$1"
uri="$2"

report="$(lv2_validate "$bundle"/*.ttl 2>&1)" || { echo "$report"; exit 1; }
verdict="$(grep 'Found [0-9]* errors' <<<"$report")"
echo "lv2_validate: $verdict"
grep -q '^Found 0 errors' <<<"$verdict" || { echo "$report"; exit 1; }

export LV2_PATH="$(dirname "$bundle")"
lv2ls | grep -qx "$uri" || { echo "lv2ls does not list $uri:"; lv2ls; exit 1; }

info="$(lv2info "$uri")"
for symbol in audio_out_1 audio_out_2 in out; do
    grep -q "Symbol: *$symbol\$" <<<"$info" || { echo "lv2info shows no port $symbol:"; echo "$info"; exit 1; }
done

echo "lv2ls and lv2info find $uri with its ports"
