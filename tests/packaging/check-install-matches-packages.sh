#!/usr/bin/env bash
# debian/ and the install rules agree: every file that cmake --install puts out (with the
# prefix the package build uses) goes into exactly one binary package by the lists in
# debian/*.install, and every line of those lists takes at least one file.
#   check-install-matches-packages.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build="$(cd "$1" && pwd)"
source="$(cd "$2" && pwd)"

stage="$(mktemp -d)"
trap 'rm -rf "$stage"' EXIT
DESTDIR="$stage/root" cmake --install "$build" --prefix /usr >/dev/null

cd "$stage/root"
find . \( -type f -o -type l \) | sed 's#^\./##' | sort >"$stage/installed"
: >"$stage/claimed"
failed=0
shopt -s nullglob

for list in "$source"/debian/*.install; do
    package="$(basename "$list" .install)"

    # A line is a pattern below the staging folder, then an optional destination.
    while read -r pattern _; do
        case "$pattern" in ''|'#'*) continue ;; esac
        matches=()
        for match in $pattern; do
            if [ -e "$match" ] || [ -L "$match" ]; then
                matches+=("$match")
            fi
        done

        if [ ${#matches[@]} -eq 0 ]; then
            echo "debian/$package.install: $pattern takes no installed file"
            failed=1
        fi

        for match in "${matches[@]}"; do
            find "$match" \( -type f -o -type l \) | sed "s#\$# $package#" >>"$stage/claimed"
        done
    done <"$list"
done

while read -r file; do
    packages="$(awk -v f="$file" '$1 == f { print $2 }' "$stage/claimed" | sort -u | tr '\n' ' ')"

    case "$(wc -w <<<"$packages")" in
        1) ;;
        0) echo "/$file is installed but in no package"; failed=1 ;;
        *) echo "/$file is in more than one package: $packages"; failed=1 ;;
    esac
done <"$stage/installed"

if [ "$failed" -ne 0 ]; then
    exit 1
fi

echo "$(wc -l <"$stage/installed") installed files, each in one package:"
sort -k2 -k1 "$stage/claimed" | awk '{ print "  " $2 ": /" $1 }'
