#!/usr/bin/env bash
# Builds Quillon and runs every test (core tests, then the window tests offscreen).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh
export QT_QPA_PLATFORM=offscreen
ctest --test-dir build --output-on-failure -j "$(nproc)"
