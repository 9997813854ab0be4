#!/usr/bin/env bash
# Starts the standalone app on the X display it is given (run it under xvfb-run), waits for
# its window and checks that the window holds the 820 x 640 editor. The app's settings and
# program database go to a temporary home.
set -euo pipefail
app="$1"

home="$(mktemp -d)"
trap 'kill "$pid" 2>/dev/null || true; wait "$pid" 2>/dev/null || true; rm -rf "$home"' EXIT

HOME="$home" XDG_CONFIG_HOME="$home/.config" "$app" >"$home/app.log" 2>&1 &
pid=$!

# The window exists at a first small size before the editor sizes it: the check waits for it.
seen=""

for _ in $(seq 1 100); do
    # A line such as: 0x200006 "Quenby": ("Quenby" "Quenby")  822x668+229+116  +229+116
    if size="$(xwininfo -root -tree | grep -m1 '"Quenby": (' | grep -oE '[0-9]+x[0-9]+\+' | head -n1)"; then
        width="${size%%x*}"
        height="${size#*x}"; height="${height%+}"
        seen="${width} x ${height}"

        if [ "$width" -ge 820 ] && [ "$height" -ge 640 ]; then
            echo "standalone window ${width} x ${height}"
            exit 0
        fi
    fi

    kill -0 "$pid" 2>/dev/null || { echo "the app ended before its window opened" >&2; cat "$home/app.log" >&2; exit 1; }
    sleep 0.2
done

if [ -n "$seen" ]; then
    echo "standalone window too small after 20 seconds: $seen" >&2
else
    echo "no standalone window after 20 seconds" >&2
fi
exit 1
