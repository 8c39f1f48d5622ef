#!/usr/bin/env bash
# Builds the BMP loader's fuzzer (clang, AddressSanitizer + UndefinedBehaviorSanitizer) and
# runs it for a bounded time, seeded with the real-file pictures and the kept inputs.
#   fuzz/run.sh [SECONDS]    default 60
# A finding stops the run with a non-zero exit and leaves its input in build/fuzz/findings/;
# once it is fixed, keep the input in fuzz/regressions/ so the test suite replays it.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"

cmake --preset fuzz
cmake --build --preset fuzz -j "$(nproc)"

convert=/usr/bin/convert
[ -x "$convert" ] || convert=$(command -v convert)
rm -rf build/fuzz/seeds build/fuzz/findings
mkdir -p build/fuzz/corpus build/fuzz/findings
/usr/bin/python3 tests/files/make_real_files.py --convert "$convert" build/fuzz/seeds

# New inputs go to the first folder, which is kept between runs on this machine. A single
# input that runs over 10 s counts as a hang; 1.1 MB holds the largest seed.
build/fuzz/fuzz/bmp_load_fuzzer build/fuzz/corpus build/fuzz/seeds fuzz/regressions \
    -max_total_time="$seconds" -timeout=10 -max_len=1100000 \
    -artifact_prefix=build/fuzz/findings/ -print_final_stats=1
