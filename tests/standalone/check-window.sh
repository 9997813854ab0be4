#!/usr/bin/env bash
# Starts the standalone app on the X display it is given (run it under xvfb-run), waits for
# its window and checks that the window holds the 820 x 640 editor.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/app.sh"

start_app
read -r width height < <(wait_for_window)
echo "standalone window ${width} x ${height}"
