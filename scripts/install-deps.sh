#!/usr/bin/env bash
# Installs what Quenby needs to build and test on Debian 12; does nothing when all is there.
set -euo pipefail

packages=(
    g++ cmake ninja-build ccache pkg-config
    juce-modules-source juce-tools fst-dev
    # JACK's headers for the standalone app (the library itself is opened when it runs)
    libjack-jackd2-dev
    # the app icon's PNG sizes, rendered from its SVG
    librsvg2-bin
    libgtest-dev libgmock-dev libbenchmark-dev
    clang libclang-rt-14-dev llvm
    # the editor's fixed-pitch and heavy faces
    fonts-dejavu-core
    # a virtual display for the standalone app's window check, and screenshots of it
    xvfb xauth x11-utils imagemagick
    # clicks into the standalone app's window under Xvfb
    xdotool
    # a JACK server with its dummy driver and jack_lsp, for the app's JACK ports
    jackd2
    # checks of the LV2 data (lv2_validate, with sord_validate), and as LV2 hosts see it
    lv2-dev sordi lilv-utils
    # checks of the menu entry and the AppStream data
    desktop-file-utils appstream
)

missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done

if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

echo "Installing: ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then
    sudo="sudo"
fi

export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -q
$sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
