#!/usr/bin/env bash
# Sets up a fresh Debian 12 machine, builds the program and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/setup.sh
bash tools/build.sh

program="${IMU_BUILD_DIR:-build}/app/orvanta"
if [ -x "$program" ]; then
    exec "$program"
fi
echo "Built the engine and its tests; the main window is not part of this build yet, so there is nothing to start."
