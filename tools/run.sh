#!/usr/bin/env bash
# Sets up a fresh Debian 12 machine, builds the program and starts it.
# Without a display it stops at once and says how to start it on a virtual one.
set -euo pipefail
cd "$(dirname "$0")/.."

# Qt platforms that draw without an X or Wayland display.
case "${QT_QPA_PLATFORM:-}" in
    offscreen* | minimal* | linuxfb* | eglfs* | vnc* | vkkhrdisplay*) headless_platform=yes ;;
    *) headless_platform=no ;;
esac
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ "$headless_platform" = no ]; then
    start="xvfb-run -a bash tools/run.sh"
    command -v xvfb-run >/dev/null || start="bash tools/setup.sh && $start"
    echo "No display to show the window on (DISPLAY and WAYLAND_DISPLAY are unset); start it on a virtual display: $start" >&2
    exit 1
fi

bash tools/setup.sh
bash tools/build.sh

exec "${IMU_BUILD_DIR:-build}/app/orvanta"
