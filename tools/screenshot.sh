#!/usr/bin/env bash
# Starts the program on a virtual X display and saves a picture of its main window.
# Usage: bash tools/screenshot.sh [OUTPUT.png]   (default: build/screenshot-mainwindow.png)
# Builds first (incrementally) and installs ImageMagick and xwininfo when missing.
set -euo pipefail
cd "$(dirname "$0")/.."

build_dir="${IMU_BUILD_DIR:-build}"
output="$(realpath -m "${1:-$build_dir/screenshot-mainwindow.png}")"
program="$build_dir/app/orvanta"

bash tools/setup.sh
bash tools/apt-install.sh imagemagick x11-utils
bash tools/build.sh
mkdir -p "$(dirname "$output")"

# Runs on the virtual display: start the program, wait for its window to be
# mapped and painted, grab the window, end the program.
# shellcheck disable=SC2016
capture='
program="$1"; output="$2"; window=""
"$program" >/dev/null 2>&1 &
pid=$!
for _ in $(seq 1 100); do
    window="$(xwininfo -root -tree 2>/dev/null | awk "/\"Orvanta\"/ { print \$1; exit }")"
    [ -n "$window" ] && break
    sleep 0.1
done
if [ -z "$window" ]; then
    kill "$pid" 2>/dev/null || true
    echo "The main window did not appear." >&2
    exit 1
fi
sleep 1.5
import -window "$window" "$output"
kill "$pid"
wait "$pid" 2>/dev/null || true
'

xvfb-run --auto-servernum --server-args="-screen 0 1280x900x24" bash -c "$capture" capture "$program" "$output"
echo "Screenshot: $output"
