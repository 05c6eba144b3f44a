#!/usr/bin/env bash
# Builds the fuzz targets with clang, AddressSanitizer and UndefinedBehaviorSanitizer, and runs
# each for SECONDS (default 60). Usage: fuzz/run.sh [SECONDS]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
flags="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined -g -O1"
cmake -S . -B build-fuzz -DCMAKE_CXX_COMPILER=clang++ -DKT730_BUILD_FUZZ=ON -DKT730_BUILD_SIM=OFF \
  -DKT730_BUILD_TESTS=OFF -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS="$flags" \
  -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" >/dev/null
cmake --build build-fuzz -j"$(nproc)" --target fuzz_hex_input fuzz_number_text fuzz_replies
for target in fuzz_hex_input fuzz_number_text fuzz_replies; do
  mkdir -p "build-fuzz/corpus/$target"
  echo "== $target ($seconds s)"
  ASAN_OPTIONS=detect_leaks=0 "build-fuzz/fuzz/$target" -max_total_time="$seconds" -max_len=600 \
    "build-fuzz/corpus/$target" 2>&1 | tail -n 2
done
