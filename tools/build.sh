#!/usr/bin/env bash
# Configures and builds into ${IMU_BUILD_DIR:-build}; extra CMake arguments come from IMU_CMAKE_ARGS.
set -euo pipefail
cd "$(dirname "$0")/.."

build_dir="${IMU_BUILD_DIR:-build}"
# shellcheck disable=SC2086
cmake -S . -B "$build_dir" -G Ninja -DIMU_SOURCE_CODE_PRO_DIR="$(bash tools/fetch-fonts.sh --folder)" ${IMU_CMAKE_ARGS:-} >/dev/null
cmake --build "$build_dir" --parallel "$(nproc)"
