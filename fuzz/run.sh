#!/usr/bin/env bash
# Builds the fuzzers (clang, AddressSanitizer + UndefinedBehaviorSanitizer) and runs each for
# a third of a bounded time: the BMP reader seeded with the real-file pictures and the kept
# inputs, the import of every format seeded with small pictures of each, the Zantrel file
# decoder seeded with real encoded files (fuzz/ztl-seeds).
#   fuzz/run.sh [SECONDS]    default 60, in all
# A finding stops the run with a non-zero exit and leaves its input in build/fuzz/findings/;
# once it is fixed, keep the input in fuzz/regressions/ so the test suite replays it.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"
third=$((seconds / 3))

cmake --preset fuzz
cmake --build --preset fuzz -j "$(nproc)"

convert=/usr/bin/convert
[ -x "$convert" ] || convert=$(command -v convert)
rm -rf build/fuzz/seeds build/fuzz/import-seeds build/fuzz/findings
mkdir -p build/fuzz/corpus build/fuzz/import-corpus build/fuzz/ztl-corpus build/fuzz/findings
/usr/bin/python3 tests/files/make_real_files.py --convert "$convert" build/fuzz/seeds
/usr/bin/python3 tests/files/make_real_files.py --convert "$convert" --seeds build/fuzz/import-seeds

# New inputs go to the first folder, which is kept between runs on this machine. A single
# input that runs over 10 s counts as a hang; 1.1 MB holds the largest BMP seed.
build/fuzz/fuzz/bmp_load_fuzzer build/fuzz/corpus build/fuzz/seeds fuzz/regressions \
    -max_total_time="$third" -timeout=10 -max_len=1100000 \
    -artifact_prefix=build/fuzz/findings/ -print_final_stats=1
build/fuzz/fuzz/import_fuzzer build/fuzz/import-corpus build/fuzz/import-seeds fuzz/regressions \
    -max_total_time="$third" -timeout=10 -max_len=65536 \
    -artifact_prefix=build/fuzz/findings/ -print_final_stats=1
build/fuzz/fuzz/ztl_decode_fuzzer build/fuzz/ztl-corpus fuzz/ztl-seeds fuzz/regressions \
    -max_total_time="$((seconds - 2 * third))" -timeout=10 -max_len=65536 \
    -artifact_prefix=build/fuzz/findings/ -print_final_stats=1
