#!/usr/bin/env bash
# Builds the fuzz targets with clang (skipped when clang is missing), writes
# their seed corpus and gives each target a short run. Run length per target in
# seconds from IMU_FUZZ_SECONDS (default 20). Prints the runs each target made.
# An input that crashes a target is saved under the build folder's artifacts/.
set -euo pipefail
cd "$(dirname "$0")/.."

if ! command -v clang++ >/dev/null; then
    echo "clang++ not found: fuzz targets skipped"
    exit 0
fi

build_dir="${IMU_FUZZ_BUILD_DIR:-build-fuzz}"
seconds="${IMU_FUZZ_SECONDS:-20}"
cmake -S tests/fuzz -B "$build_dir" -G Ninja -DCMAKE_CXX_COMPILER=clang++ >/dev/null
cmake --build "$build_dir" --parallel "$(nproc)"

corpus="$build_dir/corpus"
rm -rf "$corpus"
"$build_dir/fuzz_seeds" "$corpus"
artifacts="$build_dir/artifacts"
mkdir -p "$artifacts"

export ASAN_OPTIONS="halt_on_error=1:abort_on_error=1:detect_leaks=0"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
export QT_LOGGING_RULES="*.debug=false"
for target in fuzz_settings_answer fuzz_output_datagram fuzz_serial_framing fuzz_answer_parser fuzz_output_decoder; do
    log="$build_dir/$target.log"
    if ! "$build_dir/$target" -max_total_time="$seconds" -max_len=4096 -artifact_prefix="$artifacts/$target-" \
        "$corpus/$target" >"$log" 2>&1; then
        tail -n 40 "$log"
        echo "$target: finding, see $log and the input in $artifacts"
        exit 1
    fi
    echo "$target: $(grep -Eo 'Done [0-9]+ runs' "$log" | tail -n 1) without a finding"
done
