#!/usr/bin/env bash
# Starts the main window on a virtual X display against the device double of the
# tests, streaming a smooth EM3000 motion, with the chart window and both
# instruments open, and saves a picture of the screen once the charts have filled.
# Usage: bash tools/screenshot-live.sh [OUTPUT.png]   (default: build/screenshot-live.png)
# The README's picture is renewed with: bash tools/screenshot-live.sh docs/images/serial-road.png
# Builds first (incrementally); the device double and the driver come from the
# serial-road benchmark (tests/bench/bench_serial_road.cpp, --screenshot).
set -euo pipefail
cd "$(dirname "$0")/.."

build_dir="${IMU_BUILD_DIR:-build}"
output="$(realpath -m "${1:-$build_dir/screenshot-live.png}")"

bash tools/setup.sh
bash tools/build.sh
mkdir -p "$(dirname "$output")"

QT_QPA_PLATFORM=xcb xvfb-run --auto-servernum --server-args="-screen 0 2400x1600x24" \
    "$build_dir/tests/bench/bench_serial_road" --screenshot "$output" 2>/dev/null
echo "Screenshot: $output"
