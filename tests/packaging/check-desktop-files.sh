#!/usr/bin/env bash
# The menu entry and the AppStream data of the standalone app are valid, and the manual
# pages format without a warning.
#   check-desktop-files.sh DESKTOP_DIR MANUAL_PAGE...
set -euo pipefail
desktop="$1"
shift

desktop-file-validate "$desktop"/*.desktop
# No network here: the data names no web address for it to check.
appstreamcli validate --no-net "$desktop"/*.metainfo.xml

for page in "$@"; do
    warnings="$(LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 man --warnings -E UTF-8 -l "$page" 2>&1 >/dev/null)"
    [ -z "$warnings" ] || { echo "$page: $warnings"; exit 1; }
done

echo "menu entry, AppStream data and manual pages ($*) are valid"
