#!/usr/bin/env bash
# Installs the Debian packages the build, the program and the tests need, and
# any further packages named as arguments (CI's fuzz step asks for clang).
# Runs apt-get only when something is missing, so a second run costs nothing.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(
    cmake g++ ninja-build
    qt6-base-dev qt6-serialport-dev qt6-charts-dev libqt6opengl6-dev
    libqcustomplot-dev fonts-open-sans xvfb
    "$@"
)

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$package")
    fi
done

if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    SUDO=""
    [ "$(id -u)" -eq 0 ] || SUDO="sudo"
    export DEBIAN_FRONTEND=noninteractive
    $SUDO apt-get update -q
    $SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

bash tools/fetch-fonts.sh "$(bash tools/font-cache.sh)"
