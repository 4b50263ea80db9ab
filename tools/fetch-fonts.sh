#!/usr/bin/env bash
# Puts the Source Code Pro TrueType faces into the font cache that the build compiles
# into the program. They come from the pinned npm registry package (SIL OFL 1.1);
# Open Sans comes from Debian's fonts-open-sans package.
# Usage: bash tools/fetch-fonts.sh           fetch the faces unless they are there
#        bash tools/fetch-fonts.sh --folder  print the folder of the faces (for the build)
set -euo pipefail
cd "$(dirname "$0")/.."

version="2.42.0"
cache="${XDG_CACHE_HOME:-${HOME:-/tmp}/.cache}/orvanta-fonts"
target="$cache/source-code-pro-$version"

if [ "${1:-}" = "--folder" ]; then
    echo "$target/TTF"
    exit 0
fi

if compgen -G "$target/TTF/*.ttf" >/dev/null; then
    exit 0
fi

if ! command -v npm >/dev/null 2>&1; then
    bash tools/apt-install.sh npm ca-certificates
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
