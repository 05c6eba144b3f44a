#!/usr/bin/env bash
# Builds and runs every test: unit, window (offscreen), simulator and end-to-end.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh
export QT_QPA_PLATFORM=offscreen
ctest --test-dir build --output-on-failure -j"$(nproc)" "$@"
