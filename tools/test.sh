#!/usr/bin/env bash
# Sets up a fresh Debian 12 machine, builds everything and runs every test offscreen.
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/setup.sh
bash tools/build.sh

export QT_QPA_PLATFORM=offscreen
ctest --test-dir "${IMU_BUILD_DIR:-build}" --no-tests=error --output-on-failure --parallel "$(nproc)"
