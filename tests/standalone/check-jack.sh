#!/usr/bin/env bash
# The standalone app on JACK, run under xvfb-run with the app's settings choosing JACK, as a
# musician leaves them after picking JACK in the app's audio settings:
#   check-jack.sh APP ports      a JACK server runs (the dummy driver, no sound card): the
#                                app joins it with its two outputs connected to the playback
#   check-jack.sh APP no-server  no JACK server runs: the app still opens its window
# Each run has a JACK server name of its own, so checks running side by side never meet.
# Exits with 77 (skipped) when jackd itself cannot start here.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/app.sh"
mode="$2"

export JACK_DEFAULT_SERVER="quenby-check-$$"
export JACK_NO_AUDIO_RESERVATION=1

cat > "$home/.config/Quenby.settings" <<SETTINGS
<?xml version="1.0" encoding="UTF-8"?>
<PROPERTIES>
  <VALUE name="audioSetup">
    <DEVICESETUP deviceType="JACK" audioOutputDeviceName="system" audioInputDeviceName="system"/>
  </VALUE>
</PROPERTIES>
SETTINGS

if [ "$mode" = "no-server" ]; then
    start_app
    read -r width height < <(wait_for_window)
    sleep 1
    kill -0 "$pid" 2>/dev/null || { echo "the app ended without a JACK server" >&2; cat "$home/app.log" >&2; exit 1; }
    echo "without a JACK server the app runs, its window ${width} x ${height}"
    exit 0
fi

jackd --no-realtime -d dummy -r 48000 -p 512 >"$home/jackd.log" 2>&1 &
jackPid=$!
on_exit='kill "$jackPid" 2>/dev/null || true; wait "$jackPid" 2>/dev/null || true'

for _ in $(seq 1 50); do
    jack_lsp >/dev/null 2>&1 && break
    kill -0 "$jackPid" 2>/dev/null || { echo "jackd cannot start here:" >&2; cat "$home/jackd.log" >&2; exit 77; }
    sleep 0.2
done

jack_lsp >/dev/null 2>&1 || { echo "jackd did not answer within 10 seconds" >&2; exit 77; }

start_app
wait_for_window >/dev/null

for _ in $(seq 1 50); do
    ports="$(jack_lsp -c 2>/dev/null || true)"

    # jack_lsp -c lists each port with its connections indented below it.
    if grep -A1 -x 'Quenby:out_1' <<<"$ports" | grep -q 'system:playback_1' \
       && grep -A1 -x 'Quenby:out_2' <<<"$ports" | grep -q 'system:playback_2'; then
        echo "the app's JACK outputs play into the server:"
        grep -A1 '^Quenby:' <<<"$ports"
        exit 0
    fi

    sleep 0.2
done

echo "the app's outputs Quenby:out_1 and Quenby:out_2 did not appear connected to the playback; the server has:" >&2
jack_lsp -c >&2 || true
cat "$home/app.log" >&2
exit 1
