#!/usr/bin/env bash
# Puts the Source Code Pro TrueType faces into the font cache that the build compiles
# into the program. They come from the pinned npm registry package (SIL OFL 1.1);
# Open Sans comes from Debian's fonts-open-sans package.
set -euo pipefail

version="2.42.0"
cache="${1:?usage: fetch-fonts.sh CACHE_DIR}"
target="$cache/source-code-pro-$version"

if compgen -G "$target/TTF/*.ttf" >/dev/null; then
    exit 0
fi

if ! command -v npm >/dev/null 2>&1; then
    SUDO=""
    [ "$(id -u)" -eq 0 ] || SUDO="sudo"
    export DEBIAN_FRONTEND=noninteractive
    $SUDO apt-get update -q
    $SUDO apt-get install -y -q --no-install-recommends npm ca-certificates
fi

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
if ! (cd "$work" && npm pack --silent "source-code-pro@$version" >/dev/null); then
    echo "Could not fetch source-code-pro@$version from the npm registry (see npm's message above)." >&2
    exit 1
fi
tar -xzf "$work/source-code-pro-$version.tgz" -C "$work" package/TTF package/LICENSE.md
mkdir -p "$target"
rm -rf "$target/TTF"
cp -r "$work/package/TTF" "$work/package/LICENSE.md" "$target/"
echo "Fonts: Source Code Pro $version in $target"
