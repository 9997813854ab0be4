# Sourced by the standalone app's checks (run under xvfb-run): starts the app with a home of
# its own, so its settings and program database go to a temporary folder, and waits for its
# window. A check may set on_exit to a command of its own cleaning up.
app="$1"
home="$(mktemp -d)"
mkdir -p "$home/.config"
pid=""
on_exit=""

finish() {
    if [ -n "$pid" ]; then
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    fi

    if [ -n "$on_exit" ]; then
        eval "$on_exit"
    fi

    rm -rf "$home"
}
trap finish EXIT

start_app() {
    HOME="$home" XDG_CONFIG_HOME="$home/.config" "$app" >"$home/app.log" 2>&1 &
    pid=$!
}

# Waits up to 20 seconds for the app's window to hold the 820 x 640 editor (the window opens
# smaller, while the app starts its audio) and prints its size ("822 668"); fails when the app
# ends first or the window does not grow to that size.
wait_for_window() {
    local seen="no window"

    for _ in $(seq 1 100); do
        # A line such as: 0x200006 "Quenby": ("Quenby" "Quenby")  822x668+229+116  +229+116
        if size="$(xwininfo -root -tree | grep '"Quenby": (' | grep -oE '[0-9]+x[0-9]+\+' | sort -t x -k1,1nr | head -n1)" \
           && [ -n "$size" ]; then
            width="${size%%x*}"
            height="${size#*x}"; height="${height%+}"
            seen="a window of ${width} x ${height}"

            if [ "$width" -ge 820 ] && [ "$height" -ge 640 ]; then
                echo "$width $height"
                return 0
            fi
        fi

        kill -0 "$pid" 2>/dev/null || { echo "the app ended before its window opened" >&2; cat "$home/app.log" >&2; return 1; }
        sleep 0.2
    done

    echo "after 20 seconds the standalone app shows $seen, not the 820 x 640 editor" >&2
    return 1
}
