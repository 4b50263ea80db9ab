#!/usr/bin/env bash
# Installs the Debian packages the build, the program and the tests need, and
# fetches the one font Debian does not carry. A second run costs nothing.
set -euo pipefail
cd "$(dirname "$0")/.."

# xauth is only recommended by xvfb, and xvfb-run cannot start without it.
# iproute2 sets up the network namespaces of the Ethernet tests.
bash tools/apt-install.sh \
    cmake g++ ninja-build \
    qt6-base-dev qt6-serialport-dev qt6-charts-dev libqt6opengl6-dev \
    libqcustomplot-dev fonts-open-sans xvfb xauth iproute2

bash tools/fetch-fonts.sh
