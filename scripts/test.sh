#!/usr/bin/env bash
# Builds everything and runs every test (core tests, the window tests offscreen, the
# command-line tool). It reuses what scripts/run-demo.sh built. Arguments are passed to cmake:
# .ci/run adds warnings as errors and the benchmarks.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh "$@"
export QT_QPA_PLATFORM=offscreen
ctest --test-dir build --output-on-failure -j "$(nproc)"
