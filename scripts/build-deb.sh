#!/usr/bin/env bash
# Builds Quenby's Debian binary packages from this checkout, as a packager does: installs the
# build dependencies that debian/control names, runs dpkg-buildpackage -us -uc -b (which
# builds everything in obj-<triplet>/ and runs the plain test suite; DEB_BUILD_OPTIONS=nocheck
# leaves the tests out), checks the packages with lintian and puts them into build-deb/.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"

sudo=""
if [ "$(id -u)" -ne 0 ]; then
    sudo="sudo"
fi

profiles=()
if [[ " ${DEB_BUILD_OPTIONS:-} " == *" nocheck "* ]]; then
    profiles=(-Pnocheck)
fi

export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -q
$sudo apt-get install -y -q --no-install-recommends dpkg-dev debhelper lintian
$sudo apt-get build-dep -y -q --no-install-recommends "${profiles[@]}" "$root"

dpkg-buildpackage -us -uc -b -j"$(nproc)" "${profiles[@]}"

# dpkg-buildpackage leaves its results beside the checkout; the .changes file lists them.
version="$(dpkg-parsechangelog -S Version)"
changes="$root/../quenby_${version}_$(dpkg-architecture -qDEB_HOST_ARCH).changes"
rm -rf "$root/build-deb"
mkdir -p "$root/build-deb"

for file in $(awk '/^Files:/ { files = 1; next } /^[^ ]/ { files = 0 } files { print $5 }' "$changes"); do
    mv "$root/../$file" "$root/build-deb/"
done

mv "$changes" "$root/build-deb/"

echo "== lintian"
lintian --fail-on error --display-info --tag-display-limit 0 "$root/build-deb/"*.changes

echo "== packages"
for deb in "$root/build-deb/"*.deb; do
    echo "$(basename "$deb"):"
    # Files and links, without the folders: "./usr/bin/Quenby", "./usr/share/doc/x -> y".
    dpkg-deb --contents "$deb" | awk '$6 !~ /\/$/ { $1 = $2 = $3 = $4 = $5 = ""; sub (/^ +/, ""); print "  " $0 }'
done
